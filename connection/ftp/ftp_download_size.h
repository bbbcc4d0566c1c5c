#pragma once
// The size a server announces for a file it is about to send, and the texts
// of a download that cannot be kept. A download is complete only when the
// bytes received match an announced size; a server may announce it in a SIZE
// reply, in the size fact of an MLST reply, or as "(N bytes)" in the reply
// that opens the transfer.

#include "ftp_reply.h"

#include <optional>

namespace corvexo::ftp {

// 213 1234
std::optional<qint64> sizeOfSizeReply(const FtpReply &reply);
// 250- Listing ... / " type=file;size=1234; name" / 250 End
std::optional<qint64> sizeOfMlstReply(const FtpReply &reply);
// 150 Opening BINARY mode data connection for name (1234 bytes)
std::optional<qint64> sizeOfOpeningReply(const FtpReply &reply);

// In the user interface's language; both say the older local file was kept.
QString shortDownloadText(const QString &remote, qint64 received, qint64 announced);
QString localWriteFailedText(const QString &localPath, const QString &reason);

} // namespace corvexo::ftp
