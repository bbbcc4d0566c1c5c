#pragma once
// ImageList1: one list of 16 x 16 pictures, by 1-based number, for the
// toolbar and both file lists. 3 other file, 7 folder, 12 picture, 13 text,
// 14 control file, 15 web page, 17 sound; the toolbar's six are 1, 2, 4, 5, 6 and 8.

#include <QIcon>
#include <QObject>

namespace corvexo {

namespace Image {
enum : int { OtherFile = 3, Folder = 7, Picture = 12, Text = 13, ControlFile = 14, WebPage = 15, Sound = 17 };
}

class ImageList : public QObject {
    Q_OBJECT
public:
    explicit ImageList(QObject *parent = nullptr);
    QIcon icon(int number) const;
    // The toolbar's picture for a button position (1..7, not 4).
    QIcon toolbarIcon(int position) const;
};

} // namespace corvexo
