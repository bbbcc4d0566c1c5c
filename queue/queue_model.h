#pragma once
// The queue's items and jobs, with running totals kept as items change so
// that nothing needs a pass over a long queue. No signals: the scheduler
// that changes it tells its watchers.

#include "queue_item.h"

#include <QList>
#include <functional>
#include <array>

namespace corvexo::queue {

// What the status bar shows of a running queue: files and bytes, done of all.
struct QueueTotals {
    qsizetype filesDone = 0;    // done or skipped
    qsizetype filesTotal = 0;   // files and links; folders are not counted
    qint64 bytesDone = 0;
    qint64 bytesTotal = 0;      // of transfers whose size is known; skipped ones and deletions are not counted
    friend bool operator==(const QueueTotals &, const QueueTotals &) = default;
};

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
    // Done and skipped items leave the queue.
    void clearFinished();
    // The items at these indexes leave the queue; the others keep their order.
    void removeItems(const QList<qsizetype> &indexes);

    qsizetype count(ItemState state) const { return counts_[size_t(state)]; }
    qint64 bytesTotal() const { return bytesTotal_; }   // of files whose size is known
    qint64 bytesDone() const { return bytesDone_; }
    QueueTotals totals() const { return {filesDone_, filesTotal_, bytesDone_, bytesTotal_}; }
    bool allWalked() const;
    bool hasUnfinished() const { return count(ItemState::Waiting) + count(ItemState::Running) > 0; }

private:
    // Whether the item's bytes count towards the totals: a transfer that was not skipped.
    bool bytesCount(const QueueItem &item) const;
    void count(const QueueItem &item, int sign);
    void removeIf(const std::function<bool(qsizetype)> &leaves);

    QList<QueueJob> jobs_;
    QList<QueueItem> items_;
    std::array<qsizetype, 5> counts_ {};
    qint64 bytesTotal_ = 0, bytesDone_ = 0;
    qsizetype filesTotal_ = 0, filesDone_ = 0;
};

} // namespace corvexo::queue
