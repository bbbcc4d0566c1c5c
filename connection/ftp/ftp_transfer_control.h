#pragma once
// The real transfer control: it runs each command on a session of the host
// text's protocol (FTP with or without TLS, or SFTP), driven by signals on the
// caller's thread. State changes are delivered from the event loop, never
// from inside execute() or the session's own socket handling, so a handler
// may call execute() or cancel() at once; the control is idle when state 12,
// 11 or 10 arrives.

#include "connection/transfer_control.h"
#include "connection/transfer_session.h"

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
    // 0: the host text's protocol's own port.
    void setRemotePort(quint16 port) override;
    // The host text as typed: its scheme chooses the protocol, and a port in it wins.
    void setRemoteHost(const QString &host) override;
    void setUserName(const QString &user) override;
    void setPassword(const QString &password) override;

    int execute(const TransferCommand &command) override;
    void cancel() override;
    bool stillExecuting() const override { return busy_; }
    int responseCode() const override { return code_; }
    QString responseInfo() const override { return info_; }
    QByteArray getChunk(int maxBytes) override;
    QList<RemoteEntry> listedEntries() const override { return entries_; }
    int unreadableEntries() const override { return unreadable_; }
    TransferProgress progress() const override { return session_ ? session_->progress() : TransferProgress{}; }
    void stop() override;
    SessionSecurity security() const override { return session_ ? session_->security() : SessionSecurity{}; }
    bool sessionOpen() const override { return session_ && session_->isOpenFor(login_); }
    QString currentFolder() const override { return sessionOpen() ? session_->currentFolder() : QString(); }
    void answerCertificate(bool trust) override;
    void answerPlainLogin(bool allow) override;
    void answerPassphrase(const QString &passphrase, bool given) override;

    // A certificate the system does not trust is then accepted only when it has
    // this SHA-256 fingerprint (hex; colons and case ignored), without a question.
    void setTrustedFingerprint(const QString &fingerprint);

    // Shorter time-outs than whole seconds, for tests.
    void setRequestTimeoutMilliseconds(int milliseconds);
    // A tool that never asks for listedEntries() saves their time and memory.
    void setListedEntriesKept(bool kept);
    void setKeepAliveMilliseconds(int milliseconds);

private:
    bool useSessionFor(TransferScheme scheme);   // false when this build cannot speak it
    void watchSession();
    void failAtOnce(const QString &why);
    void deliver(std::function<void()> report);
    void onCommandEnded(int state);
    void answerLater(std::function<void(TransferSession &)> answer);

    TransferSession *session_ = nullptr;   // a child; made for sessionScheme_
    TransferScheme sessionScheme_ = TransferScheme::Ftp;
    QString hostText_;
    quint16 port_ = 0;
    QString user_;
    QString password_;
    SessionLogin login_;   // of the last command started
    // Handed to every session made.
    int timeoutMs_ = 60 * 1000;
    int keepAliveMs_ = -1;   // -1: the session's own
    bool entriesKept_ = true;
    QString trustedFingerprint_;

    int protocol_ = 2;
    int accessType_ = 0;
    bool busy_ = false;
    bool listing_ = false;   // the running command lists a folder
    quint64 cancels_ = 0;   // reports queued before a cancel are dropped
    int code_ = 0;
    QString info_;
    QByteArray answer_;
    qsizetype answerRead_ = 0;
    QList<RemoteEntry> entries_;   // of the last listing
    int unreadable_ = 0;
};

// 0 when the command's operands can travel to the server; otherwise the error
// number execute() refuses with (a wrong count, an empty name, CR, LF or NUL).
int checkOperands(const TransferCommand &command);

} // namespace corvexo
