#include "file_placer.h"

#include "files/file_writing.h"

#include <QFutureWatcher>
#include <QPromise>
#include <QThreadPool>

namespace corvexo::queue {

void FilePlacer::place(qsizetype item, const QString &part, const QString &target)
{
    pending_.append({item, part, target});
    if (!running_) startBatch();
}

void FilePlacer::startBatch()
{
    if (pending_.isEmpty()) return;
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
        for (qsizetype i = 0; i < batch.size(); ++i) emit placed(batch[i].item, reasons.value(i));
        startBatch();
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
