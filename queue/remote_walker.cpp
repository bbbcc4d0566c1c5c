#include "remote_walker.h"

#include "queue_messages.h"
#include "queue_rules.h"

#include <QSet>
#include <QTimer>

namespace corvexo::queue {

bool mayHideLinks(TransferScheme scheme, const QList<RemoteEntry> &entries)
{
    // An SSH server describes the link itself.
    if (scheme == TransferScheme::Sftp) return false;
    return std::any_of(entries.begin(), entries.end(), [](const RemoteEntry &e) { return e.isFolder && !e.isLink; });
}

void markLinks(QList<RemoteEntry> &entries, const QList<RemoteEntry> &longListing)
{
    QSet<QString> links;
    for (const RemoteEntry &entry : longListing)
        if (entry.isLink) links.insert(entry.name);
    for (RemoteEntry &entry : entries)
        if (links.contains(entry.name)) entry.isLink = true;
}

RemoteWalker::RemoteWalker(std::unique_ptr<TransferSession> session, const SessionLogin &login, QObject *parent)
    : QObject(parent), session_(std::move(session)), login_(login)
{
    session_->setParent(nullptr);
    session_->setListedEntriesKept(true);
    connect(session_.get(), &TransferSession::commandCompleted, this, [this] {
        if (then_) std::exchange(then_, {})(true);
    });
    connect(session_.get(), &TransferSession::commandFailed, this, [this] {
        if (then_) std::exchange(then_, {})(false);
    });
}

void RemoteWalker::run(const TransferCommand &command, Then then, int attempts)
{
    then_ = [this, command, then, attempts](bool ok) {
        const FailureFacts facts {session_->replyCode(), !session_->isOpenFor(login_), false};
        if (ok || !shouldRetry(classifyFailure(facts), attempts + 1) || facts.replyCode == 450) return then(ok);
        QTimer::singleShot(retryPauseMs(attempts + 1, retryPauseMs_), this,
                           [this, command, then, attempts] { run(command, then, attempts + 1); });
    };
    session_->start(login_, command);
}

QString RemoteWalker::failureText() const
{
    const QString text = session_->replyText();
    return session_->replyCode() ? QStringLiteral("%1 %2").arg(session_->replyCode()).arg(text) : text;
}

void RemoteWalker::resolve(const QString &root)
{
    if (root.startsWith(u'/')) {
        emit rootResolved(root);
        return emit finished();
    }
    run(TransferCommand::changeDir(QStringLiteral(".")), [this, root](bool ok) {
        const QString home = session_->currentFolder();
        if (!ok || home.isEmpty()) emit failed({}, failureText(), {});
        else emit rootResolved(joinedPath(home, root));
        emit finished();
    });
}

void RemoteWalker::start(const QString &root)
{
    run(TransferCommand::changeDir(root), [this, root](bool ok) {
        if (ok) {
            root_ = session_->currentFolder();
            emit rootResolved(root_);
            emit found({WalkedEntry {QString(), ItemKind::Folder, -1, 0}});
            pending_ = QStringList {QString()};
            return listNext();
        }
        const QString why = failureText();
        // Not a folder: a file is one entry of its own.
        run(TransferCommand::size(root), [this, root, why](bool isFile) {
            if (!isFile) emit failed({}, why, {});
            else {
                emit rootResolved(root);
                emit found({WalkedEntry {QString(), ItemKind::File, session_->answer().toLongLong(), 0}});
            }
            emit finished();
        });
    });
}

void RemoteWalker::listNext()
{
    if (pending_.isEmpty()) return emit finished();
    // Depth first, so a folder's files follow it closely.
    const QString relative = pending_.takeLast();
    run(TransferCommand::changeDir(joinedPath(root_, relative)), [this, relative](bool ok) {
        if (!ok) {
            emit failed(relative, failureText(), WalkedEntry {relative, ItemKind::Folder, -1, 0});
            return listNext();
        }
        run(TransferCommand::listing(), [this, relative](bool listed) {
            if (!listed) {
                emit failed(relative, failureText(), WalkedEntry {relative, ItemKind::Folder, -1, 0});
                return listNext();
            }
            const QList<RemoteEntry> entries = session_->listedEntries();
            if (!mayHideLinks(login_.scheme, entries)) {
                onListed(relative, entries);
                return listNext();
            }
            run(TransferCommand::linkListing(), [this, relative, entries](bool longListed) {
                QList<RemoteEntry> marked = entries;
                if (longListed) markLinks(marked, session_->listedEntries());
                onListed(relative, marked);
                listNext();
            });
        });
    });
}

void RemoteWalker::onListed(const QString &relative, const QList<RemoteEntry> &listed)
{
    const int depth = relative.isEmpty() ? 1 : int(relative.count(u'/')) + 2;
    QList<WalkedEntry> entries;
    QStringList subfolders;
    for (const RemoteEntry &remote : listed) {
        if (remote.name == u".." || remote.name == u".") continue;
        WalkedEntry entry;
        entry.relative = relative.isEmpty() ? remote.name : relative + u'/' + remote.name;
        // A link to a folder is not entered: its contents live elsewhere, and it may loop.
        entry.kind = remote.isFolder ? (remote.isLink ? ItemKind::Link : ItemKind::Folder) : ItemKind::File;
        entry.size = remote.size;
        entry.modified = remote.modified.isValid() ? remote.modified.toMSecsSinceEpoch() : 0;
        if (entry.kind == ItemKind::Folder && depth >= MaxDepth) {
            emit failed(entry.relative, queueText(QueueText::TooDeep), entry);
            continue;
        }
        if (entry.kind == ItemKind::Folder) subfolders.prepend(entry.relative);
        entries.append(std::move(entry));
    }
    pending_ += subfolders;
    if (!entries.isEmpty()) emit found(entries);
}

} // namespace corvexo::queue
