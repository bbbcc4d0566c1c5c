#pragma once
// Walks a remote folder tree on a session of its own: each folder is entered
// by its absolute path and listed with the engine's own parsers, in the
// server's charset. Folders come before their contents. Links to folders are
// reported as links, not entered: an FTP server's machine listing (MLSD) may
// describe a link by its target, so a folder with subfolders is listed once
// more in the long form, which shows links as links. A server that hides them
// even there is walked at most MaxDepth folders down, so that they cannot loop.

#include "connection/transfer_session.h"
#include "local_walker.h"

#include <QObject>
#include <QStringList>
#include <memory>

namespace corvexo::queue {

// Whether a listing may hold links described as folders: an FTP listing with folders not known as links.
bool mayHideLinks(TransferScheme scheme, const QList<RemoteEntry> &entries);
// Marks the entries that the long listing shows as links.
void markLinks(QList<RemoteEntry> &entries, const QList<RemoteEntry> &longListing);

class RemoteWalker : public QObject {
    Q_OBJECT
public:
    static constexpr int MaxDepth = 48;

    RemoteWalker(std::unique_ptr<TransferSession> session, const SessionLogin &login, QObject *parent = nullptr);

    // Lists root's whole tree; a root that is a file is reported as one entry.
    void start(const QString &root);
    // Only makes root absolute (relative roots are below the login folder).
    void resolve(const QString &root);

    TransferSession *session() const { return session_.get(); }

signals:
    void rootResolved(const QString &absoluteRoot);
    void found(const QList<corvexo::queue::WalkedEntry> &entries);
    void failed(const QString &relative, const QString &reason, const corvexo::queue::WalkedEntry &entry);
    void finished();

private:
    using Then = std::function<void(bool ok)>;
    // A passing fault (a lost connection, 421) is tried again, like an item, after a growing pause.
    void run(const TransferCommand &command, Then then, int attempts = 0);
    void listNext();
    void onListed(const QString &relative, const QList<RemoteEntry> &listed);
    QString failureText() const;

    std::unique_ptr<TransferSession> session_;
    SessionLogin login_;
    QString root_;
    QStringList pending_;   // folders still to list, relative to the root
    Then then_;
    int retryPauseMs_ = 1000;

public:
    void setRetryPauseMs(int ms) { retryPauseMs_ = ms; }
};

} // namespace corvexo::queue
