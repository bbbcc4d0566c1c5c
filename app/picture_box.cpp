#include "picture_box.h"

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
    QPixmap picture;
    if (path.isEmpty() || !picture.load(path)) return false;
    setPixmap(picture);
    return true;
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}

} // namespace corvexo
