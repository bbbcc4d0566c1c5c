#include "queue_model.h"

namespace corvexo::queue {

quint32 QueueModel::addJob(const QueueJob &job)
{
    jobs_.append(job);
    return quint32(jobs_.size() - 1);
}

void QueueModel::addItem(QueueItem item)
{
    ++counts_[size_t(item.state)];
    if (item.size > 0) bytesTotal_ += item.size;
    bytesDone_ += item.done;
    items_.append(std::move(item));
}

void QueueModel::setState(qsizetype index, ItemState state, const QString &reason)
{
    QueueItem &item = items_[index];
    --counts_[size_t(item.state)];
    ++counts_[size_t(state)];
    item.state = state;
    item.reason = reason;
}

void QueueModel::setDone(qsizetype index, qint64 bytes)
{
    bytesDone_ += bytes - items_[index].done;
    items_[index].done = bytes;
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
    counts_ = {};
    bytesTotal_ = bytesDone_ = 0;
    const QList<QueueItem> old = std::exchange(items_, {});
    for (const QueueItem &item : old)
        if (item.state != ItemState::Done && item.state != ItemState::Skipped) addItem(item);
}

bool QueueModel::allWalked() const
{
    return std::all_of(jobs_.begin(), jobs_.end(), [](const QueueJob &job) { return job.walked; });
}

} // namespace corvexo::queue
