#pragma once
// What a download that never finished leaves behind: the hidden part beside
// its target. When such an item, or a whole queue, is let go, its parts go
// too; the files are removed beside the window's thread.

#include "queue_model.h"
#include "queue_store.h"

#include <QObject>
#include <QStringList>
#include <functional>

namespace corvexo::queue {

// Whether a finished or waiting item may hold a part: a download of a file not done.
bool mayHoldPart(const QueueModel &model, const QueueItem &item);
// The parts of the model's items that may hold one and whose index chosen() accepts (all when empty).
QStringList partFilesOf(const QueueModel &model, const std::function<bool(qsizetype)> &chosen = {});

// Removes the files on a pool thread; done(), if given, runs on context's thread afterwards.
void removeFilesInBackground(const QStringList &paths, QObject *context, std::function<void()> done = {});

// Lets a saved queue go: its parts, then the saved file itself.
void discardSavedQueue(const SavedQueue &saved, const QString &path, QObject *context, std::function<void()> done = {});

} // namespace corvexo::queue
