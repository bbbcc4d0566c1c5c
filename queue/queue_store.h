#pragma once
// The unfinished queue on disk, so that it is offered again after a restart:
// the server (never its password), every job, and every item not yet done.
// A job whose walk had not ended is walked again; its items are kept only to
// find the parts they left.
// The text is UTF-8, one record a line; fields are separated by tabs, and a
// tab, line end or "%" inside a field is written as %09, %0A, %0D or %25.

#include "connection/transfer_session.h"
#include "queue_model.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace corvexo::queue {

struct SavedQueue {
    SessionLogin login;   // without the password
    QueueModel model;
};

QByteArray queueText(const SessionLogin &login, const QueueModel &model);
// The same text in pieces: the head (format, server, jobs), then the items from..to-1
// that are still to do, so a long queue can be written out a slice at a time.
QByteArray queueTextHead(const SessionLogin &login, const QueueModel &model);
void appendQueueItems(QByteArray &out, const QueueModel &model, qsizetype from, qsizetype to);
// Whether the queue holds nothing a restart would offer: then its file goes.
bool nothingToKeep(const QueueModel &model);
// Writes a queue's text; a null text removes the file. Empty on success, else the reason.
QString writeQueueText(const QByteArray &text, const QString &path);
// False for a text that is not a saved queue (then out is left as it was).
bool parseQueueText(const QByteArray &text, SavedQueue *out);

// Where an unfinished queue is kept: the program's data folder. Queues that run at
// once keep a file each, so that none writes over another's: "transfer-queue",
// then "transfer-queue-2", "transfer-queue-3", ...
QString savedQueuePath(int slot = 1);
// The first of those paths that taken() refuses (a live queue's, or a file on disk).
QString freeSavedQueuePath(const std::function<bool(const QString &)> &taken);
// The saved queues in the data folder, "transfer-queue" first.
QStringList savedQueuePaths();
// Writes the queue, or removes the file when nothing is left to do. Empty on success, else the reason.
QString saveQueue(const SessionLogin &login, const QueueModel &model, const QString &path = savedQueuePath());
bool loadQueue(SavedQueue *out, const QString &path = savedQueuePath());

// What a start finds in the data folder; read beside the window's thread.
struct SavedQueueRead {
    enum class Found { Nothing, Queue, Damaged };
    Found found = Found::Nothing;
    SavedQueue saved;
    QString path;   // the file it was read from
};
SavedQueueRead readSavedQueue(const QString &path = savedQueuePath());
// Moves a saved queue that cannot be read aside, beside it, under a free name.
// The new path on success; empty, with the reason in *reason, otherwise.
QString keepDamagedQueueAside(const QString &path, QString *reason);

} // namespace corvexo::queue
