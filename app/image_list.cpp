#include "image_list.h"
#include "data_files.h"

#include <QApplication>
#include <QStyle>

namespace corvexo {

ImageList::ImageList(QObject *parent) : QObject(parent) {}

QIcon ImageList::icon(int number) const
{
    const QString file = resourceFilePath(QStringLiteral("image%1.png").arg(number));
    if (!file.isEmpty()) return QIcon(file);
    QStyle *style = QApplication::style();
    return style->standardIcon(number == Image::Folder ? QStyle::SP_DirIcon : QStyle::SP_FileIcon);
}

QIcon ImageList::toolbarIcon(int position) const
{
    const QString file = resourceFilePath(QStringLiteral("toolbar%1.png").arg(position));
    if (!file.isEmpty()) return QIcon(file);
    QStyle *style = QApplication::style();
    switch (position) {
    case 1: return style->standardIcon(QStyle::SP_DriveNetIcon);
    case 2: return style->standardIcon(QStyle::SP_BrowserStop);
    case 3: return style->standardIcon(QStyle::SP_BrowserReload);
    case 5: return style->standardIcon(QStyle::SP_ArrowDown);
    case 6: return style->standardIcon(QStyle::SP_ArrowUp);
    case 7: return style->standardIcon(QStyle::SP_FileDialogDetailedView);
    default: return {};
    }
}

} // namespace corvexo
