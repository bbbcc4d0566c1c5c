#pragma once
// One FTP session: opens the control connection, logs in, learns the
// server's features, and runs one command at a time as a chain of requests
// and replies. It reports transfer states 1 to 8 as it goes and ends every
// command with commandCompleted() or commandFailed(); it never blocks.

#include "connection/transfer_session.h"
#include "ftp_charset.h"
#include "ftp_link_probe.h"
#include "ftp_listing.h"
#include "ftp_tls_hosts.h"
#include "ftp_trust_store.h"
#include "ftp_reply.h"

#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QHostInfo>
#include <QObject>
#include <QPointer>
#include <QThread>
#include <QSet>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

namespace corvexo::ftp {

class FtpControlChannel;
class FtpDataChannel;
class FtpDownloadFile;
class FtpActiveListener;
enum class ChangeOutcome;

using FtpLogin = SessionLogin;

class FtpSession : public TransferSession {
    Q_OBJECT
public:
    static constexpr qint64 MaxListingBytes = 256LL * 1024 * 1024;

    explicit FtpSession(QObject *parent = nullptr);
    ~FtpSession() override;

    void setTimeout(int milliseconds) override;
    bool isOpenFor(const FtpLogin &login) const override { return loggedIn_ && login == login_; }
    // Opens a session first when none is open for this login, then runs the command.
    void start(const FtpLogin &login, const TransferCommand &command) override;
    // Closes everything at once and reports nothing.
    void abort() override;

    // The last reply (or code 0 and a text of our own after a local failure).
    int replyCode() const override { return replyCode_; }
    QString replyText() const override { return replyText_; }
    QByteArray answer() const override { return answer_; }   // the listing text after a listing
    QString currentFolder() const override { return folder_; }
    const FtpListing &listing() const { return listing_; }   // the last listing
    QList<RemoteEntry> listedEntries() const override { return listing_.remoteEntries(); }
    int unreadableEntries() const override { return listing_.unreadable(); }

    // Ends a running download, upload or listing but keeps the session logged in
    // and in its folder; commandStopped() follows once the server has answered, or
    // after StopWaitMs at most: the connection is then closed, and the next command
    // logs in again, silently, into the same folder. Other commands run to their end,
    // within the same bound.
    void stop() override;
    static constexpr int StopWaitMs = 3000;
    // Bytes of the running download or upload; total -1 when not known.
    TransferProgress progress() const override;

    // TLS (ftp_session_tls.cpp). A certificate the system does not trust is
    // accepted without a question when it matches this fingerprint, refused otherwise.
    void setTrustedFingerprint(const QString &fingerprint) override { presetFingerprint_ = fingerprint; }
    void setTrustStore(const FtpTrustStore &store) { trustStore_ = store; }
    void setTlsHosts(const FtpTlsHosts &hosts) { tlsHosts_ = hosts; }
    // The answer to certificateQuestion(); ignored when nothing was asked.
    void answerCertificate(bool trust) override;
    // The answer to plainLoginQuestion(); ignored when nothing was asked.
    void answerPlainLogin(bool allow) override;
    SessionSecurity security() const override;

    // Between commands a NOOP is sent this often, so the server keeps the session (0: never).
    void setKeepAliveInterval(int milliseconds) override { keepAliveMs_ = milliseconds; }
    // Whether a listing's entries are made with it, for windows that show them (default).
    void setListedEntriesKept(bool kept) override { keepEntries_ = kept; }

private:
    using ReplyHandler = std::function<void(const FtpReply &)>;
    using Step = std::function<void()>;

    // Session opening (ftp_session.cpp).
    void open();
    void onHostFound(const QHostInfo &info);
    void connectToNextAddress();
    void onGreeting(const FtpReply &reply);
    void onUserReply(const FtpReply &reply);
    void onPasswordReply(const FtpReply &reply);
    void afterLogin();
    void learnFolder(Step next);
    void sendUser();

    // TLS (ftp_session_tls.cpp).
    void askForTls();
    void onEncrypted();
    void trusted();
    void logInOnceReady();
    void protectData(Step next);
    bool hadTlsBefore() const;
    void onTlsRefused(const FtpReply &reply);
    void onHandshakeFailed(const QString &why);
    void askPlainLogin(PlainLoginQuestion::Reason reason, const QString &detail);

    // Active mode when passive mode is refused (ftp_session_active.cpp).
    void useActive(std::function<void(quint16 port)> then);

    // Idle drops and keep-alive (ftp_session_upkeep.cpp).
    void onIdleClose();
    void letControlGo();   // closes the control connection; the next command logs in again silently
    void returnToFolder();
    void sendKeepAlive();
    bool takeKeepAliveReply(const FtpReply &reply);
    bool retryAfterDrop();
    void lookAtChange();
    void concludeLook(ChangeOutcome outcome);

    // Requests and failures (ftp_session.cpp).
    void request(const QString &line, ReplyHandler onFinal, ReplyHandler onPreliminary = {});
    void onReply(const FtpReply &reply);
    void onControlFailed(const QString &why);
    void onControlClosed();
    void reach(int state);
    void succeed();
    void failWith(const FtpReply &reply);                       // the session stays usable
    void failLocally(const QString &why, bool keepSession);    // code 0 and our own text
    void finish(bool keepSession);
    void touch();
    void onTimeout();

