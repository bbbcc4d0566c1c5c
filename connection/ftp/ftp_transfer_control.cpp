#include "ftp_transfer_control.h"

namespace corvexo {

// TODO(engine): the FTP engine.
FtpTransferControl::FtpTransferControl(QObject *parent) : TransferControl(parent) {}
FtpTransferControl::~FtpTransferControl() = default;
void FtpTransferControl::setRequestTimeout(int) {}
void FtpTransferControl::setProtocol(int) {}
void FtpTransferControl::setAccessType(int) {}
void FtpTransferControl::setRemotePort(quint16) {}
void FtpTransferControl::setRemoteHost(const QString &) {}
void FtpTransferControl::setUserName(const QString &) {}
void FtpTransferControl::setPassword(const QString &) {}
int FtpTransferControl::execute(const TransferCommand &) { return TransferError::CannotConnect; }
void FtpTransferControl::cancel() {}
bool FtpTransferControl::stillExecuting() const { return false; }
int FtpTransferControl::responseCode() const { return 0; }
QString FtpTransferControl::responseInfo() const { return {}; }
QByteArray FtpTransferControl::getChunk(int) { return {}; }

} // namespace corvexo
