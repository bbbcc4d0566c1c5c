#include "queue_run.h"

namespace corvexo::console {

namespace {

const char *wordOf(queue::Direction direction)
{
    switch (direction) {
    case queue::Direction::Download: return "get";
    case queue::Direction::Upload: return "put";
    case queue::Direction::Delete: return "delete";
    }
    return "";
}

} // namespace

QueueRun::QueueRun(const QueueLine &line, queue::SessionFactory factory, const SessionLogin &login,
                   QTextStream &output, QObject *parent)
    : QObject(parent), line_(line), queue_(std::move(factory), login), output_(output)
{
    queue_.setParallelSessions(line.parallel);
    queue_.setExistingChoice(line.existing);
    queue_.setContinueParts(line.resume);
    connect(&queue_, &queue::TransferQueue::itemFinished, this, &QueueRun::printItem);
    // Nobody here to ask: a certificate that needs a question is refused.
    connect(&queue_, &queue::TransferQueue::certificateQuestion, this, [this] { queue_.answerCertificate(false); });
    connect(&queue_, &queue::TransferQueue::finished, this, [this] {
        printSummary();
        emit done(queue_.model().count(queue::ItemState::Failed) == 0);
    });
}

void QueueRun::start()
{
    switch (line_.direction) {
    case queue::Direction::Download: return queue_.addDownload(line_.source, line_.target);
    case queue::Direction::Upload: return queue_.addUpload(line_.source, line_.target);
    case queue::Direction::Delete: return queue_.addDelete(line_.source);
    }
}

void QueueRun::printItem(qsizetype index)
{
    const queue::QueueModel &model = queue_.model();
    const queue::QueueItem &item = model.item(index);
    const QString path = item.relative.isEmpty() ? QStringLiteral(".") : item.relative;
    const char *kind = item.kind == queue::ItemKind::File ? "" : "/";
    switch (item.state) {
    case queue::ItemState::Done:
        output_ << "done " << wordOf(model.direction(item)) << ' ' << path << kind;
        if (item.kind == queue::ItemKind::File) output_ << ' ' << item.size;
        break;
    case queue::ItemState::Skipped: output_ << "skipped " << path << kind << ": " << item.reason; break;
    default: output_ << "failed " << path << kind << ": " << item.reason; break;
    }
    output_ << Qt::endl;
}

void QueueRun::printSummary()
{
    const queue::QueueModel &model = queue_.model();
    qsizetype files = 0;
    for (const queue::QueueItem &item : model.items())
        files += item.kind == queue::ItemKind::File && item.state == queue::ItemState::Done;
    output_ << "summary: files " << files << ", bytes " << model.bytesDone() << ", skipped "
            << model.count(queue::ItemState::Skipped) << ", failed " << model.count(queue::ItemState::Failed)
            << ", sessions " << queue_.sessionsUsed() << Qt::endl;
}

} // namespace corvexo::console
