// Progress and stop of a running download, upload or listing: the panel
// beside the status bar's text, Esc and the Stop button, and the window made
// ready again when the control reports that the command was stopped.

#include "app/main_window.h"
#include "app/progress_panel.h"
#include "app/strings/string_table.h"

#include <QShortcut>
#include <QStatusBar>

namespace corvexo {

void Form1::connectProgressAndStop()
{
    progressPanel = new ProgressPanel(StatusBar1);
    StatusBar1->addPermanentWidget(progressPanel);
    progressPanel->hide();
    connect(Inet1, &TransferControl::progressChanged, this, &Form1::Inet1_ProgressChanged);
    connect(Inet1, &TransferControl::commandStopped, this, &Form1::Inet1_CommandStopped);
    connect(Inet1, &TransferControl::stateChanged, this, [this](int state) {
        // The command ended one way or another; a command started by its completion reports anew.
        if (state >= TransferState::Disconnecting) progressPanel->finish();
    });
    connect(progressPanel, &ProgressPanel::stopRequested, this, &Form1::Stop_Click);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &Form1::Stop_Click);
}

void Form1::Inet1_ProgressChanged(const TransferProgress &progress)
{
    if (Connected) progressPanel->report(progress);
}

bool Form1::stoppableCommandRuns() const
{
    // A folder change, rename or deletion of its own is no transfer and no listing.
    return Connected && Inet1->stillExecuting() && !CdList && !RenList && !DelList;
}

void Form1::Stop_Click()
{
    // Before the session stands there is nothing to keep: stopping is disconnecting.
    if (Connected && Inet1->stillExecuting() && !Inet1->sessionOpen()) Discon_Click();
    else if (stoppableCommandRuns()) Inet1->stop();
}

void Form1::Inet1_CommandStopped()
{
    // Not an error: the window is ready in the same folder, as after a completed
    // command, but nothing is listed again and no name is added.
    progressPanel->finish();
    downloadInHand = {};
    clearOperationMarks();
    marksOfRunningCommand = operationMarks();
    completionTail();
    setWindowTitle(text(163));
}

} // namespace corvexo
