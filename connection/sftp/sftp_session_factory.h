#pragma once
// Makes the SSH file transfer session for the transfer control and the queue,
// so that they need no SFTP header. The session is a child of parent.

#include <QObject>

namespace corvexo {
class TransferSession;
}

namespace corvexo::sftp {

TransferSession *makeSftpSession(QObject *parent = nullptr);

} // namespace corvexo::sftp
