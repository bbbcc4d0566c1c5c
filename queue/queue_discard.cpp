#include "queue_discard.h"

#include "queue_rules.h"

#include <QFile>
#include <QFutureWatcher>
#include <QPromise>
#include <QThreadPool>

namespace corvexo::queue {

bool mayHoldPart(const QueueModel &model, const QueueItem &item)
{
    return model.direction(item) == Direction::Download && item.kind == ItemKind::File && item.state != ItemState::Done;
}

QStringList partFilesOf(const QueueModel &model, const std::function<bool(qsizetype)> &chosen)
{
    QStringList parts;
    for (qsizetype i = 0; i < model.size(); ++i)
        if (mayHoldPart(model, model.item(i)) && (!chosen || chosen(i))) parts << partPathFor(model.localPath(model.item(i)));
    return parts;
}

void removeFilesInBackground(const QStringList &paths, QObject *context, std::function<void()> done)
{
    if (paths.isEmpty()) {
        if (done) QMetaObject::invokeMethod(context, std::move(done), Qt::QueuedConnection);
        return;
    }
    // The watcher goes with the context, so an end that comes later touches nothing.
    auto *watcher = new QFutureWatcher<void>(context);
    QObject::connect(watcher, &QFutureWatcherBase::finished, context, [watcher, done = std::move(done)] {
        watcher->deleteLater();
        if (done) done();
    });
    auto promise = std::make_shared<QPromise<void>>();
    watcher->setFuture(promise->future());
    promise->start();
    QThreadPool::globalInstance()->start([paths, promise] {
        // Most items never started: a missing part is nothing to report.
        for (const QString &path : paths) QFile::remove(path);
        promise->finish();
    });
}

void discardSavedQueue(const SavedQueue &saved, const QString &path, QObject *context, std::function<void()> done)
{
    // The saved file goes last, so that a part not yet removed is still known by it.
    removeFilesInBackground(partFilesOf(saved.model), context, [path, context, done = std::move(done)] {
        removeFilesInBackground({path}, context, done);
    });
}

} // namespace corvexo::queue
