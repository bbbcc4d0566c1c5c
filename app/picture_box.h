#pragma once
// Picture1: shows one picture at its top-left corner, unscaled, and reports clicks.

#include <QLabel>

namespace corvexo {

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
