#include "queue_worker.h"

#include "queue_messages.h"

#include <QDir>
#include <QFileInfo>

namespace corvexo::queue {

namespace {

FileFacts localFacts(const QFileInfo &info)
{
    return {info.size(), info.lastModified().toMSecsSinceEpoch()};
}

QString parentOf(const QString &remotePath)
{
    const qsizetype slash = remotePath.lastIndexOf(u'/');
    return slash <= 0 ? QStringLiteral("/") : remotePath.left(slash);
}

QString nameOf(const QString &path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

} // namespace

QueueWorker::QueueWorker(std::unique_ptr<TransferSession> session, const SessionLogin &login, QObject *parent)
    : QObject(parent), session_(std::move(session)), login_(login)
{
    session_->setListedEntriesKept(true);
    connect(session_.get(), &TransferSession::commandCompleted, this, [this] { onSessionEnded(Ended::Completed); });
    connect(session_.get(), &TransferSession::commandFailed, this, [this] { onSessionEnded(Ended::Failed); });
    connect(session_.get(), &TransferSession::commandStopped, this, [this] { onSessionEnded(Ended::Stopped); });
    connect(session_.get(), &TransferSession::progressChanged, this, [this](const TransferProgress &progress) {
        if (busy() && progress.unit == TransferProgress::Unit::Bytes) emit progressed(order_.index, offset_ + progress.done);
    });
    connect(session_.get(), &TransferSession::certificateQuestion, this, &QueueWorker::certificateQuestion);
}

void QueueWorker::answerCertificate(bool trust)
{
    trustRefused_ = !trust;
    session_->answerCertificate(trust);
}

void QueueWorker::run(const WorkOrder &order)
{
    order_ = order;
    offset_ = 0;
    stopping_ = false;
    using enum Direction;
    if (order.direction == Delete)
        return command(order.kind == ItemKind::Folder ? TransferCommand::removeDir(order.remote)
                                                      : TransferCommand::remove(order.remote),
                       [this] { end(Outcome::Done); });
    if (order.kind == ItemKind::Folder) return makeFolder();
    if (order.direction == Download) return download();
    upload();
}

void QueueWorker::stop()
{
    if (!busy()) return;
    stopping_ = true;
    if (onAnswer_) {
        onAnswer_ = {};
        return end(Outcome::Stopped, queueText(QueueText::Stopped));
    }
    session_->stop();
}

void QueueWorker::answer(ExistingChoice choice)
{
    if (const auto then = std::exchange(onAnswer_, {})) then(choice);
}

// --- Steps -------------------------------------------------------------------

void QueueWorker::command(const TransferCommand &cmd, Then onCompleted, std::function<void()> onFailed)
{
    onCompleted_ = std::move(onCompleted);
    onFailed_ = std::move(onFailed);
    session_->start(login_, cmd);
}

void QueueWorker::onSessionEnded(Ended how)
{
    const Then completed = std::exchange(onCompleted_, {});
    const auto failed = std::exchange(onFailed_, {});
    if (!busy()) return;
    if (how == Ended::Stopped || stopping_) return end(Outcome::Stopped, queueText(QueueText::Stopped));
    if (how == Ended::Completed) return completed();
    if (failed) return failed();
    endFailed();
}

void QueueWorker::end(Outcome outcome, const QString &reason)
{
    WorkResult result;
    result.outcome = outcome;
    result.reason = reason;
    result.failure.trustRefused = trustRefused_;
    const qsizetype index = std::exchange(order_.index, -1);
    emit finishedItem(index, result);
}

void QueueWorker::endFailed()
{
    WorkResult result;
    result.outcome = Outcome::Failed;
    const int code = session_->replyCode();
    result.reason = code ? QStringLiteral("%1 %2").arg(code).arg(session_->replyText()) : session_->replyText();
    if (order_.direction == Direction::Download) result.reason = reasonNamingTarget(result.reason, order_.local);
    result.failure = {code, !session_->isOpenFor(login_), trustRefused_};
    const qsizetype index = std::exchange(order_.index, -1);
    emit finishedItem(index, result);
}

void QueueWorker::decide(const FileFacts &target, std::function<void(ExistingAction)> then)
{
    if (order_.existing != ExistingChoice::Ask) return then(decideExisting(order_.existing, order_.source, target));
    onAnswer_ = [this, target, then](ExistingChoice choice) { then(decideExisting(choice, order_.source, target)); };
    emit existingTarget(order_.index, order_.source, target);
}

void QueueWorker::makeFolder()
{
    if (order_.direction == Direction::Download) {
        if (QDir().mkpath(order_.local)) return end(Outcome::Done);
        return end(Outcome::Failed, queueText(QueueText::CannotMakeFolder).arg(order_.local));
    }
    QStringList paths {order_.remote};
    if (order_.makeParents)
        for (QString parent = parentOf(order_.remote); parent != u"/"; parent = parentOf(parent)) paths.prepend(parent);
    makeRemoteFolders(paths);
}

void QueueWorker::makeRemoteFolders(QStringList paths)
{
    if (paths.isEmpty()) return end(Outcome::Done);
    const QString path = paths.takeFirst();
    const auto next = [this, paths] { makeRemoteFolders(paths); };
    // A folder that exists already is as good as a new one.
    command(TransferCommand::makeDir(path), next, [this, next] {
        if (session_->replyCode() == 550 || session_->replyCode() == 521) return next();
        endFailed();
    });
}

// --- Downloads ---------------------------------------------------------------

void QueueWorker::download()
{
    const QFileInfo target(order_.local);
    const QString part = partPathFor(order_.local);
    if (!QDir().mkpath(target.absolutePath()))
        return end(Outcome::Failed, queueText(QueueText::CannotMakeFolder).arg(target.absolutePath()));
    const qint64 kept = order_.continueParts ? QFileInfo(part).size() : 0;
    if (!target.exists()) return startDownload(order_.local, part, kept);
    const FileFacts facts = localFacts(target);
    decide(facts, [this, facts, part, kept](ExistingAction action) {
        switch (action) {
        case ExistingAction::Transfer: return startDownload(order_.local, part, kept);
        // The target itself holds the first part.
        case ExistingAction::Resume: return startDownload(order_.local, order_.local, facts.size);
        case ExistingAction::Rename: {
            const QDir folder = QFileInfo(order_.local).dir();
            const QString name = freeName(QFileInfo(order_.local).fileName(),
                                          [&folder](const QString &n) { return folder.exists(n); });
            order_.local = folder.filePath(name);
            return startDownload(order_.local, partPathFor(order_.local), 0);
        }
        case ExistingAction::Skip:
            return end(Outcome::Skipped, facts.size == order_.source.size && order_.existing == ExistingChoice::Resume
                                             ? queueText(QueueText::AlreadyWhole) : queueText(QueueText::TargetExists));
        }
    });
}

void QueueWorker::startDownload(const QString &target, const QString &part, qint64 offset)
{
    offset_ = offset;
    command(TransferCommand::getFrom(order_.remote, part, offset, order_.source.size), [this, target, part] {
        // The engine checked the size the server gave; the listing's size is checked too.
        const qint64 got = QFileInfo(part).size();
        if (order_.source.size >= 0 && got != order_.source.size)
            return end(Outcome::Failed, queueText(QueueText::SizeDiffers).arg(got).arg(order_.source.size));
        emit progressed(order_.index, got);
        WorkResult result;
        if (part != target) {
            result.part = part;
            result.target = target;
        }
        result.failure.trustRefused = trustRefused_;
        emit finishedItem(std::exchange(order_.index, -1), result);
    });
}

// --- Uploads -----------------------------------------------------------------

void QueueWorker::upload()
{
    if (order_.continueParts) {
        // What arrived of an earlier attempt, under the target's name; a longer file is not ours.
        return command(TransferCommand::size(order_.remote), [this] {
            const qint64 there = session_->answer().toLongLong();
            if (there == order_.source.size) return end(Outcome::Done);
            if (there < order_.source.size) return startUpload(there);
            uploadChecked();
        }, [this] { startUpload(0); });
    }
    uploadChecked();
}

void QueueWorker::uploadChecked()
{
    if (order_.existing == ExistingChoice::Overwrite) return startUpload(0);
    lookUpRemote([this](std::optional<FileFacts> target) {
        if (!target) return startUpload(0);
        decide(*target, [this, target](ExistingAction action) {
            switch (action) {
            case ExistingAction::Transfer: return startUpload(0);
            case ExistingAction::Resume: return startUpload(target->size);
            case ExistingAction::Rename: {
                const QString folder = parentOf(order_.remote);
                const auto &known = remoteFolders_[folder];
                order_.remote = joinedPath(folder, freeName(nameOf(order_.remote),
                                                            [&known](const QString &n) { return known.contains(n); }));
                return startUpload(0);
            }
            case ExistingAction::Skip: return end(Outcome::Skipped, queueText(QueueText::TargetExists));
            }
        });
    });
}

void QueueWorker::lookUpRemote(std::function<void(std::optional<FileFacts>)> then)
{
    const QString folder = parentOf(order_.remote);
    const auto answer = [this, folder, then] {
        const auto &known = remoteFolders_[folder];
        const auto found = known.constFind(nameOf(order_.remote));
        then(found == known.constEnd() ? std::nullopt : std::optional<FileFacts>(*found));
    };
    if (remoteFolders_.contains(folder)) return answer();
    if (remoteFolders_.size() > 256) remoteFolders_.clear();   // bounded: one folder after another
    const auto missing = [this, folder, answer] {
        remoteFolders_.insert(folder, {});   // a folder that cannot be entered holds nothing yet
        answer();
    };
    command(TransferCommand::changeDir(folder), [this, folder, answer, missing] {
        command(TransferCommand::listing(), [this, folder, answer] {
            QHash<QString, FileFacts> entries;
            for (const RemoteEntry &entry : session_->listedEntries())
                entries.insert(entry.name, {entry.isFolder ? -1 : entry.size,
                                            entry.modified.isValid() ? entry.modified.toMSecsSinceEpoch() : 0});
            remoteFolders_.insert(folder, entries);
            answer();
        }, missing);
    }, missing);
}

void QueueWorker::startUpload(qint64 offset)
{
    offset_ = offset;
    command(TransferCommand::putFrom(order_.local, order_.remote, offset), [this] {
        remoteFolders_[parentOf(order_.remote)].insert(nameOf(order_.remote), order_.source);
        emit progressed(order_.index, order_.source.size);
        end(Outcome::Done);
    });
}

} // namespace corvexo::queue
