#pragma once
// The queue's own texts in the user interface's language: item states and
// the reasons an item was skipped or failed.

#include "queue_item.h"

#include <QString>

namespace corvexo::queue {

enum class QueueText {
    TargetExists,          // skipped: the target exists
    AlreadyWhole,          // skipped: the target already holds the whole file
    LinkNotFollowed,       // skipped: a link to a folder
    TooDeep,               // skipped: a folder nested deeper than the walk goes
    SizeDiffers,           // %1 bytes received, %2 expected
    CannotPutInPlace,      // %1 reason
    CannotMakeFolder,      // %1 folder
    Stopped,
    RetryingIn,            // %1 seconds, %2 the failure
};

QString queueText(QueueText which);
QString stateText(ItemState state);

} // namespace corvexo::queue
