#pragma once
// One conversation with a server, whichever protocol it speaks. The transfer
// control drives the browsing session through this interface, and the queue
// drives its own sessions the same way: one command at a time, states 1 to 8
// reported as it goes, and every command ended by commandCompleted(),
// commandFailed() or commandStopped(). A session never blocks its thread.

#include "transfer_address.h"
#include "transfer_command.h"
#include "transfer_facts.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

namespace corvexo {

// Where and as whom a session logs in; the host is the name to look up (no
// scheme, no brackets around an IPv6 address).
struct SessionLogin {
    TransferScheme scheme = TransferScheme::Ftp;
    QString host;
    quint16 port = 21;
    QString user;
    QString password;
    friend bool operator==(const SessionLogin &, const SessionLogin &) = default;
};

class TransferSession : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~TransferSession() override = default;

    virtual void setTimeout(int milliseconds) = 0;              // 0: no time-out
    virtual void setKeepAliveInterval(int milliseconds) = 0;    // 0: never
    // Whether a listing's entries are kept, for callers that read listedEntries().
    virtual void setListedEntriesKept(bool kept) = 0;

    virtual bool isOpenFor(const SessionLogin &login) const = 0;
    // Opens a session first when none is open for this login, then runs the command.
    virtual void start(const SessionLogin &login, const TransferCommand &command) = 0;
    // Closes everything at once and reports nothing.
    virtual void abort() = 0;
    // Ends a running transfer or listing but keeps the session; commandStopped() follows.
    virtual void stop() = 0;

    // The last reply (or code 0 and a text of our own after a local failure).
    virtual int replyCode() const = 0;
    virtual QString replyText() const = 0;
    virtual QByteArray answer() const = 0;        // the listing text after a listing
    virtual QString currentFolder() const = 0;
    virtual QList<RemoteEntry> listedEntries() const = 0;   // of the last listing, in its order
    virtual int unreadableEntries() const = 0;
    virtual TransferProgress progress() const = 0;
    virtual SessionSecurity security() const = 0;
    // The answer to certificateQuestion(); ignored when nothing was asked.
    virtual void answerCertificate(bool trust) = 0;
    // The answer to plainLoginQuestion(): true logs in without encryption for this
    // session only; ignored when nothing was asked (and by protocols that never ask).
    virtual void answerPlainLogin(bool allow) { Q_UNUSED(allow); }
    // A certificate or host key the system does not trust is then accepted only when it
    // has this fingerprint, without a question; any other is refused.
    virtual void setTrustedFingerprint(const QString &fingerprint) = 0;
    // The answer to passphraseQuestion(); given false skips the key.
    virtual void answerPassphrase(const QString &passphrase, bool given) { Q_UNUSED(passphrase); Q_UNUSED(given); }

signals:
    void stateReached(int state);
    void commandCompleted();
    void commandFailed();
    void commandStopped();
    void listingProgressed(qint64 entries);   // at most five times a second
    void progressChanged(const corvexo::TransferProgress &progress);   // a few times a second at most
    // The session waits, sending nothing, until answerCertificate().
    void certificateQuestion(const corvexo::CertificateQuestion &question);
    void trustNotSaved(const QString &path, const QString &reason);
    // The session waits, sending nothing, until answerPlainLogin().
    void plainLoginQuestion(const corvexo::PlainLoginQuestion &question);
    // A key file needs its passphrase; the session waits until answerPassphrase().
    void passphraseQuestion(const QString &keyPath);
};

} // namespace corvexo
