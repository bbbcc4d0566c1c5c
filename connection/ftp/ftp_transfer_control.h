#pragma once
// The real transfer control: an FTP client on QTcpSocket, driven by signals on
// the caller's thread.

#include "connection/transfer_control.h"

namespace corvexo {

class FtpTransferControl : public TransferControl {
    Q_OBJECT
public:
    explicit FtpTransferControl(QObject *parent = nullptr);
    ~FtpTransferControl() override;

    void setRequestTimeout(int seconds) override;
    void setProtocol(int protocol) override;
    void setAccessType(int accessType) override;
    void setRemotePort(quint16 port) override;
    void setRemoteHost(const QString &host) override;
    void setUserName(const QString &user) override;
    void setPassword(const QString &password) override;

    int execute(const TransferCommand &command) override;
    void cancel() override;
    bool stillExecuting() const override;
    int responseCode() const override;
    QString responseInfo() const override;
    QByteArray getChunk(int maxBytes) override;
};

} // namespace corvexo
