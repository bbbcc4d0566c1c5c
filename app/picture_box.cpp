#include "picture_box.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QMouseEvent>
#include <QPixmap>

namespace corvexo {

QString sharperPictureFile(const QString &path, qreal ratio)
{
    if (ratio <= 1.0) return path;
    const QFileInfo plain(path);
    const QString suffix = plain.suffix().isEmpty() ? QString() : u'.' + plain.suffix();
    const QString twice = plain.dir().filePath(plain.completeBaseName() + QStringLiteral("@2x") + suffix);
    return QFileInfo::exists(twice) ? twice : path;
}

QImage readPicture(const QString &path, qreal ratio)
{
    const QString file = sharperPictureFile(path, ratio);
    QImage picture = QImageReader(file).read();
    if (file != path && !picture.isNull()) picture.setDevicePixelRatio(2.0);
    return picture;
}

PictureBox::PictureBox(QWidget *parent) : QLabel(parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setAutoFillBackground(true);
}

bool PictureBox::showFile(const QString &path)
{
    if (path.isEmpty()) return false;
    const QImage picture = readPicture(path, devicePixelRatioF());
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
