#include "transfer_queue.h"

#include "local_walker.h"
#include "queue_discard.h"
#include "queue_messages.h"
#include "queue_store.h"
#include "remote_walker.h"

namespace corvexo::queue {

namespace {

constexpr int SaveEveryMs = 2000;

template <typename T>
void dropLater(std::unique_ptr<T> &owned)
{
    // Walkers and workers end inside their own signals: deleted once those returned.
    if (owned) owned.release()->deleteLater();
}

} // namespace

TransferQueue::TransferQueue(SessionFactory factory, const SessionLogin &login, QObject *parent)
    : QObject(parent), factory_(std::move(factory)), login_(login), saver_(&model_)
{
    qRegisterMetaType<corvexo::queue::WorkResult>();
    qRegisterMetaType<corvexo::queue::FileFacts>();
    saveTimer_.setInterval(SaveEveryMs);
    connect(&placer_, &FilePlacer::placed, this, &TransferQueue::onPlaced);
    connect(&saveTimer_, &QTimer::timeout, this, &TransferQueue::save);
}

TransferQueue::~TransferQueue() = default;

void TransferQueue::setParallelSessions(int sessions)
{
    parallel_ = std::clamp(sessions, 1, 10);
}

void TransferQueue::addDownload(const QString &remote, const QString &local) { addJob(Direction::Download, local, remote); }
void TransferQueue::addUpload(const QString &local, const QString &remote) { addJob(Direction::Upload, local, remote); }
void TransferQueue::addDelete(const QString &remote) { addJob(Direction::Delete, {}, remote); }

void TransferQueue::addLinkDelete(const QString &remote)
{
    QueueItem item;
    item.job = model_.addJob({Direction::Delete, {}, remote, true});
    model_.addItem(item);
    emit itemsAdded(model_.size() - 1, 1);
    markRunning();
    QMetaObject::invokeMethod(this, &TransferQueue::pump, Qt::QueuedConnection);
}

quint32 TransferQueue::addJob(Direction direction, const QString &local, const QString &remote)
{
    const quint32 job = model_.addJob({direction, local, remote, false});
    walksPending_ << job;
    markRunning();
    QMetaObject::invokeMethod(this, &TransferQueue::walkNext, Qt::QueuedConnection);
    return job;
}

void TransferQueue::restore(const QueueModel &saved)
{
    continueParts_ = true;
    const quint32 first = quint32(model_.jobs().size());
    for (const QueueJob &job : saved.jobs()) {
        const quint32 index = model_.addJob(job);
        if (!job.walked) walksPending_ << index;
    }
    const qsizetype before = model_.size();
    for (QueueItem item : saved.items()) {
        // A job walked again finds its items anew.
        if (!saved.jobs()[item.job].walked) continue;
        item.job += first;
        item.state = ItemState::Waiting;
        item.attempts = 0;
        model_.addItem(item);
    }
    if (model_.size() > before) emit itemsAdded(before, model_.size() - before);
    markRunning();
    QMetaObject::invokeMethod(this, [this] { walkNext(); pump(); }, Qt::QueuedConnection);
}

// --- Walking -----------------------------------------------------------------

void TransferQueue::walkNext()
{
    if (localWalker_ || remoteWalker_ || walksPending_.isEmpty()) return checkFinished();
    const quint32 job = walksPending_.takeFirst();
    QueueJob &info = model_.job(job);
    const bool resolving = info.direction == Direction::Upload;
    remoteWalker_ = std::make_unique<RemoteWalker>(factory_(), login_);
    RemoteWalker *walker = remoteWalker_.get();
    walker->setRetryPauseMs(retryPauseMs_);
    connect(walker->session(), &TransferSession::certificateQuestion, this, &TransferQueue::certificateQuestion);
    connect(walker, &RemoteWalker::rootResolved, this, [this, job](const QString &root) { model_.job(job).remoteRoot = root; });
    connect(walker, &RemoteWalker::found, this, [this, job](const QList<WalkedEntry> &entries) { onFound(job, entries); });
    connect(walker, &RemoteWalker::failed, this,
            [this, job](const QString &, const QString &reason, const WalkedEntry &entry) { onWalkFailed(job, reason, entry); });
    connect(walker, &RemoteWalker::finished, this, [this, job, resolving] {
        dropLater(remoteWalker_);
        if (!resolving || model_.job(job).remoteRoot.startsWith(u'/') == false) return onWalked(job);
        localWalker_ = std::make_unique<LocalWalker>();
        connect(localWalker_.get(), &LocalWalker::found, this,
                [this, job](const QList<WalkedEntry> &entries) { onFound(job, entries); });
        connect(localWalker_.get(), &LocalWalker::finished, this, [this, job] {
            dropLater(localWalker_);
            onWalked(job);
        });
        localWalker_->start(model_.job(job).localRoot);
    });
    if (resolving) walker->resolve(info.remoteRoot);
    else walker->start(info.remoteRoot);
}

void TransferQueue::onFound(quint32 job, const QList<WalkedEntry> &entries)
{
    const bool deleting = model_.job(job).direction == Direction::Delete;
    const qsizetype before = model_.size();
    for (const WalkedEntry &entry : entries) {
        QueueItem item;
        item.relative = entry.relative;
        item.size = entry.size;
        item.modified = entry.modified;
        item.job = job;
        item.kind = entry.kind;
        if (entry.kind == ItemKind::Link && deleting) {
            item.kind = ItemKind::File;   // the link itself goes, never what it points at
        } else if (entry.kind == ItemKind::Link) {
            item.state = ItemState::Skipped;
            item.reason = queueText(QueueText::LinkNotFollowed);
        }
        // A deletion removes folders last, deepest first: found parents first, so kept in reverse.
        if (deleting && entry.kind == ItemKind::Folder) heldFolders_.prepend(item);
        else model_.addItem(item);
    }
    if (model_.size() > before) emit itemsAdded(before, model_.size() - before);
    pump();
}

void TransferQueue::onWalkFailed(quint32 job, const QString &reason, const WalkedEntry &entry)
{
    QueueItem item;
    item.relative = entry.relative;
    item.job = job;
    item.kind = entry.kind;
    item.state = ItemState::Failed;
    item.reason = reason;
    model_.addItem(item);
    emit itemsAdded(model_.size() - 1, 1);
    emit itemFinished(model_.size() - 1);
}

void TransferQueue::onWalked(quint32 job)
{
    model_.job(job).walked = true;
    if (!heldFolders_.isEmpty()) {
        const qsizetype before = model_.size();
        for (const QueueItem &item : std::exchange(heldFolders_, {})) model_.addItem(item);
        emit itemsAdded(before, model_.size() - before);
    }
    walkNext();
    pump();
}

// --- Scheduling --------------------------------------------------------------

qsizetype TransferQueue::nextRunnable()
{
    if (stopped_ || runningBarrier_ >= 0) return -1;
    while (cursor_ < model_.size() && model_.item(cursor_).state != ItemState::Waiting) ++cursor_;
    for (qsizetype i = cursor_; i < model_.size(); ++i) {
        const QueueItem &item = model_.item(i);
        if (item.state != ItemState::Waiting) continue;
        const bool waitsForRetry = std::any_of(pausedWorkers_.begin(), pausedWorkers_.end(),
                                               [i](QueueWorker *w) { return w->property("held").toLongLong() == i; });
        if (waitsForRetry) continue;
        // A folder goes only once everything in it did.
        const bool removesFolder = model_.direction(item) == Direction::Delete && item.kind == ItemKind::Folder;
        if (removesFolder && (model_.count(ItemState::Running) > 0 || !pausedWorkers_.isEmpty())) return -1;
        return i;
    }
    return -1;
}

QueueWorker *TransferQueue::idleWorker()
{
    for (const auto &worker : workers_)
        if (!worker->busy() && !pausedWorkers_.contains(worker.get())) return worker.get();
    if (int(workers_.size()) >= parallel_) return nullptr;
    auto worker = std::make_unique<QueueWorker>(factory_(), login_);
    QueueWorker *w = worker.get();
    connect(w, &QueueWorker::finishedItem, this,
            [this, w](qsizetype index, const WorkResult &result) { onItemFinished(w, index, result); });
    connect(w, &QueueWorker::existingTarget, this,
            [this, w](qsizetype index, const FileFacts &source, const FileFacts &target) {
                onExistingTarget(w, index, source, target);
            });
    connect(w, &QueueWorker::progressed, this, [this](qsizetype index, qint64 bytes) {
        model_.setDone(index, bytes);
        emit itemChanged(index);
    });
    connect(w, &QueueWorker::certificateQuestion, this, &TransferQueue::certificateQuestion);
    workers_.push_back(std::move(worker));
    return w;
}

void TransferQueue::pump()
{
    for (;;) {
        const qsizetype index = nextRunnable();
        if (index < 0) break;
        QueueWorker *worker = idleWorker();
        if (!worker) break;
        give(worker, index);
    }
    checkFinished();
}

void TransferQueue::give(QueueWorker *worker, qsizetype index)
{
    const QueueItem &item = model_.item(index);
    WorkOrder order;
    order.index = index;
    order.direction = model_.direction(item);
    order.kind = item.kind;
    order.local = model_.localPath(item);
    order.remote = model_.remotePath(item);
    order.source = {item.size, item.modified};
    order.existing = existing_;
    // What an earlier attempt of this queue kept (a retry, or an item stopped and started again) goes on.
    order.continueParts = continueParts_ || item.attempts > 0 || item.done > 0;
    order.makeParents = item.relative.isEmpty();
    if (order.direction == Direction::Upload && item.kind == ItemKind::Folder) runningBarrier_ = index;
    if (!worker->property("used").toBool()) ++sessionsUsed_;
    worker->setProperty("used", true);
    setState(index, ItemState::Running);
    // An item that ends at once calls pump() again only from the event loop.
    worker->run(order);
}

void TransferQueue::onItemFinished(QueueWorker *worker, qsizetype index, const WorkResult &result)
{
    if (index == runningBarrier_) runningBarrier_ = -1;
    const QueueItem &item = model_.item(index);
    switch (result.outcome) {
    case Outcome::Done:
        if (!result.part.isEmpty()) {
            // The worker goes on with another item while the file waits for its name.
            placer_.place(index, result.part, result.target);
            QMetaObject::invokeMethod(this, &TransferQueue::pump, Qt::QueuedConnection);
            return;
        }
        if (item.size > 0 && model_.direction(item) != Direction::Delete) model_.setDone(index, item.size);
        setState(index, ItemState::Done);
        break;
    case Outcome::Skipped: setState(index, ItemState::Skipped, result.reason); break;
    case Outcome::Stopped: setState(index, ItemState::Failed, result.reason); break;
    case Outcome::Failed: {
        model_.countAttempt(index);
        const int attempts = model_.item(index).attempts;
        if (stopped_ || !shouldRetry(classifyFailure(result.failure), attempts)) {
            setState(index, ItemState::Failed, result.reason);
            break;
        }
        const int pause = retryPauseMs(attempts, retryPauseMs_);
        setState(index, ItemState::Waiting, queueText(QueueText::RetryingIn).arg(pause / 1000.0).arg(result.reason));
        // The worker keeps the item for its next attempt, which continues what arrived.
        pausedWorkers_.insert(worker);
        worker->setProperty("held", qlonglong(index));
        QTimer::singleShot(pause, worker, [this, worker, index] {
            pausedWorkers_.remove(worker);
            worker->setProperty("held", QVariant());
            if (model_.item(index).state == ItemState::Waiting && !stopped_) give(worker, index);
            else pump();
        });
        return;
    }
    }
    emit itemFinished(index);
    QMetaObject::invokeMethod(this, &TransferQueue::pump, Qt::QueuedConnection);
}

void TransferQueue::onPlaced(qsizetype index, const QString &reason)
{
    if (reason.isEmpty()) {
        const qint64 size = model_.item(index).size;
        if (size > 0) model_.setDone(index, size);
        setState(index, ItemState::Done);
    } else {
        setState(index, ItemState::Failed, queueText(QueueText::CannotPutInPlace).arg(reason));
    }
    emit itemFinished(index);
    checkFinished();
}

void TransferQueue::setState(qsizetype index, ItemState state, const QString &reason)
{
    model_.setState(index, state, reason);
    emit itemChanged(index);
}

// --- Questions ---------------------------------------------------------------

void TransferQueue::onExistingTarget(QueueWorker *worker, qsizetype index, const FileFacts &source, const FileFacts &target)
{
    if (existing_ != ExistingChoice::Ask) return worker->answer(existing_);
    worker->setProperty("question", QVariant::fromValue(ExistingQuestion {index, {}, {}, source, target}));
    asking_ << worker;
    if (asking_.size() == 1) askNext();
}

void TransferQueue::askNext()
{
    while (!asking_.isEmpty() && !asking_.first()) asking_.removeFirst();
    if (asking_.isEmpty()) return;
    ExistingQuestion question = asking_.first()->property("question").value<ExistingQuestion>();
    const QueueItem &item = model_.item(question.index);
    const bool down = model_.direction(item) == Direction::Download;
    question.source = down ? model_.remotePath(item) : model_.localPath(item);
    question.target = down ? model_.localPath(item) : model_.remotePath(item);
    emit existingQuestion(question);
}

void TransferQueue::answerExisting(ExistingChoice choice, bool forTheRest)
{
    if (choice == ExistingChoice::Ask) return;
    if (forTheRest) {
        existing_ = choice;
        for (const QPointer<QueueWorker> &worker : std::exchange(asking_, {}))
            if (worker) worker->answer(choice);
        return;
    }
    if (asking_.isEmpty()) return;
    const QPointer<QueueWorker> worker = asking_.takeFirst();
    if (worker) worker->answer(choice);
    askNext();
}

void TransferQueue::answerCertificate(bool trust)
{
    for (const auto &worker : workers_) worker->answerCertificate(trust);
    if (remoteWalker_) remoteWalker_->session()->answerCertificate(trust);
}

// --- Commands of the Transfers window ------------------------------------------

void TransferQueue::stopItem(qsizetype index)
{
    if (index < 0 || index >= model_.size()) return;
    for (const auto &worker : workers_)
        if (worker->busy() && worker->item() == index) return worker->stop();
    if (model_.item(index).state == ItemState::Waiting) {
        setState(index, ItemState::Failed, queueText(QueueText::Stopped));
        emit itemFinished(index);
        checkFinished();
    }
}

void TransferQueue::stopAll()
{
    stopped_ = true;
    walksPending_.clear();
    dropLater(remoteWalker_);
    dropLater(localWalker_);
    heldFolders_.clear();
    for (qsizetype i = cursor_; i < model_.size(); ++i)
        if (model_.item(i).state == ItemState::Waiting) setState(i, ItemState::Failed, queueText(QueueText::Stopped));
    for (const auto &worker : workers_) worker->stop();
    for (const QPointer<QueueWorker> &worker : std::exchange(asking_, {}))
        if (worker) worker->stop();
    checkFinished();
}

void TransferQueue::retryFailed()
{
    model_.retryFailed();
    for (qsizetype i = 0; i < model_.size(); ++i) emit itemChanged(i);
    cursor_ = 0;
    markRunning();
    for (quint32 job = 0; job < quint32(model_.jobs().size()); ++job)
        if (!model_.jobs()[job].walked && !walksPending_.contains(job)) walksPending_ << job;
    walkNext();
    pump();
}

void TransferQueue::clearFinished()
{
    if (!idle_) return;   // indexes stay fixed while items run
    // A skipped download may hold a part that an earlier run kept.
    removeFilesInBackground(partFilesOf(model_, [this](qsizetype i) { return model_.item(i).state == ItemState::Skipped; }), this);
    model_.clearFinished();
    afterRemoval();
}

void TransferQueue::removeItems(const QList<qsizetype> &indexes)
{
    if (!idle_) return;
    QList<bool> chosen(model_.size(), false);
    for (qsizetype index : indexes)
        if (index >= 0 && index < model_.size()) chosen[index] = true;
    removeFilesInBackground(partFilesOf(model_, [&chosen](qsizetype i) { return chosen[i]; }), this);
    model_.removeItems(indexes);
    afterRemoval();
}

void TransferQueue::afterRemoval()
{
    cursor_ = 0;
    save();   // what is left is what a restart offers
    emit itemsAdded(0, model_.size());
}

// --- The end -----------------------------------------------------------------

void TransferQueue::checkFinished()
{
    if (idle_ || localWalker_ || remoteWalker_ || !walksPending_.isEmpty() || !pausedWorkers_.isEmpty()) return;
    for (const auto &worker : workers_)
        if (worker->busy()) return;
    if (nextRunnable() >= 0) return;
    // Only the last files wait for their names: they need not wait to be gathered.
    if (!placer_.idle()) return placer_.flush();
    idle_ = true;
    saveTimer_.stop();
    save();
    // The sessions log out; a new queue logs in again.
    for (auto &worker : workers_) dropLater(worker);
    workers_.clear();
    emit finished();
}

void TransferQueue::markRunning()
{
    stopped_ = false;
    if (!savePath_.isEmpty()) saveTimer_.start();
    if (!std::exchange(idle_, false)) return;
    emit started();
}

void TransferQueue::save()
{
    if (!savePath_.isEmpty()) saver_.save(login_, savePath_);
}

} // namespace corvexo::queue
