#pragma once
// The blocking half of an SFTP session: lives on the session's own thread,
// runs each step the session hands it (connect, trust, log in, one command)
// with the SSH library's blocking calls, and reports back by queued signals.
// Names travel as the server's bytes, in the charset its names reveal.

#include "connection/ftp/ftp_charset.h"
#include "connection/ftp/ftp_listing.h"
#include "connection/transfer_command.h"
#include "connection/transfer_session.h"
#include "sftp_host_key.h"
#include "sftp_wire.h"

#include <QElapsedTimer>
#include <QObject>
#include <atomic>
#include <memory>
#include <optional>

namespace corvexo::sftp {

class SshConnection;
class SshAuthentication;

// How a step ended.
struct SftpOutcome {
    enum class Kind { Completed, Failed, Stopped };
    Kind kind = Kind::Completed;
    int code = 0;             // an FTP reply code the windows know; 0 for a failure of our own
    QString text;
    bool sessionLost = false; // the connection cannot be used again
    QString folder;           // the current folder afterwards
    std::shared_ptr<ftp::FtpListing> listing;   // after a listing
    QByteArray answer;        // after a size: the file's size in digits
    std::optional<ftp::FtpCharset> charset;     // once the server's names revealed it
};

class SftpWorker : public QObject {
    Q_OBJECT
public:
    static constexpr int RequestsInFlight = 64;
    static constexpr qsizetype ReadBytes = 255 * 1024;
    static constexpr qsizetype WriteBytes = 255 * 1024;
    static constexpr int ProgressIntervalMs = 200;

    SftpWorker();
    ~SftpWorker() override;

    // Thread-safe: ends blocked calls at once; nothing more is reported after it.
    void interrupt();
    // Thread-safe: ends the running transfer or listing; the session stays.
    void requestStop() { stopRequested_ = true; }

    // The steps, each run on the worker's thread.
    // charset: the server's, when an earlier session learned it.
    void open(const SessionLogin &login, const QString &knownHostsPath, int timeoutSeconds,
              const std::optional<ftp::FtpCharset> &charset);
    void trustHostKey(bool remember);
    void answerPassphrase(const std::optional<QString> &passphrase);
    void run(const TransferCommand &command, bool keepEntries);
    void keepAlive();

signals:
    void reached(int state);
    void hostKeyJudged(const corvexo::sftp::HostKeyFacts &facts);
    void passphraseNeeded(const QString &keyPath);
    void loggedIn(const QString &cipher, const QString &folder);
    void ended(const corvexo::sftp::SftpOutcome &outcome);
    void progressed(qint64 done, qint64 total);
    void listingProgressed(qint64 entries);
    void trustNotSaved(const QString &path, const QString &reason);
    void idleCheckFailed();

private:
    void authenticate();
    void startSftp();

    // Commands (sftp_worker_commands.cpp).
    void changeFolder(const QByteArray &path);
    void askSize(const QByteArray &path);
    void simpleRequest(quint8 type, const QByteArray &body);
    QByteArray pathOf(const QString &name) const;
    bool call(quint8 type, const QByteArray &body, SftpReply *reply);
    std::optional<QByteArray> openHandle(quint8 type, const QByteArray &body, SftpOutcome *refusal);
    void closeHandle(const QByteArray &handle);

    // Listings (sftp_worker_listing.cpp).
    void list(bool keepEntries);
    // Transfers (sftp_worker_transfer.cpp).
    // partKeeps: continue the part file localPath after that many bytes; it stays, whole or not.
    void download(const QString &remote, const QString &localPath, std::optional<qint64> partKeeps = std::nullopt);
    // from: the bytes the remote file already holds; it is written on from there, not truncated.
    void upload(const QString &localPath, const QString &remote, std::optional<qint64> from = std::nullopt);
    void reportProgress(qint64 done, qint64 total, bool now);

    // Endings.
    void complete(int code, const QString &text);
    void refuse(const SftpReply &reply);
    void failLocally(const QString &text);
    void failConnection();
    void stopped();
    void endWith(SftpOutcome outcome);

    SessionLogin login_;   // as the user's ssh configuration completes it
    QStringList identityFiles_;   // the configuration's, then the default key files
    std::unique_ptr<SshConnection> connection_;
    std::unique_ptr<SshAuthentication> authentication_;
    std::unique_ptr<SftpWire> wire_;
    HostKeyFacts hostKey_;
    QString knownHostsPath_;
    QByteArray folder_;   // as the server names it
    ftp::FtpCharset charset_;
    bool charsetKnown_ = false;
    std::atomic<bool> stopRequested_ {false};
    std::atomic<bool> interrupted_ {false};
    QElapsedTimer sinceProgress_;
};

} // namespace corvexo::sftp

Q_DECLARE_METATYPE(corvexo::sftp::SftpOutcome)
