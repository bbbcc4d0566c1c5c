#include "sftp_session_factory.h"

#include "sftp_session.h"

namespace corvexo::sftp {

std::unique_ptr<corvexo::TransferSession> makeSftpSession(QObject *parent)
{
    return std::make_unique<SftpSession>(parent);
}

} // namespace corvexo::sftp
