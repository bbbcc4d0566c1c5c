#pragma once
// One FTP session: opens the control connection, logs in, learns the
// server's features, and runs one command at a time as a chain of requests
// and replies. It reports transfer states 1 to 8 as it goes and ends every
// command with commandCompleted() or commandFailed(); it never blocks.

#include "connection/transfer_command.h"
#include "ftp_charset.h"
#include "ftp_link_probe.h"
#include "ftp_listing.h"
#include "ftp_reply.h"

#include <QElapsedTimer>

#include <QFile>
#include <QHostAddress>
#include <QHostInfo>
#include <QObject>
#include <QSet>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

namespace corvexo::ftp {

class FtpControlChannel;
class FtpDataChannel;
class FtpDownloadFile;

struct FtpLogin {
    QString host;
    quint16 port = 21;
    QString user;
    QString password;
    friend bool operator==(const FtpLogin &, const FtpLogin &) = default;
};

class FtpSession : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 MaxListingBytes = 256LL * 1024 * 1024;

    explicit FtpSession(QObject *parent = nullptr);
    ~FtpSession() override;

    void setTimeout(int milliseconds);   // 0: no time-out
    bool isOpenFor(const FtpLogin &login) const { return loggedIn_ && login == login_; }
    // Opens a session first when none is open for this login, then runs the command.
    void start(const FtpLogin &login, const TransferCommand &command);
    // Closes everything at once and reports nothing.
    void abort();

    // The last reply (or code 0 and a text of our own after a local failure).
    int replyCode() const { return replyCode_; }
    QString replyText() const { return replyText_; }
    QByteArray answer() const { return answer_; }   // the listing text after a listing
    QString currentFolder() const { return folder_; }
    const FtpListing &listing() const { return listing_; }   // the last listing

signals:
    void stateReached(int state);
    void commandCompleted();
    void commandFailed();
    void closedByServer();   // while no command was running
    void listingProgressed(qint64 entries);   // at most five times a second

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
    void publishListing();
    std::unique_ptr<FtpListingParser> parser_;
    std::unique_ptr<FtpLinkProbe> linkProbe_;
    QList<qsizetype> probedLinks_;   // entries of the parser that the probe asks about
    QElapsedTimer listingProgressClock_;
    FtpListing listing_;
    FtpCharset charset_;
    bool charsetKnown_ = false;
};

} // namespace corvexo::ftp
