#pragma once
// The question a queue asks when a file's target exists: overwrite, overwrite
// if the source is newer, resume (offered only when the target is shorter),
// rename, skip; and whether to do the same for the rest of the queue. Tests
// replace the answerer to read the offered choices and to pick one.

#include "queue/transfer_queue.h"

#include <QList>

#include <functional>

class QWidget;

namespace corvexo {

struct ExistingAnswer {
    queue::ExistingChoice choice = queue::ExistingChoice::Skip;
    bool forTheRest = false;
};

// The choices offered for this target, in the order of the box's buttons.
QList<queue::ExistingChoice> existingChoicesFor(const queue::ExistingQuestion &question);
QString existingQuestionText(const queue::ExistingQuestion &question);

using ExistingAnswerer = std::function<ExistingAnswer(const queue::ExistingQuestion &, const QList<queue::ExistingChoice> &)>;

// Asks the user; closing the box skips the file, so nothing is overwritten unasked.
ExistingAnswer askExistingTarget(QWidget *parent, const queue::ExistingQuestion &question);

// Replaces how the question is answered (tests); an empty answerer restores the real box.
void setExistingAnswerer(ExistingAnswerer answerer);

} // namespace corvexo
