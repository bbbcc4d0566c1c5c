#pragma once
// A console line that runs through the transfer queue:
//   get -r [--parallel N] [--resume] [--existing CHOICE] REMOTE LOCAL
//   put -r [--parallel N] [--resume] [--existing CHOICE] LOCAL REMOTE
//   delete -r [--parallel N] REMOTE
// CHOICE: overwrite, newer, resume, rename or skip. Nobody is asked here, so
// an existing target is skipped unless a choice says otherwise; --resume
// continues parts kept by an earlier run and resumes shorter targets.

#include "queue/queue_item.h"
#include "queue/queue_rules.h"

#include <QString>

namespace corvexo::console {

struct QueueLine {
    queue::Direction direction = queue::Direction::Download;
    QString source;   // REMOTE for get and delete, LOCAL for put
    QString target;
    int parallel = 2;
    bool resume = false;
    queue::ExistingChoice existing = queue::ExistingChoice::Skip;
};

// False when the line is no queue command; error is set when it is one but malformed.
bool parseQueueLine(const QString &line, QueueLine *out, QString *error);

} // namespace corvexo::console
