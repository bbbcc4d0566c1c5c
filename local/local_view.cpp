#include "app/main_window.h"

#include "app/data_files.h"
#include "app/file_list_widget.h"
#include "app/image_list.h"
#include "app/message_box.h"
#include "app/strings/string_table.h"
#include "files/file_messages.h"
#include "local/drive_list.h"
#include "local/file_icons.h"
#include "local/folder_box.h"
#include "local/local_folder_rows.h"
#include "local/local_messages.h"
#include "local/local_paths.h"
#include "local/remembered_folder.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>

namespace corvexo {

namespace {

const QString kRememberedFolderFile = QStringLiteral("childpf");

bool isEnterKey(int key)
{
    return key == 13 || key == Qt::Key_Return || key == Qt::Key_Enter;
}

// The folder the program was started in; when that is gone, the home folder.
QString startFolder()
{
    for (const QString &candidate : {QDir::currentPath(), QDir::homePath(), QStringLiteral("/")})
        if (checkFolder(candidate) == FolderCheck::Usable) return candidate;
    return QStringLiteral("/");
}

QString refusalText(FolderCheck check, const QString &path, const QString &kept)
{
    switch (check) {
    case FolderCheck::NotFolder: return notAFolderText(path, kept);
    case FolderCheck::Unreadable: return folderUnreadableText(path, kept);
    default: return folderMissingText(path, kept);
    }
}

} // namespace

void Form1::Drive1_Change()
{
    if (Drive1->currentIndex() == Drive1Shown) return;  // the box went back to the drive shown
    const QString drive = Drive1->currentData().toString();
    if (Dir1->setPath(drive)) {
        Drive1Shown = Drive1->currentIndex();
        return;
    }
    setStatusText(driveUnreadableText(drive, Dir1->path()));
    Drive1->setCurrentIndex(Drive1Shown);
}

void Form1::Dir1_Change()
{
    File1Path = Dir1->path();
    Ftype();
    Text1->setText(Dir1->path());
}

void Form1::Ftype()
{
    // One row per file, as ITYPE would append them; a folder of many files fills between events.
    ListView1->fill(std::make_unique<LocalFolderRows>(File1Path));
}

void Form1::unPathF()
{
    LPath = File1Path;
    const QString path = dataFilePath(kRememberedFolderFile);
    const QString reason = writeRememberedFolder(path, LPath);
    // A box, since this runs at exit when the status bar is about to go.
    if (!reason.isEmpty()) showMessage(this, fileNotSavedMessage(kRememberedFolderFile, path, reason));
}

void Form1::LPathF()
{
    StartPath.clear();
    const RememberedFolderRead read = readRememberedFolder(dataFilePath(kRememberedFolderFile));
    if (!read.present) return;
    if (!read.readable) {
        setStatusText(rememberedFolderNotReadText());
        return;
    }
    LPath = read.folder;
    if (!LPath.isEmpty() && QFileInfo::exists(LPath)) StartPath = LPath;
}

void Form1::Text1_KeyDown(int key)
{
    if (!isEnterKey(key)) return;
    const QString typed = Text1->text();
    const QString kept = Dir1->path();
    const QString target = resolveTypedPath(kept, typed, QDir::homePath());
    const FolderCheck check = checkFolder(target);
    if (check == FolderCheck::Usable && Dir1->setPath(target)) return;
    setStatusText(refusalText(check, typed, kept));
    Text1->setText(kept);
}

void Form1::ListView1_FocusOrClick()
{
    if (ListView2->count() > 0 && ListView2->currentEntrySelected()) ListView2->unselectCurrentEntry();
    EdDI1();
}

void Form1::ListView1_MouseDown(Qt::MouseButton button, const QPoint &globalPos)
{
    if (!ListView1->hasFocus()) ListView1->setFocus(Qt::MouseFocusReason);
    LMouseDown = true;
    if (button == Qt::RightButton) {
        edit->setEnabled(true);
        edit->menuAction()->setEnabled(true);
        LPopup = true;
        edit->popup(globalPos);
    } else {
        EdDI1();
    }
    LMouseDown = false;
}

void Form1::ListView1_KeyDown(int key)
{
    if (isEnterKey(key)) ListView1_DblClick();
}

void Form1::ListView1_DblClick()
{
    if (!Connected) {
        showMessage(this, text(205));
        return;
    }
    CopyToFTP();
}

void Form1::ListView1_DragDrop(const DropContents &dropped)
{
    if (downloadDropped(dropped)) return;
    // Anything else dropped here downloads the remote list's current entry.
    if (ListView2->currentRow() < 0) {
        showMessage(this, noRemoteEntryText());
        return;
    }
    if (!askYesNo(this, text(213), text(175))) return;
    CopyFromFTP();
}

void Form1::connectLocalViewSignals()
{
    // The view starts in the folder the program was started in; start-up lists it.
    const QString start = startFolder();
    const QStringList drives = mountedDriveRoots();
    for (const QString &root : drives) Drive1->addItem(root, root);
    Drive1Shown = qMax(0, driveIndexOf(drives, start));
    Drive1->setCurrentIndex(Drive1Shown);
    Dir1->setPath(start);

    connect(Drive1, &QComboBox::currentIndexChanged, this, &Form1::Drive1_Change);
    connect(Dir1, &FolderBox::changed, this, &Form1::Dir1_Change);
    connect(Dir1, &FolderBox::pathRefused, this, [this](const QString &path) {
        setStatusText(refusalText(checkFolder(path), path, Dir1->path()));
    });
    connect(Text1, &QLineEdit::returnPressed, this, [this] { Text1_KeyDown(Qt::Key_Return); });

    connect(ListView1, &FileListWidget::focusReceived, this, &Form1::ListView1_FocusOrClick);
    connect(ListView1, &FileListWidget::clickedAnywhere, this, &Form1::ListView1_FocusOrClick);
    connect(ListView1, &FileListWidget::selectionMovedByKey, this, &Form1::ListView1_FocusOrClick);
    ListView1->setImageSource([this](int image) { return ImageList1->icon(image); });
    connect(ListView1, &FileListWidget::mouseButtonPressed, this, &Form1::ListView1_MouseDown);
    connect(ListView1, &FileListWidget::keyPressed, this, &Form1::ListView1_KeyDown);
    connect(ListView1, &FileListWidget::entryActivatedByMouse, this, &Form1::ListView1_DblClick);
    // The question waits until the drop itself has ended.
    connect(ListView1, &FileListWidget::droppedOn, this, &Form1::ListView1_DragDrop, Qt::QueuedConnection);
}

} // namespace corvexo
