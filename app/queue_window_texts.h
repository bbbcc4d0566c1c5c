#pragma once
// Texts of the Transfers and Options windows, in the user interface's language.

#include <QString>

namespace corvexo {

enum class QueueWindowText {
    TransfersTitle,
    ColumnDirection, ColumnSource, ColumnTarget, ColumnSize, ColumnProgress, ColumnSpeed, ColumnState,
    Download, Upload, Delete,
    Stop, StopAll, RetryFailed, ClearDone, RemoveSelected,
    OptionsTitle, ParallelSessions, ExistingTargets,
    ExistingAsk, ExistingOverwrite, ExistingNewer, ExistingResume, ExistingRename, ExistingSkip,
    Ok, Cancel,
    OptionsNotSaved,   // %1 path, %2 reason
    MenuTransfers, MenuOptions,
    ExistingQuestion,  // %1 target
    ForTheRest,
};

QString queueWindowText(QueueWindowText which);

} // namespace corvexo
