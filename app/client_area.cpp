#include "client_area.h"

#include <QPainter>
#include <QPaintEvent>

namespace corvexo {

ClientArea::ClientArea(QWidget *parent) : QWidget(parent), backColor_(palette().color(QPalette::Window)) {}

void ClientArea::setBackColor(const QColor &color)
{
    backColor_ = color;
    update();
}

void ClientArea::paintEvent(QPaintEvent *event)
{
    QPainter(this).fillRect(event->rect(), backColor_);
}

void ClientArea::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    emit resized();
}

} // namespace corvexo
