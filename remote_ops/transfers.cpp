#include "app/main_window.h"

#include "app/file_list_widget.h"
#include "app/message_box.h"
#include "app/strings/string_table.h"
#include "local/local_messages.h"
#include "local/local_paths.h"

namespace corvexo {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

bool isListed(const QListWidget *list, const QString &name)
{
    for (int row = 0; row < list->count(); ++row)
        if (list->item(row)->text() == name) return true;
    return false;
}

} // namespace

void Form1::CopyFromFTP()
{
    const QString folder = File1Path;
    if (isRootFolder(folder)) {
        showMessage(this, text(167) + kLineEnd + text(168));
        return;
    }
    if (containsBlank(folder)) {
        showMessage(this, text(169) + kLineEnd + kLineEnd + text(170));
        return;
    }
    if (!Connected) {
        showMessage(this, text(173));
        return;
    }
    const QListWidgetItem *entry = ListView2->currentItem();
    if (!entry) {
        showMessage(this, noRemoteEntryText());
        return;
    }
    const QString remote = entry->text();
    // The name becomes part of a local path: it must name a file of this folder.
    if (!isPlainRemoteFileName(remote)) {
        showMessage(this, unsafeRemoteNameText(remote));
        return;
    }
    // A refused command completes nothing, so the mark goes back to what an earlier command left.
    const bool earlierGetWait = GetWait;
    GetWait = true;
    if (executeCommand(TransferCommand::get(remote, localFilePath(folder, remote))) != TransferError::None) {
        GetWait = earlierGetWait;
        return;
    }
    if (!isListed(ListView1, remote)) {
        LFileName = remote;
        ITYPE();
    }
    ListView1->viewport()->update();
}

void Form1::CopyToFTP()
{
    const QString folder = File1Path;
    if (isRootFolder(folder)) {
        showMessage(this, text(172) + kLineEnd + text(168));
        return;
    }
    if (containsBlank(folder)) {
        showMessage(this, text(171) + kLineEnd + kLineEnd + text(170));
        return;
    }
    if (!Connected) {
        showMessage(this, text(173));
        return;
    }
    const QListWidgetItem *entry = ListView1->currentItem();
    if (!entry) {
        showMessage(this, noLocalEntryText());
        return;
    }
    const QString local = entry->text();
    // A refused command completes nothing, so the marks go back to what an earlier command left.
    const bool earlierPutWait = PutWait, earlierPutList = PutList;
    PutWait = true;
    PutList = true;
    if (executeCommand(TransferCommand::put(localFilePath(folder, local), local)) != TransferError::None) {
        PutWait = earlierPutWait;
        PutList = earlierPutList;
    }
}

void Form1::DownL_Click()
{
    CopyFromFTP();
}

void Form1::UpL_Click()
{
    CopyToFTP();
}

} // namespace corvexo
