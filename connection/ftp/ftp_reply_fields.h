#pragma once
// The values carried in particular replies: the folder in a PWD reply, the
// port in an EPSV or PASV reply, the features in a FEAT reply.

#include "ftp_reply.h"

#include <QSet>
#include <optional>

namespace corvexo::ftp {

// 257 "path" comment; a quote inside the path is written twice. The path's
// bytes as sent: they are in the server's charset.
std::optional<QByteArray> folderOfPwdReply(const FtpReply &reply);

// 229 Entering Extended Passive Mode (|||port|)
std::optional<quint16> portOfEpsvReply(const FtpReply &reply);

// 227 Entering Passive Mode (h1,h2,h3,h4,p1,p2): only the port is used; the
// address is ignored because a server behind NAT often names one that cannot be reached.
std::optional<quint16> portOfPasvReply(const FtpReply &reply);

// The feature words of a FEAT reply, in upper case ("MLST", "UTF8", "EPSV").
QSet<QString> featuresOfFeatReply(const FtpReply &reply);

} // namespace corvexo::ftp
