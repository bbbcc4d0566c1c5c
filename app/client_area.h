#pragma once
// The main window's client area: it paints the window's back colour behind
// the controls and lets them sit anywhere, overlapping, in its coordinates.
// The colour is painted rather than set in the palette so that it does not
// spread to the lists, boxes and bars on it.

#include <QColor>
#include <QWidget>

namespace corvexo {

class ClientArea : public QWidget {
    Q_OBJECT
public:
    explicit ClientArea(QWidget *parent = nullptr);
    QColor backColor() const { return backColor_; }
    void setBackColor(const QColor &color);

signals:
    void resized();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QColor backColor_;
};

} // namespace corvexo
