#pragma once
// Picture1: shows one picture at its top-left corner, unscaled, and reports clicks.

#include <QLabel>

namespace corvexo {

class PictureBox : public QLabel {
    Q_OBJECT
public:
    explicit PictureBox(QWidget *parent = nullptr);
    // Loads the picture file; a missing or unreadable file keeps the previous picture.
    bool showFile(const QString &path);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

} // namespace corvexo
