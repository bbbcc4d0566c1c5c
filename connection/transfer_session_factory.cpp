#include "transfer_session_factory.h"

#include "connection/ftp/ftp_session.h"
#include "connection/sftp/sftp_session_factory.h"

namespace corvexo {

TransferSession *makeTransferSession(TransferScheme scheme, QObject *parent)
{
    switch (scheme) {
    case TransferScheme::Sftp: return sftp::makeSftpSession(parent);
    case TransferScheme::Ftp:
    case TransferScheme::Ftpes:
    case TransferScheme::Ftps: break;
    }
    return new ftp::FtpSession(parent);
}

} // namespace corvexo