    // Commands (ftp_session_commands.cpp).
    void runCommand();
    void simpleCommand(const QString &line, Step onSuccess);
    void changeFolder(const QString &line);
    void rename(const QString &from, const QString &to);
    void list();
    void download(const QString &remote, const QString &localPath);
    void upload(const QString &localPath, const QString &remote);
    void openDataConnection(std::function<void(quint16 port)> then);
    void usePasv(std::function<void(quint16 port)> then);
    void transfer(quint16 port, const QString &line, Step onComplete);
    void onTransferProgress();
    // Restarting a transfer after the part the target holds (ftp_session_resume.cpp).
    void askSize(const QString &remote);
    void restartDownload(Step next);
    void restartUpload(const QString &remote, qint64 from, std::function<void(const QString &line)> send);
    void completeTransfer();
    void dropDataChannel();
    void discardTransfer();

    FtpControlChannel *control_ = nullptr;
    FtpDataChannel *data_ = nullptr;
    QTimer timer_;
    int timeoutMs_ = 60000;

    FtpLogin login_;
    QList<QHostAddress> addresses_;
    QString lastConnectError_;
    int lookupId_ = -1;
    quint64 epoch_ = 0;   // changes with every abort, so deferred steps of an older session stop
    bool loggedIn_ = false;
    bool running_ = false;
    QSet<QString> features_;
    bool epsvRefused_ = false;
    QString folder_;   // from PWD; empty when unknown
    QByteArray folderBytes_;   // the same as the server sent it, decoded again once its charset is known

    TransferCommand command_;
    int reached_ = 0;
    ReplyHandler onFinal_, onPreliminary_;
    std::optional<FtpReply> closingReply_;   // a 421 seen before the connection went

    // The transfer in hand.
    bool dataDone_ = false, replyDone_ = false;
    Step onTransferComplete_;
    std::unique_ptr<FtpDownloadFile> download_;
    std::unique_ptr<QFile> upload_;

    int replyCode_ = 0;
    QString replyText_;
    QByteArray answer_;

    // Listings (ftp_session_listing.cpp).
    void startListing(ListingFormat format);
    void onListingData();
    void finishListing();
    void probeNextLink();
    void onProbeUnanswered();
    void endLinkProbe();
    void publishListing();
    void learnCharset(const FtpListingParser &parser);
    // A name beyond ASCII sent to a server whose charset no listing has shown yet
    // waits for a listing of the folder, so that it goes out in the server's charset.
    bool charsetUnsettledFor(const QStringList &names) const;
    void settleCharset(Step then);
    std::unique_ptr<FtpListingParser> parser_;
    std::unique_ptr<FtpLinkProbe> linkProbe_;
    QTimer probeWait_;   // bounds the reply to one probe's command
    QList<qsizetype> probedLinks_;   // entries of the parser that the probe asks about
    QElapsedTimer listingProgressClock_;
    FtpListing listing_;
    FtpCharset charset_;
    bool charsetKnown_ = false;
    std::optional<QByteArray> listedFolder_;   // the folder (as sent) of the session's latest listing
    // Sizes, progress and the end of a transfer before its time (ftp_session_transfer_end.cpp).
    void learnAnnouncedSize(const QString &remote, Step next);
    // SIZE, else MLST where offered; nothing when the server cannot tell.
    void askRemoteSize(const QString &remote, std::function<void(std::optional<qint64>)> then);
    void checkUploadedSize(const QString &remote, qint64 sent);
    bool checkReceivedSize();          // false (and the command failed) when it cannot match
    void reportProgress(bool now);
    void abortTransfer(Step then);     // ends the transfer in hand; the session stays
    void awaitAbortEnd(const FtpReply &reply);
    void endStopped(bool storSent);
    void onStopUnanswered();
    struct TransferWatch {
        qint64 announced = -1;         // the size the server gave for a download
        qint64 total = -1;             // bytes the transfer should move, when known
        qint64 from = 0;               // a download restarted here (announced counts the rest)
        QElapsedTimer sinceReport;
        Step afterAbort;               // set while a transfer is being ended
        bool awaitMarker = false;      // ABOR and NOOP went out: the NOOP's 200 ends the wait
    };
    TransferWatch watch_;
    QTimer stopWait_;                  // bounds the server's answer after a stop
    bool peerReached_ = false;         // the control connection was made (so no other address is tried)
    // TLS.
    FtpTrustStore trustStore_;
    QString presetFingerprint_;
    FtpTlsHosts tlsHosts_;
    bool awaitingTrust_ = false;
    bool dataProtected_ = false;   // PBSZ 0 and PROT P were accepted
    bool handshaking_ = false;     // the TLS handshake of the control connection runs
    bool greeted_ = false;         // the greeting came (with implicit TLS it may precede the trust)
    bool tlsTrusted_ = false;      // the certificate was judged and trusted
    std::optional<PlainLoginQuestion::Reason> awaitingPlain_;
    // The user allowed this login in clear text (after a refusal, or after a failed
    // handshake, when no AUTH TLS is tried again); kept until another login starts.
    std::optional<PlainLoginQuestion::Reason> plainAllowed_;

    // Active mode.
    FtpActiveListener *listener_ = nullptr;
    bool passiveRefused_ = false;

    // Upkeep between commands.
    QTimer keepAlive_;
    int keepAliveMs_ = 60000;
    bool keepAlivePending_ = false;
    bool dropped_ = false;     // the server ended the idle session; the next command logs in again
    QString droppedFolder_;    // the folder the user was in then
    bool resuming_ = false;    // logging in again after a drop: states 1 to 4 stay unreported
    bool retryable_ = false;   // the command went to an idle session and nothing has answered it yet
    bool changeSent_ = false;  // a command that changes the server went out and its answer is due
    bool lookAfterDrop_ = false;   // after the new login, look whether that change took place
    bool runIfNotMade_ = false;    // and run the command when it did not (nothing had answered it)

    // Puts a finished listing in order beside the event loop (ftp_session_listing.cpp).
    QPointer<QThread> orderer_;
    bool keepEntries_ = true;
};

} // namespace corvexo::ftp
