#pragma once
// Picture1: shows one picture at its top-left corner, unscaled, and reports clicks.
// On a scaled screen (device pixel ratio 2) a picture is drawn from its twice as
// large file "name@2x.ext" beside it, where the program ships one.

#include <QImage>
#include <QLabel>

namespace corvexo {

// The file to draw on a screen of this pixel ratio: the @2x file beside path when
// the ratio is above 1 and that file exists, else path itself.
QString sharperPictureFile(const QString &path, qreal ratio);
// The picture from that file, sized as the plain one on the screen; null when unreadable.
QImage readPicture(const QString &path, qreal ratio);

class PictureBox : public QLabel {
    Q_OBJECT
public:
    explicit PictureBox(QWidget *parent = nullptr);
    // Reads the picture file afresh (nothing is cached); a missing or
    // unreadable file keeps the previous picture and returns false.
    bool showFile(const QString &path);
    QString shownFile() const { return shownFile_; }

signals:
    void clicked();
    void pictureShown(const QString &path);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QString shownFile_;
};

} // namespace corvexo
