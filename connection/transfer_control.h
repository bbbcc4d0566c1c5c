#pragma once
// The transfer control: the one component through which all FTP work goes.
// It takes one command at a time, returns at once, and reports its progress
// as numbered state changes. Windows hold it through this interface so that
// tests can hand them a scripted control instead of the real engine.

#include "transfer_command.h"
#include "transfer_facts.h"

#include <QByteArray>
#include <QObject>
#include <QString>

namespace corvexo {

namespace TransferState {
enum : int {
    Resolving = 1,
    Resolved = 2,
    Connecting = 3,
    Connected = 4,
    Requesting = 5,
    RequestSent = 6,
    Receiving = 7,
    ResponseReceived = 8,
    Disconnecting = 9,
    Disconnected = 10,
    Error = 11,
    ResponseCompleted = 12,
};
}

// Refusals of execute, by error number; 0 means the command was accepted.
namespace TransferError {
enum : int {
    None = 0,
    HostNameWrong = 35752,
    CannotConnectRemote = 35754,
    CannotExtract = 35758,
    FtpCommandFailed = 35759,
    TimedOut = 35761,
    StillExecuting = 35764,
    CannotConnect = 35795,
    ConnectionStopped = 35796,
    Security = 35808,
};
}

class TransferControl : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~TransferControl() override = default;

    // Connection properties, set in this order by the window before it executes.
    virtual void setRequestTimeout(int seconds) = 0;
    virtual void setProtocol(int protocol) = 0;      // 2 = FTP
    virtual void setAccessType(int accessType) = 0;  // 0 = system default
    virtual void setRemotePort(quint16 port) = 0;
    virtual void setRemoteHost(const QString &host) = 0;
    virtual void setUserName(const QString &user) = 0;
    virtual void setPassword(const QString &password) = 0;

    // Starts the command and returns at once: 0, or a TransferError number when refused.
    virtual int execute(const TransferCommand &command) = 0;
    // Stops whatever runs, closes the session, reports nothing.
    virtual void cancel() = 0;
    virtual bool stillExecuting() const = 0;

    virtual int responseCode() const = 0;
    virtual QString responseInfo() const = 0;
    // Hands out the last command's answer (a listing's text) in pieces of at most
    // maxBytes; an empty result means it is exhausted.
    virtual QByteArray getChunk(int maxBytes) = 0;

    // Facts beside the answer. The entries are those of the last listing, in its order.
    virtual QList<RemoteEntry> listedEntries() const { return {}; }
    // Lines of the last listing that no known format could read.
    virtual int unreadableEntries() const { return 0; }
    virtual TransferProgress progress() const { return {}; }
    virtual SessionSecurity security() const { return {}; }
    // A logged-in session stands (a refused command keeps it; a broken one or a failed login does not).
    virtual bool sessionOpen() const { return false; }
    // The session's remote folder, as the server names it; empty when none is open.
    virtual QString currentFolder() const { return {}; }

    // Ends the running command but keeps the session (unlike cancel); the command
    // then ends with commandStopped() instead of state 11 or 12.
    virtual void stop() {}
    // The answer to certificateQuestion(): true trusts and remembers the certificate.
    virtual void answerCertificate(bool trust) { Q_UNUSED(trust); }
    // The answer to plainLoginQuestion(): true logs in without encryption, for this
    // session only; false ends it before the login.
    virtual void answerPlainLogin(bool allow) { Q_UNUSED(allow); }
    // The answer to passphraseQuestion(): the passphrase, or given false to skip the key.
    // It is used for this login only and never kept.
    virtual void answerPassphrase(const QString &passphrase, bool given) { Q_UNUSED(passphrase); Q_UNUSED(given); }

signals:
    void stateChanged(int state);
    void commandStopped();
    // A few times a second at most while a transfer or listing runs.
    void progressChanged(const corvexo::TransferProgress &progress);
    void certificateQuestion(const corvexo::CertificateQuestion &question);
    // A certificate the user trusted could not be remembered (path, the system's reason):
    // it is trusted for this session and asked about again next time.
    void trustNotSaved(const QString &path, const QString &reason);
    // The password would travel in clear text; nothing is sent until the answer.
    void plainLoginQuestion(const corvexo::PlainLoginQuestion &question);
    // An SSH key file needs its passphrase (its path); the control waits, sending nothing.
    void passphraseQuestion(const QString &keyPath);
};

} // namespace corvexo
