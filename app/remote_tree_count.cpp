#include "remote_tree_count.h"

#include "queue/queue_item.h"

namespace corvexo {

using queue::ItemKind;
using queue::WalkedEntry;

RemoteTreeCounter::RemoteTreeCounter(std::unique_ptr<TransferSession> session, const SessionLogin &login,
                                     QObject *parent)
    : QObject(parent), walker_(std::move(session), login)
{
    connect(walker_.session(), &TransferSession::certificateQuestion, this, &RemoteTreeCounter::certificateQuestion);
    connect(&walker_, &queue::RemoteWalker::found, this, [this](const QList<WalkedEntry> &entries) {
        for (const WalkedEntry &entry : entries) {
            if (entry.kind == ItemKind::Folder) ++count_.folders;
            else ++count_.files;
        }
    });
    connect(&walker_, &queue::RemoteWalker::failed, this, [this](const QString &relative, const QString &reason) {
        if (std::exchange(failed_, true)) return;
        emit failed(queue::joinedPath(walking_, relative), reason);
    });
    // Its own signal ends the walk's last step: the next root starts from the event loop.
    connect(&walker_, &queue::RemoteWalker::finished, this, [this] {
        QMetaObject::invokeMethod(this, &RemoteTreeCounter::countNext, Qt::QueuedConnection);
    });
}

void RemoteTreeCounter::start(const QList<RemoteRoot> &roots)
{
    pending_ = roots;
    count_ = {};
    failed_ = false;
    // Answers come from the event loop, even when no folder needs a walk.
    QMetaObject::invokeMethod(this, &RemoteTreeCounter::countNext, Qt::QueuedConnection);
}

void RemoteTreeCounter::answerCertificate(bool trust)
{
    walker_.session()->answerCertificate(trust);
}

void RemoteTreeCounter::countNext()
{
    if (failed_) return;
    while (!pending_.isEmpty()) {
        const RemoteRoot root = pending_.takeFirst();
        if (root.isFolder && !root.isLink) {
            walking_ = root.path;
            return walker_.start(root.path);
        }
        ++count_.files;
    }
    emit counted(count_);
}

} // namespace corvexo
