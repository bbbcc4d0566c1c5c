#include "picture_box.h"

#include <QImageReader>
#include <QMouseEvent>
#include <QPixmap>

namespace corvexo {

PictureBox::PictureBox(QWidget *parent) : QLabel(parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setAutoFillBackground(true);
}

bool PictureBox::showFile(const QString &path)
{
    if (path.isEmpty()) return false;
    QImageReader reader(path);
    const QImage picture = reader.read();
    if (picture.isNull()) return false;
    setPixmap(QPixmap::fromImage(picture));
    shownFile_ = path;
    emit pictureShown(path);
    return true;
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}

} // namespace corvexo
