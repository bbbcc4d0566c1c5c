#include "about_window.h"
#include "data_files.h"
#include "picture_box.h"
#include "event_hook.h"
#include "window_placements.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace corvexo {

namespace {

const QString kAuthor = QStringLiteral("Pell");
const QString kMailAddress = QStringLiteral("pell@corvexo.example.org");
const QString kWebAddress = QStringLiteral("https://www.corvexo.example.org/pell/");

QLabel *makeLabel(QWidget *parent, const QRect &twips, const QString &family, qreal points, bool bold,
                  const QColor &color = QColor())
{
    auto *label = new QLabel(parent);
    label->setGeometry(twipsToPixels(twips));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(bold);
    label->setFont(font);
    if (color.isValid()) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, color);
        label->setPalette(palette);
    }
    return label;  // no back fill: the text is drawn over the window's picture
}

} // namespace

Form4::Form4(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("About Corvexo..."));
    setFixedSize(twipsToPixels(QSize(2985, 1455)));
    background_ = QPixmap::fromImage(readPicture(resourceFilePath(QStringLiteral("about.gif")), devicePixelRatioF()));
    Label1 = makeLabel(this, QRect(480, 240, 2175, 375), QStringLiteral("Arial"), 8.25, true);
    Label2 = makeLabel(this, QRect(480, 600, 2055, 255), QStringLiteral("Century"), 8.25, false, QColor(255, 192, 192));
    Label3 = makeLabel(this, QRect(480, 840, 2175, 375), QStringLiteral("Tahoma"), 7.5, true, QColor(0, 0, 255));
    watchLink(Label2, QStringLiteral("Mail to Pell"), &Form4::Label2_Click);
    watchLink(Label3, QStringLiteral("Go to Pell's site"), &Form4::Label3_Click);
    Form_Load();
    // The version and address lines show whole, whatever fonts stand in for Arial and
    // Tahoma (a Japanese desktop's fallback fonts are taller).
    fitWhole(Label1, Label2->y());
    fitWhole(Label3, height());
}

// Grows the label down to its text's height, and takes a smaller font when even
// the room down to `bottom` is not enough.
void Form4::fitWhole(QLabel *label, int bottom)
{
    QFont font = label->font();
    for (qreal points = font.pointSizeF(); ; points -= 0.5) {
        font.setPointSizeF(points);
        label->setFont(font);
        const int needed = label->heightForWidth(label->width());
        if (label->y() + needed <= bottom || points <= 6) {
            label->resize(label->width(), std::max(label->height(), std::min(needed, bottom - label->y())));
            return;
        }
    }
}

QUrl Form4::mailTarget() { return QUrl(QStringLiteral("mailto:") + kMailAddress); }
QUrl Form4::webTarget() { return QUrl(kWebAddress); }

void Form4::Form_Load()
{
    Label1->setText(QStringLiteral("Corvexo1.0 Beta2\r\nVersion: 1.0"));
    Label2->setText(QStringLiteral("Programmed by ") + kAuthor);
    Label3->setText(QStringLiteral("More information: ") + kWebAddress.left(22) + QStringLiteral("..."));
}

// Pointing at a link gives it its tooltip and the hand pointer; a click opens it.
void Form4::watchLink(QLabel *label, const QString &tooltip, void (Form4::*click)())
{
    label->setMouseTracking(true);
    auto *hook = new EventHook(label, [this, label, tooltip, click](QObject *, QEvent *event) {
        if (event->type() == QEvent::MouseMove) {
            label->setToolTip(tooltip);
            label->setCursor(Qt::PointingHandCursor);
        } else if (event->type() == QEvent::MouseButtonRelease) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() == Qt::LeftButton && label->rect().contains(mouse->position().toPoint()))
                (this->*click)();
        }
        return false;
    });
    hook->watch(label);
}

// The desktop opens the link with the user's own mail program or browser;
// when it cannot, there is nothing more to do here.
void Form4::Label2_Click() { QDesktopServices::openUrl(mailTarget()); }
void Form4::Label3_Click() { QDesktopServices::openUrl(webTarget()); }

void Form4::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void Form4::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.drawPixmap(0, 0, background_);
}

} // namespace corvexo
