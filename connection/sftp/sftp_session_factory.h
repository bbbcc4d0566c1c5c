#pragma once
// Makes the SSH file transfer session. Until it exists, nullptr: the transfer
// control then fails an sftp:// connection with a clear text.

#include <QObject>

namespace corvexo {
class TransferSession;
}

namespace corvexo::sftp {

inline TransferSession *makeSftpSession(QObject *parent)
{
    Q_UNUSED(parent);
    return nullptr;
}

} // namespace corvexo::sftp
