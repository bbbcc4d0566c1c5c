#include "image_list.h"
#include "data_files.h"
#include "toolbar_buttons.h"

#include <QApplication>
#include <QStyle>

namespace corvexo {

namespace {

// What to show when a shipped picture is missing.
QStyle::StandardPixmap fallbackFor(int number)
{
    switch (number) {
    case 1: return QStyle::SP_DriveNetIcon;
    case 2: return QStyle::SP_BrowserStop;
    case 4: return QStyle::SP_BrowserReload;
    case 5: return QStyle::SP_ArrowDown;
    case 6: return QStyle::SP_ArrowUp;
    case 8: return QStyle::SP_FileDialogDetailedView;
    case Image::Folder: return QStyle::SP_DirIcon;
    default: return QStyle::SP_FileIcon;
    }
}

} // namespace

ImageList::ImageList(QObject *parent) : QObject(parent) {}

QIcon ImageList::icon(int number) const
{
    const QString file = resourceFilePath(QStringLiteral("image%1.png").arg(number));
    if (!file.isEmpty()) return QIcon(file);
    return QApplication::style()->standardIcon(fallbackFor(number));
}

QIcon ImageList::toolbarIcon(int position) const
{
    const int number = toolbarButtonAt(position).image;
    return number == 0 ? QIcon() : icon(number);
}

} // namespace corvexo
