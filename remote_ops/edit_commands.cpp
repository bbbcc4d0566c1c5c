// Rename, folder creation and deletion of remote entries. Each sets its marks,
// hands one command to the transfer control and returns; the completion
// handler lists the folder again afterwards.

#include "app/main_window.h"

#include "app/file_list_widget.h"
#include "app/message_box.h"
#include "app/strings/string_table.h"
#include "remote_ops/edit_command_plan.h"
#include "remote_ops/edit_messages.h"
#include "remote_ops/name_dialog.h"

#include <QLineEdit>

namespace corvexo {

namespace {

RemoteEditContext remoteContext(const Form1 &window)
{
    RemoteEditContext remote;
    remote.connected = window.Connected;
    remote.busy = window.Inet1->stillExecuting();
    remote.entryCount = window.ListView2->count();
    remote.entryText = window.ListView2->currentEntryText();
    return remote;
}

QString typedName(Form1 &window)
{
    return window.form3 ? window.form3->Text1->text() : QString();
}

// Carries a plan out: the marks are set before the command goes, and taken back
// when the control refuses it, so that no later completion is mistaken for it.
void carryOut(Form1 &window, const EditPlan &plan, std::initializer_list<bool *> marks)
{
    switch (plan.outcome) {
    case EditPlan::Outcome::Send:
        for (bool *mark : marks) *mark = true;
        if (window.executeCommand(plan.command) != TransferError::None)
            for (bool *mark : marks) *mark = false;
        break;
    case EditPlan::Outcome::Refuse:
        showMessage(&window, plan.messageText.isEmpty() ? text(plan.message) : plan.messageText);
        break;
    case EditPlan::Outcome::NeedName:
        if (window.form3) window.form3->show();
        break;
    case EditPlan::Outcome::Ignore:
        break;
    }
}

} // namespace

void Form1::FrDRname_Click()
{
    nameDialog()->open(text(152), text(153));
}

void Form1::FMkD_Click()
{
    nameDialog()->open(text(139), text(140));
}

void Form1::R()
{
    carryOut(*this, planRename(remoteContext(*this), typedName(*this)), {&RenWait, &RenList});
}

void Form1::MKD()
{
    carryOut(*this, planMakeDir(remoteContext(*this), typedName(*this)), {&MkdWait, &CdList});
}

void Form1::Fdelete_Click()
{
    // More than one entry, or a folder that may hold more: counted and deleted through the queue.
    if (deleteThroughQueue()) return;
    // One key press must not lose a remote file: the entry is named and No is the default.
    const EditPlan plan = planDelete(remoteContext(*this));
    if (plan.outcome == EditPlan::Outcome::Send
        && !askYesNoDefaultingToNo(this, deleteQuestion(ListView2->currentEntryText())))
        return;
    carryOut(*this, plan, {&DelWait, &DelList});
}

} // namespace corvexo
