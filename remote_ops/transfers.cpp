#include "app/main_window.h"

#include "app/file_list_widget.h"
#include "app/message_box.h"
#include "app/strings/string_table.h"
#include "local/local_messages.h"
#include "local/local_paths.h"

namespace corvexo {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

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
    if (ListView2->currentRow() < 0) {
        showMessage(this, noRemoteEntryText());
        return;
    }
    const QString remote = ListView2->currentEntryText();
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
    if (ListView1->rowOf(remote) < 0) {
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
    if (ListView1->currentRow() < 0) {
        showMessage(this, noLocalEntryText());
        return;
    }
    const QString local = ListView1->currentEntryText();
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
