#include "local_walker.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QThreadPool>
#include <atomic>

namespace corvexo::queue {

// Shared by the walking thread and the caller: the walk outlives nothing it needs.
struct LocalWalker::Mailbox {
    QMutex mutex;
    QList<WalkedEntry> entries;
    bool done = false;
    std::atomic<bool> cancelled = false;

    void post(WalkedEntry entry)
    {
        const QMutexLocker lock(&mutex);
        entries.append(std::move(entry));
    }
};

namespace {

constexpr int PollMs = 30;

WalkedEntry entryOf(const QFileInfo &info, const QString &relative)
{
    WalkedEntry entry;
    entry.relative = relative;
    if (info.isSymLink() && info.isDir()) entry.kind = ItemKind::Link;
    else if (info.isDir()) entry.kind = ItemKind::Folder;
    entry.size = entry.kind == ItemKind::File ? info.size() : -1;
    entry.modified = info.lastModified().toMSecsSinceEpoch();
    return entry;
}

void walk(const QString &root, const QString &relative, const std::shared_ptr<LocalWalker::Mailbox> &mailbox)
{
    const QDir folder(joinedPath(root, relative));
    const QFileInfoList infos = folder.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                                     QDir::Name | QDir::DirsLast);
    QStringList subfolders;
    for (const QFileInfo &info : infos) {
        if (mailbox->cancelled) return;
        const QString path = relative.isEmpty() ? info.fileName() : relative + u'/' + info.fileName();
        WalkedEntry entry = entryOf(info, path);
        if (entry.kind == ItemKind::Folder) subfolders << path;
        else mailbox->post(std::move(entry));
    }
    for (const QString &sub : subfolders) {
        mailbox->post(entryOf(QFileInfo(joinedPath(root, sub)), sub));
        walk(root, sub, mailbox);
    }
}

} // namespace

LocalWalker::LocalWalker(QObject *parent) : QObject(parent), mailbox_(std::make_shared<Mailbox>())
{
    poll_.setInterval(PollMs);
    connect(&poll_, &QTimer::timeout, this, &LocalWalker::collect);
}

LocalWalker::~LocalWalker()
{
    mailbox_->cancelled = true;
}

void LocalWalker::start(const QString &root)
{
    poll_.start();
    QThreadPool::globalInstance()->start([root, mailbox = mailbox_] {
        const QFileInfo info(root);
        WalkedEntry top = entryOf(info, QString());
        if (info.isDir()) top.kind = ItemKind::Folder;   // the root itself is followed, link or not
        mailbox->post(top);
        if (info.isDir()) walk(root, QString(), mailbox);
        const QMutexLocker lock(&mailbox->mutex);
        mailbox->done = true;
    });
}

void LocalWalker::collect()
{
    QList<WalkedEntry> entries;
    bool done = false;
    {
        const QMutexLocker lock(&mailbox_->mutex);
        entries.swap(mailbox_->entries);
        done = mailbox_->done;
    }
    if (!entries.isEmpty()) emit found(entries);
    if (!done) return;
    poll_.stop();
    emit finished();
}

} // namespace corvexo::queue
