#include "queue_saver.h"

#include "queue_store.h"

namespace corvexo::queue {

QueueSaver::QueueSaver(const QueueModel *model, QObject *parent) : QObject(parent), model_(model)
{
    pool_.setMaxThreadCount(1);
    slices_.setInterval(0);
    connect(&slices_, &QTimer::timeout, this, &QueueSaver::makeSlice);
}

QueueSaver::~QueueSaver()
{
    if (making_) {
        appendQueueItems(text_, *model_, next_, model_->size());
        next_ = model_->size();
        finishMaking();
    }
    pool_.waitForDone();
    if (waiting_) writeQueueText(waiting_->text, waiting_->path);
}

void QueueSaver::save(const SessionLogin &login, const QString &path)
{
    path_ = path;
    if (nothingToKeep(*model_)) {
        making_ = false;
        slices_.stop();
        return write({QByteArray(), path});
    }
    // Started again from the first item: items may have left the queue since the last start.
    text_ = queueTextHead(login, *model_);
    next_ = 0;
    making_ = true;
    slices_.start();
}

void QueueSaver::makeSlice()
{
    const qsizetype end = std::min(next_ + ItemsPerSlice, model_->size());
    appendQueueItems(text_, *model_, next_, end);
    next_ = end;
    if (next_ >= model_->size()) finishMaking();
}

void QueueSaver::finishMaking()
{
    making_ = false;
    slices_.stop();
    write({std::exchange(text_, {}), path_});
}

void QueueSaver::write(Written file)
{
    if (writing_) {
        waiting_ = std::move(file);
        return;
    }
    writing_ = true;
    pool_.start([this, file = std::move(file)] {
        const QString failure = writeQueueText(file.text, file.path);
        QMetaObject::invokeMethod(this, [this, path = file.path, failure] { onWritten(path, failure); },
                                  Qt::QueuedConnection);
    });
}

void QueueSaver::onWritten(const QString &path, const QString &failure)
{
    writing_ = false;
    if (waiting_) write(*std::exchange(waiting_, std::nullopt));
    emit saved(path, failure);
}

} // namespace corvexo::queue
