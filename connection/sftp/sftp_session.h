#pragma once
// One SFTP session, driven like an FTP session through TransferSession: the
// SSH library's blocking calls run on a thread the session owns (its worker),
// and the session, on the caller's thread, turns the worker's reports into
// states, answers and questions. Nothing here waits for the network.

#include "connection/ftp/ftp_listing.h"
#include "connection/transfer_session.h"
#include "sftp_host_key.h"
#include "sftp_worker.h"

#include <QList>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <functional>

namespace corvexo::sftp {

class SftpSession : public TransferSession {
    Q_OBJECT
public:
    explicit SftpSession(QObject *parent = nullptr);
    ~SftpSession() override;

    void setTimeout(int milliseconds) override { timeoutMs_ = milliseconds; }
    void setKeepAliveInterval(int milliseconds) override { keepAliveMs_ = milliseconds; }
    void setListedEntriesKept(bool kept) override { keepEntries_ = kept; }
    // An unknown or changed host key is accepted without a question when it has this
    // fingerprint ("SHA256:..."), and refused otherwise.
    void setTrustedFingerprint(const QString &fingerprint) override { presetFingerprint_ = fingerprint; }
    // Where host keys are looked up and added; ~/.ssh/known_hosts when empty.
    void setKnownHostsPath(const QString &path) { knownHostsPath_ = path; }

    bool isOpenFor(const SessionLogin &login) const override { return loggedIn_ && login == login_; }
    void start(const SessionLogin &login, const TransferCommand &command) override;
    void abort() override;
    void stop() override;

    int replyCode() const override { return replyCode_; }
    QString replyText() const override { return replyText_; }
    QByteArray answer() const override { return answer_; }
    QString currentFolder() const override { return folder_; }
    QList<RemoteEntry> listedEntries() const override { return listing_.remoteEntries(); }
    int unreadableEntries() const override { return listing_.unreadable(); }
    TransferProgress progress() const override { return progress_; }
    SessionSecurity security() const override { return security_; }
    void answerCertificate(bool trust) override;
    void answerPassphrase(const QString &passphrase, bool given) override;

private:
    void open();
    void post(std::function<void(SftpWorker *)> step);
    void onHostKey(const HostKeyFacts &facts);
    void onLoggedIn(const QString &cipher, const QString &folder);
    void onEnded(const SftpOutcome &outcome);
    void onIdleCheckFailed();
    void runCommand();
    void reach(int state);
    void failLocally(const QString &why, bool keepSession);
    void finish(bool keepSession);
    void touch();
    void onTimeout();
    void sendKeepAlive();

    QThread *thread_ = nullptr;
    SftpWorker *worker_ = nullptr;
    QList<QPointer<QThread>> endingThreads_;   // workers of closed sessions, still finishing

    SessionLogin login_;
    TransferCommand command_;
    bool loggedIn_ = false;
    bool running_ = false;
    int reached_ = 0;
    int replyCode_ = 0;
    QString replyText_;
    QByteArray answer_;
    QString folder_;
    ftp::FtpListing listing_;
    TransferProgress progress_;
    SessionSecurity security_;
    HostKeyFacts hostKey_;
    std::optional<ftp::FtpCharset> charset_;   // once the server's names revealed it

    QTimer timer_;
    int timeoutMs_ = 60000;
    QTimer keepAlive_;
    int keepAliveMs_ = 60000;
    bool keepEntries_ = true;
    QString presetFingerprint_;
    QString knownHostsPath_;
    bool awaitingAnswer_ = false;   // a question to the user is open: no time-out runs

    // After an idle drop the next command logs in again, silently, and returns to the folder.
    bool dropped_ = false;
    bool resuming_ = false;
    bool returning_ = false;
    bool retryable_ = false;
    QString droppedFolder_;
};

} // namespace corvexo::sftp
