#pragma once
// The queue's totals in the status bar's progress panel while it runs: files
// and bytes done of all, speed and time left, read twice a second from the
// queue model's running totals (never summed over its items). A transfer of
// the browsing session keeps the panel while it runs; the queue shows again
// once it ended.

#include "queue/queue_model.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

namespace corvexo {

namespace queue { class TransferQueue; }
class ProgressPanel;

// "3/10 files, 1.5 MB of 20.0 MB, 1.2 MB/s, 0:15 left": speed and time left from the bytes
// moved since the queue started (bytesAtStart were done before), over elapsedMs.
QString queueProgressLine(const queue::QueueTotals &totals, qint64 bytesAtStart, qint64 elapsedMs);
// The bar from 0 to 1000: by bytes where sizes are known, else by files; nothing when neither is.
std::optional<int> queuePermille(const queue::QueueTotals &totals);

class QueueTotalsFeed : public QObject {
    Q_OBJECT
public:
    static constexpr int IntervalMs = 500;

    QueueTotalsFeed(ProgressPanel *panel, QObject *parent);
    // Follows this queue from now on (the one the window holds).
    void watch(queue::TransferQueue *queue);

private:
    void onStarted();
    void show();
    void onFinished();

    ProgressPanel *panel_;
    QPointer<queue::TransferQueue> queue_;
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 bytesAtStart_ = 0;
};

} // namespace corvexo
