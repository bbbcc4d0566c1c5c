#include "queue_saver.h"

#include "queue_store.h"

namespace corvexo::queue {

QueueSaver::QueueSaver(QObject *parent) : QObject(parent)
{
    pool_.setMaxThreadCount(1);
}

QueueSaver::~QueueSaver()
{
    pool_.waitForDone();
    if (waiting_) saveQueue(waiting_->login, waiting_->model, waiting_->path);
}

void QueueSaver::save(const SessionLogin &login, const QueueModel &model, const QString &path)
{
    Snapshot snapshot {login, model, path};
    snapshot.login.password.clear();   // never written; no need to keep it around
    if (writing_) {
        waiting_ = std::move(snapshot);
        return;
    }
    write(std::move(snapshot));
}

void QueueSaver::write(Snapshot snapshot)
{
    writing_ = true;
    pool_.start([this, snapshot = std::move(snapshot)] {
        const QString failure = saveQueue(snapshot.login, snapshot.model, snapshot.path);
        QMetaObject::invokeMethod(this, [this, path = snapshot.path, failure] { onWritten(path, failure); },
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
