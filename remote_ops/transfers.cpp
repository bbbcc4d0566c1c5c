#include "app/main_window.h"

#include "app/file_list_widget.h"
#include "app/message_box.h"
#include "app/strings/string_table.h"
#include "local/local_messages.h"
#include "local/local_paths.h"
#include "remote_ops/edit_messages.h"

#include <QFileInfo>

#include <utility>

namespace corvexo {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

FileFacts localFacts(const QString &path)
{
    const QFileInfo info(path);
    return {info.size(), info.lastModified()};
}

FileFacts remoteFacts(const TransferControl &control, const QString &name)
{
    for (const RemoteEntry &entry : control.listedEntries())
        if (!entry.isFolder && entry.name == name) return {entry.size, entry.modified};
    return {};
}

} // namespace

void Form1::CopyFromFTP()
{
    const QString folder = File1Path;
    if (isRootFolder(folder)) {
        showMessage(this, text(167) + kLineEnd + text(168));
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
    if (ListView2->selectedEntryTexts().size() > 1) return queueSelectedDownloads();
    const QString remote = ListView2->currentEntryText();
    if (remoteEntryIsFolder(remote)) {
        const QString name = remote.chopped(1);
        if (!isPlainRemoteFileName(name)) return showMessage(this, unsafeRemoteNameText(remote));
        return queueFolderDownload(name);
    }
    // The name becomes part of a local path: it must name a file of this folder.
    if (!isPlainRemoteFileName(remote)) {
        showMessage(this, unsafeRemoteNameText(remote));
        return;
    }
    const QString target = localFilePath(folder, remote);
    // A busy control would refuse the download anyway: no question first.
    if (Inet1->stillExecuting()) return tellCommandRefusal(TransferError::StillExecuting);
    if (QFileInfo::exists(target)
        && !askYesNoDefaultingToNo(this, replaceLocalQuestion(remote, localFacts(target), remoteFacts(*Inet1, remote))))
        return;
    // A refused command completes nothing, so the mark goes back to what an earlier command left.
    const bool earlierGetWait = GetWait;
    GetWait = true;
    if (executeCommand(TransferCommand::get(remote, target)) != TransferError::None) {
        GetWait = earlierGetWait;
        return;
    }
    // Listed once it has arrived: a refused or failed download leaves no name behind.
    downloadInHand = {remote, folder};
}

void Form1::listDownloadedFile()
{
    const auto [name, folder] = std::exchange(downloadInHand, {});
    if (name.isEmpty() || folder != File1Path) return;
    if (!QFileInfo(localFilePath(folder, name)).isFile()) return;
    LFileName = name;
    ITYPE();
    ListView1->viewport()->update();
}

void Form1::CopyToFTP()
{
    const QString folder = File1Path;
    if (isRootFolder(folder)) {
        showMessage(this, text(172) + kLineEnd + text(168));
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
    if (ListView1->selectedEntryTexts().size() > 1) return queueSelectedUploads();
    const QString local = ListView1->currentEntryText();
    if (QFileInfo(localFilePath(folder, local)).isDir()) return queueFolderUpload(local);
    if (Inet1->stillExecuting()) return tellCommandRefusal(TransferError::StillExecuting);
    if (ListView2->rowOf(local) >= 0
        && !askYesNoDefaultingToNo(this, replaceRemoteQuestion(local, remoteFacts(*Inet1, local),
                                                          localFacts(localFilePath(folder, local)))))
        return;
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
