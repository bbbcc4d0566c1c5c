#include "file_placer.h"

#include "files/file_writing.h"

#include <QFutureWatcher>
#include <QPromise>
#include <QThreadPool>

namespace corvexo::queue {

FilePlacer::FilePlacer(QObject *parent) : QObject(parent)
{
    gather_.setSingleShot(true);
    gather_.setInterval(GatherMs);
    connect(&gather_, &QTimer::timeout, this, &FilePlacer::startBatch);
}

void FilePlacer::place(qsizetype item, const QString &part, const QString &target)
{
    pending_.append({item, part, target});
    if (!running_ && !gather_.isActive()) gather_.start();
}

void FilePlacer::flush()
{
    if (running_) return;
    gather_.stop();
    startBatch();
}

void FilePlacer::startBatch()
{
    if (pending_.isEmpty() || running_) return;
    running_ = true;
    const QList<Move> batch = std::exchange(pending_, {});
    QList<std::pair<QString, QString>> moves;
    for (const Move &move : batch) moves.append({move.part, move.target});
    // The watcher goes with this object, so a batch that ends after it touches nothing.
    auto *watcher = new QFutureWatcher<QStringList>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, batch] {
        const QStringList reasons = watcher->result();
        watcher->deleteLater();
        running_ = false;
        // Idle only once the last of the batch is told: a listener may ask at each.
        for (qsizetype i = 0; i < batch.size(); ++i) {
            unreported_ = batch.size() - i - 1;
            emit placed(batch[i].item, reasons.value(i));
        }
        if (!pending_.isEmpty() && !running_ && !gather_.isActive()) gather_.start();
    });
    auto promise = std::make_shared<QPromise<QStringList>>();
    watcher->setFuture(promise->future());
    promise->start();
    QThreadPool::globalInstance()->start([moves, promise] {
        promise->addResult(moveIntoPlaceDurably(moves));
        promise->finish();
    });
}

} // namespace corvexo::queue
