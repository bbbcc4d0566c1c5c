// Drops that carry more than one entry: a selection dragged from the other
// list, files and folders from the desktop's file manager, and the command
// that uploads the local view's folder as a whole. A single file dragged
// between the lists keeps the single-entry route.

#include "app/main_window.h"

#include "app/file_list_widget.h"
#include "app/message_box.h"
#include "app/selection_texts.h"
#include "app/strings/string_table.h"
#include "local/local_paths.h"
#include "queue/transfer_queue.h"
#include "remote_ops/edit_availability_table.h"

#include <QDir>
#include <QFileInfo>

namespace corvexo {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

QStringList withoutParentEntries(const QStringList &entries)
{
    QStringList kept;
    for (const QString &entry : entries)
        if (!isSelfOrParentEntry(entry)) kept << entry;
    return kept;
}

} // namespace

bool Form1::uploadDropped(const DropContents &dropped)
{
    using Kind = DropContents::Kind;
    if (dropped.kind == Kind::NotFiles) {
        showMessage(this, notFilesDroppedText(dropped.refused));
        return true;
    }
    const bool fromDesktop = dropped.kind == Kind::LocalFiles;
    const bool fromLocalList = dropped.kind == Kind::ListEntries && dropped.side == ListSide::Local;
    if (!fromDesktop && !fromLocalList) return false;
    if (fromLocalList && dropped.entries.size() == 1
        && !QFileInfo(localFilePath(File1Path, dropped.entries.first())).isDir())
        return false;
    if (!askYesNo(this, text(174), text(175))) return true;
    if (fromLocalList && isRootFolder(File1Path)) {
        showMessage(this, text(172) + kLineEnd + text(168));
        return true;
    }
    if (!Connected) {
        showMessage(this, text(173));
        return true;
    }
    if (fromLocalList) {
        queueUploads(dropped.entries);
        return true;
    }
    queue::TransferQueue *queue = transferQueue();
    for (const QString &path : dropped.paths)
        queue->addUpload(path, remotePathInCurrentFolder(QFileInfo(path).fileName()));
    refreshRemoteWhenQueueEnds();
    Transfers_Click();
    return true;
}

bool Form1::downloadDropped(const DropContents &dropped)
{
    if (dropped.kind != DropContents::Kind::ListEntries || dropped.side != ListSide::Remote) return false;
    const QStringList entries = withoutParentEntries(dropped.entries);
    if (entries.isEmpty() || (entries.size() == 1 && !remoteEntryIsFolder(entries.first()))) return false;
    if (!askYesNo(this, text(213), text(175))) return true;
    if (isRootFolder(File1Path)) {
        showMessage(this, text(167) + kLineEnd + text(168));
    } else if (!Connected) {
        showMessage(this, text(173));
    } else {
        queueDownloads(entries);
    }
    return true;
}

void Form1::UploadFolder_Click()
{
    const QString folder = File1Path;
    if (isRootFolder(folder)) return showMessage(this, text(172) + kLineEnd + text(168));
    if (!Connected) return showMessage(this, text(173));
    transferQueue()->addUpload(folder, remotePathInCurrentFolder(QDir(folder).dirName()));
    refreshRemoteWhenQueueEnds();
    Transfers_Click();
}

} // namespace corvexo
