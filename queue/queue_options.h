#pragma once
// The program's own options for many files at once, in one small file in the
// user's configuration folder: how many sessions a queue runs on, and what to
// do with targets that exist. "key=value" lines; unknown or bad lines are
// ignored, so an option that cannot be read keeps its default.

#include "queue_rules.h"

#include <QByteArray>
#include <QString>

namespace corvexo::queue {

struct QueueOptions {
    static constexpr int MinSessions = 1, MaxSessions = 10;
    int parallelSessions = 2;
    ExistingChoice existingTargets = ExistingChoice::Ask;
    friend bool operator==(const QueueOptions &, const QueueOptions &) = default;
};

QueueOptions parseOptions(const QByteArray &text);
QByteArray optionsText(const QueueOptions &options);

QString optionsPath();   // "options" in the program's configuration folder
QueueOptions loadOptions(const QString &path = optionsPath());
// Empty on success, else the system's reason; the older file then stays.
QString saveOptions(const QueueOptions &options, const QString &path = optionsPath());

} // namespace corvexo::queue
