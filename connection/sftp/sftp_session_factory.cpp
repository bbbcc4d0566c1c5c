#include "sftp_session_factory.h"

#include "sftp_session.h"

namespace corvexo::sftp {

TransferSession *makeSftpSession(QObject *parent)
{
    return new SftpSession(parent);
}

} // namespace corvexo::sftp
