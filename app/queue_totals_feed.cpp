#include "queue_totals_feed.h"

#include "progress_panel.h"
#include "progress_texts.h"
#include "queue/transfer_queue.h"
#include "strings/string_table.h"

namespace corvexo {

QString queueProgressLine(const queue::QueueTotals &totals, qint64 bytesAtStart, qint64 elapsedMs)
{
    const bool japanese = uiLanguage() == UiLanguage::Japanese;
    QStringList parts;
    parts << (japanese ? QStringLiteral("%1/%2 ファイル") : QStringLiteral("%1/%2 files")).arg(totals.filesDone).arg(totals.filesTotal);
    if (totals.bytesTotal > 0)
        parts << (japanese ? QStringLiteral("%2 中 %1") : QStringLiteral("%1 of %2"))
                     .arg(sizeText(totals.bytesDone), sizeText(totals.bytesTotal));
    const std::optional<qint64> speed = bytesPerSecond(totals.bytesDone - bytesAtStart, elapsedMs);
    if (speed && *speed > 0) parts << sizeText(*speed) + (japanese ? QStringLiteral("/秒") : QStringLiteral("/s"));
    if (const auto left = secondsLeft(totals.bytesDone, totals.bytesTotal > 0 ? totals.bytesTotal : -1, speed))
        parts << (japanese ? QStringLiteral("残り %1") : QStringLiteral("%1 left")).arg(durationText(*left));
    return parts.join(japanese ? QStringLiteral("、") : QStringLiteral(", "));
}

std::optional<int> queuePermille(const queue::QueueTotals &totals)
{
    const auto permille = [](qint64 done, qint64 total) { return int(std::clamp<qint64>(done * 1000 / total, 0, 1000)); };
    if (totals.bytesTotal > 0) return permille(totals.bytesDone, totals.bytesTotal);
    if (totals.filesTotal > 0) return permille(totals.filesDone, totals.filesTotal);
    return std::nullopt;
}

QueueTotalsFeed::QueueTotalsFeed(ProgressPanel *panel, QObject *parent) : QObject(parent), panel_(panel)
{
    timer_.setInterval(IntervalMs);
    connect(&timer_, &QTimer::timeout, this, &QueueTotalsFeed::show);
}

void QueueTotalsFeed::watch(queue::TransferQueue *queue)
{
    if (queue_) disconnect(queue_, nullptr, this, nullptr);
    queue_ = queue;
    connect(queue, &queue::TransferQueue::started, this, &QueueTotalsFeed::onStarted);
    connect(queue, &queue::TransferQueue::finished, this, &QueueTotalsFeed::onFinished);
    connect(queue, &QObject::destroyed, this, &QueueTotalsFeed::onFinished);
    if (queue->isRunning()) onStarted();
}

void QueueTotalsFeed::onStarted()
{
    clock_.start();
    bytesAtStart_ = queue_ ? queue_->model().bytesDone() : 0;
    timer_.start();
    show();
}

void QueueTotalsFeed::show()
{
    if (!queue_ || !queue_->isRunning()) return onFinished();
    const queue::QueueTotals totals = queue_->model().totals();
    panel_->reportQueue(queueProgressLine(totals, bytesAtStart_, clock_.elapsed()), queuePermille(totals));
}

void QueueTotalsFeed::onFinished()
{
    timer_.stop();
    panel_->finishQueue();
}

} // namespace corvexo
