#include "queue_model.h"

namespace corvexo::queue {

quint32 QueueModel::addJob(const QueueJob &job)
{
    jobs_.append(job);
    return quint32(jobs_.size() - 1);
}

void QueueModel::addItem(QueueItem item)
{
    count(item, +1);
    items_.append(std::move(item));
}

bool QueueModel::bytesCount(const QueueItem &item) const
{
    return item.state != ItemState::Skipped && jobs_[item.job].direction != Direction::Delete;
}

// Every total moves by one item's share, so nothing needs a pass over the queue.
void QueueModel::count(const QueueItem &item, int sign)
{
    counts_[size_t(item.state)] += sign;
    if (item.kind != ItemKind::Folder) {
        filesTotal_ += sign;
        if (item.state == ItemState::Done || item.state == ItemState::Skipped) filesDone_ += sign;
    }
    if (!bytesCount(item)) return;
    if (item.size > 0) bytesTotal_ += sign * item.size;
    bytesDone_ += sign * item.done;
}

void QueueModel::setState(qsizetype index, ItemState state, const QString &reason)
{
    QueueItem &item = items_[index];
    count(item, -1);
    item.state = state;
    item.reason = reason;
    count(item, +1);
}

void QueueModel::setDone(qsizetype index, qint64 bytes)
{
    QueueItem &item = items_[index];
    if (bytesCount(item)) bytesDone_ += bytes - item.done;
    item.done = bytes;
}

void QueueModel::retryFailed()
{
    for (qsizetype i = 0; i < items_.size(); ++i)
        if (items_[i].state == ItemState::Failed) {
            setState(i, ItemState::Waiting);
            items_[i].attempts = 0;
        }
}

void QueueModel::clearFinished()
{
    removeIf([this](qsizetype i) { return items_[i].state == ItemState::Done || items_[i].state == ItemState::Skipped; });
}

void QueueModel::removeItems(const QList<qsizetype> &indexes)
{
    QList<bool> leaving(items_.size(), false);
    for (qsizetype index : indexes)
        if (index >= 0 && index < items_.size()) leaving[index] = true;
    removeIf([&leaving](qsizetype i) { return leaving[i]; });
}

void QueueModel::removeIf(const std::function<bool(qsizetype)> &leaves)
{
    QList<QueueItem> kept;
    for (qsizetype i = 0; i < items_.size(); ++i)
        if (leaves(i)) count(items_[i], -1);
        else kept.append(std::move(items_[i]));
    items_ = std::move(kept);
}

bool QueueModel::allWalked() const
{
    return std::all_of(jobs_.begin(), jobs_.end(), [](const QueueJob &job) { return job.walked; });
}

} // namespace corvexo::queue
