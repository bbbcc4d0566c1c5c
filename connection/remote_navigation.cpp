#include "app/file_list_widget.h"
#include "app/image_list.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "app/strings/string_table.h"
#include "connection/remote_listing.h"
#include "remote_ops/edit_availability_table.h"

#include <QMenu>

namespace corvexo {

void Form1::FCD(bool &UPone)
{
    const bool up = UPone;
    UPone = false;
    if (MkdWait) {
        // A folder was just created here: only list this folder again.
        CdWait = true;
        CdList = false;
        MkdWait = false;
        executeCommand(TransferCommand::listing());
        return;
    }
    if (up) return goUp();
    if (ListView2->currentRow() < 0) return;  // an empty list has nothing to open
    const QString entry = ListView2->currentEntryText();
    if (isSelfOrParentEntry(entry)) {
        goUp();
    } else if (entry.endsWith(u'/')) {
        CdWait = true;
        CdList = true;
        executeCommand(TransferCommand::changeDir(entry.chopped(1)));
    } else {
        CopyFromFTP();
    }
}

// Up one folder; the folder left is the current entry of the next listing.
void Form1::goUp()
{
    CdWait = true;
    CdList = true;
    if (executeCommand(TransferCommand::parentDir()) == TransferError::None)
        ListView2->chooseAfterRefill(folderEntryOf(Inet1->currentFolder()));
}

void Form1::CupD_Click()
{
    bool up = true;
    FCD(up);
}

void Form1::ListView2_FocusOrClick()
{
    if (ListView1->count() > 0 && ListView1->currentEntrySelected()) ListView1->unselectCurrentEntry();
    if (ListView2->isEnabled()) EdDI2();
}

void Form1::ListView2_DblClick()
{
    FCD();
}

void Form1::ListView2_KeyDown(int key)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter) FCD();
    else if (key == Qt::Key_Delete) Fdelete_Click();
    else if (key == Qt::Key_Backspace && Connected) CupD_Click();
}

void Form1::ListView2_MouseDown(Qt::MouseButton button, const QPoint &globalPos)
{
    ListView2->setFocus(Qt::MouseFocusReason);
    if (button == Qt::RightButton) edit->popup(globalPos);
    else EdDI2();
}

// Names are changed through the rename command, never in place.
void Form1::ListView2_BeforeLabelEdit()
{
    if (ListView2->count() == 0 || !ListView2->currentEntrySelected()) return;
    if (isSelfOrParentEntry(ListView2->currentEntryText())) return;
    FrDRname_Click();
}

void Form1::ListView2_DragDrop(const DropContents &dropped)
{
    ListView2->setFocus(Qt::OtherFocusReason);
    if (uploadDropped(dropped)) return;
    if (askYesNo(this, text(174), text(175))) CopyToFTP();
}

void Form1::connectRemoteListSignals()
{
    connect(ListView2, &FileListWidget::focusReceived, this, &Form1::ListView2_FocusOrClick);
    connect(ListView2, &FileListWidget::clickedAnywhere, this, &Form1::ListView2_FocusOrClick);
    connect(ListView2, &FileListWidget::selectionMovedByKey, this, &Form1::ListView2_FocusOrClick);
    connect(ListView2, &FileListWidget::fillFinished, this, [this] {
        tellListingOutcome(Inet1->unreadableEntries());
        if (Connected) completionTail();  // a session lost meanwhile stays disconnected
    });
    ListView2->setImageSource([this](int image) { return ImageList1->icon(image); });
    connect(ListView2, &FileListWidget::entryActivatedByMouse, this, &Form1::ListView2_DblClick);
    connect(ListView2, &FileListWidget::keyPressed, this, &Form1::ListView2_KeyDown);
    connect(ListView2, &FileListWidget::mouseButtonPressed, this, &Form1::ListView2_MouseDown);
    connect(ListView2, &FileListWidget::labelEditRequested, this, &Form1::ListView2_BeforeLabelEdit);
    // The question waits until the drop itself has ended.
    connect(ListView2, &FileListWidget::droppedOn, this, &Form1::ListView2_DragDrop, Qt::QueuedConnection);
}

} // namespace corvexo
