#pragma once
// The SFTP session as the transfer control and the queue know it: a
// TransferSession, made here so that they need no SFTP header.

#include "connection/transfer_session.h"

#include <memory>

namespace corvexo::sftp {

std::unique_ptr<corvexo::TransferSession> makeSftpSession(QObject *parent = nullptr);

} // namespace corvexo::sftp
