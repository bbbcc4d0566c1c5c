#pragma once
// The real transfer control: an FTP client on QTcpSocket, driven by signals on
// the caller's thread. State changes are delivered from the event loop, never
// from inside execute() or the engine's own socket handling, so a handler may
// call execute() or cancel() at once; the control is idle when state 12, 11 or
// 10 arrives.

#include "connection/transfer_control.h"
#include "ftp_session.h"

#include <functional>

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
    bool stillExecuting() const override { return busy_; }
    int responseCode() const override { return code_; }
    QString responseInfo() const override { return info_; }
    QByteArray getChunk(int maxBytes) override;
    QList<RemoteEntry> listedEntries() const override { return listing_.remoteEntries(); }
    int unreadableEntries() const override { return listing_.unreadable(); }
    TransferProgress progress() const override { return session_.progress(); }
    void stop() override;
    SessionSecurity security() const override { return session_.security(); }
    bool sessionOpen() const override { return session_.isOpenFor(login_); }
    QString currentFolder() const override { return sessionOpen() ? session_.currentFolder() : QString(); }
    void answerCertificate(bool trust) override;

    // A certificate the system does not trust is then accepted only when it has
    // this SHA-256 fingerprint (hex; colons and case ignored), without a question.
    void setTrustedFingerprint(const QString &fingerprint) { session_.setTrustedFingerprint(fingerprint); }

    // Shorter time-outs than whole seconds, for tests.
    void setRequestTimeoutMilliseconds(int milliseconds);
    // A tool that never asks for listedEntries() saves their time and memory.
    void setListedEntriesKept(bool kept) { session_.setListedEntriesKept(kept); }
    void setKeepAliveMilliseconds(int milliseconds) { session_.setKeepAliveInterval(milliseconds); }

private:
    void deliver(std::function<void()> report);
    void onCommandEnded(int state);

    ftp::FtpSession session_;
    ftp::FtpLogin login_;
    int protocol_ = 2;
    int accessType_ = 0;
    bool busy_ = false;
    quint64 cancels_ = 0;   // reports queued before a cancel are dropped
    int code_ = 0;
    QString info_;
    QByteArray answer_;
    qsizetype answerRead_ = 0;
    ftp::FtpListing listing_;   // the last listing
};

// 0 when the command's operands can travel to the server; otherwise the error
// number execute() refuses with (a wrong count, an empty name, CR, LF or NUL).
int checkOperands(const TransferCommand &command);

// The host to look up for the text a user typed: without "ftp://", a trailing
// "/" and the brackets around an IPv6 address ("[::1]" gives "::1").
QString hostToConnect(const QString &typed);

} // namespace corvexo
