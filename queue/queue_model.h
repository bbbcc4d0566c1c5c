#pragma once
// The queue's items and jobs, with running totals kept as items change so
// that nothing needs a pass over a long queue. No signals: the scheduler
// that changes it tells its watchers.

#include "queue_item.h"

#include <QList>
#include <array>

namespace corvexo::queue {

class QueueModel {
public:
    quint32 addJob(const QueueJob &job);
    void addItem(QueueItem item);

    const QList<QueueJob> &jobs() const { return jobs_; }
    QueueJob &job(quint32 index) { return jobs_[index]; }
    const QList<QueueItem> &items() const { return items_; }
    const QueueItem &item(qsizetype index) const { return items_[index]; }
    qsizetype size() const { return items_.size(); }

    QString localPath(const QueueItem &item) const { return joinedPath(jobs_[item.job].localRoot, item.relative); }
    QString remotePath(const QueueItem &item) const { return joinedPath(jobs_[item.job].remoteRoot, item.relative); }
    Direction direction(const QueueItem &item) const { return jobs_[item.job].direction; }

    void setState(qsizetype index, ItemState state, const QString &reason = {});
    void setDone(qsizetype index, qint64 bytes);
    void countAttempt(qsizetype index) { ++items_[index].attempts; }
    // Failed items wait again, with their attempts forgotten.
    void retryFailed();
    // Done and skipped items leave the queue (and jobs left empty, once walked).
    void clearFinished();

    qsizetype count(ItemState state) const { return counts_[size_t(state)]; }
    qint64 bytesTotal() const { return bytesTotal_; }   // of files whose size is known
    qint64 bytesDone() const { return bytesDone_; }
    bool allWalked() const;
    bool hasUnfinished() const { return count(ItemState::Waiting) + count(ItemState::Running) > 0; }

private:
    QList<QueueJob> jobs_;
    QList<QueueItem> items_;
    std::array<qsizetype, 5> counts_ {};
    qint64 bytesTotal_ = 0, bytesDone_ = 0;
};

} // namespace corvexo::queue
