#include "app/main_window.h"
#include "app/elided_label.h"
#include "app/picture_box.h"
#include "app/window_placements.h"
#include "file_list_widget.h"
#include "local/folder_box.h"

#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QResizeEvent>
#include <QScreen>
#include <QStatusBar>
#include <QGuiApplication>
#include <QTimer>
#include <QToolBar>
#include <QWindow>

namespace corvexo {

namespace {

// A caption whose text is larger than its place gets a smaller font rather than being cut.
void fitCaption(QLabel *label)
{
    QFont font = label->font();
    int pixels = QFontInfo(font).pixelSize();
    auto fits = [&] {
        const QSize needed = QFontMetrics(font).size(Qt::TextSingleLine, label->text());
        return needed.width() <= label->width() && needed.height() <= label->height();
    };
    while (pixels > 8 && !fits()) font.setPixelSize(--pixels);
    label->setFont(font);
}

} // namespace

void Form1::Form_Resize()
{
    // A minimised window keeps what the platform gave it; a maximised one is
    // left where the platform put it, its controls laid out over all its room.
    if (windowState() & (Qt::WindowMinimized | Qt::WindowFullScreen)) return;
    if (windowState() & Qt::WindowMaximized)
        return placeControls(planMaximisedLayout(centralWidget()->size() * kTwipsPerPixel));
    const QScreen *shownOn = screen();
    if (!shownOn) return;
    const QSize frame = normalFrame();
    frameUsed_ = frame;
    const WindowPlacements p = planWindowLayout(
        shownOn->geometry().size() * kTwipsPerPixel, frame * kTwipsPerPixel);

    const QRect outer = twipsToPixels(p.window);
    const QSize inside = outer.size() - frame;
    if (size() != inside) resize(inside);  // comes back here with the size already right
    move(shownOn->geometry().topLeft() + outer.topLeft());
    placeControls(p);
}

// The frame's extent in the normal state. A window manager tells it only after
// the window was shown, and a window on its way back from maximised still reports
// the maximised frame, which has no borders: the largest frame seen counts.
QSize Form1::normalFrame()
{
    const QSize frame = frameGeometry().size() - size();
    if (inNormalState()) normalFrame_ = normalFrame_.expandedTo(frame);
    return normalFrame_.isValid() ? normalFrame_ : frame;
}

void Form1::placeControls(const WindowPlacements &p)
{
    Toolbar1->lower();  // the picture box is drawn over the toolbar's lower edge
    StatusBar1->setFixedHeight(twipsToPixels(p.statusBarHeight));
    Toolbar1->setFixedHeight(twipsToPixels(p.toolbarHeight));
    dockBars();
    ListView1->setGeometry(twipsToPixels(p.ListView1));
    ListView2->setGeometry(twipsToPixels(p.ListView2));
    Label1->setGeometry(twipsToPixels(p.Label1));
    Label2->setGeometry(twipsToPixels(p.Label2));
    Dir1->setGeometry(twipsToPixels(p.Dir1));
    Text1->setGeometry(twipsToPixels(p.Text1));
    Drive1->setGeometry(twipsToPixels(p.Drive1));
    Combo1->setGeometry(twipsToPixels(p.Combo1));
    Picture1->setGeometry(twipsToPixels(p.Picture1));
    remotePath->setGeometry(twipsToPixels(p.remotePath));
    for (QLabel *caption : {Label1, Label2}) fitCaption(caption);
    Text1->raise();  // its lowest pixel row meets the lists' top edge
    Picture1->raise();
}

// The toolbar along the client area's top edge, the status bar along its bottom edge.
void Form1::dockBars()
{
    const QSize client = centralWidget()->size();
    Toolbar1->setGeometry(0, 0, client.width(), Toolbar1->height());
    StatusBar1->setGeometry(0, client.height() - StatusBar1->height(), client.width(), StatusBar1->height());
}

bool Form1::inNormalState() const
{
    return !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
}

// A window manager frames the window after it was first shown: the outer size
// then has to be made right again. Moving it by its title bar changes nothing.
void Form1::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    layoutIfFramed();
}

// The window manager tells the frame by a property of the window (on X11), at
// times only after the window was shown and activated: a changed property has the
// frame looked at again, once the toolkit has read the property itself.
bool Form1::nativeEvent(const QByteArray &eventType, void *message, qintptr *result)
{
    constexpr quint8 kPropertyNotify = 28;
    if (eventType == "xcb_generic_event_t" && (static_cast<const quint8 *>(message)[0] & 0x7f) == kPropertyNotify
        && !frameCheckQueued_) {
        frameCheckQueued_ = true;
        QMetaObject::invokeMethod(this, [this] {
            frameCheckQueued_ = false;
            layoutIfFramed();
        }, Qt::QueuedConnection);
    }
    return QMainWindow::nativeEvent(eventType, message, result);
}

void Form1::layoutIfFramed()
{
    if (!inNormalState() || !isVisible()) return;
    if (normalFrame() != frameUsed_) return scheduleLayout();
    if (normalFrame().isNull()) remeasureFrameSoon();
}

// The toolkit may have measured the frame while the window manager was still
// building it (no frame yet, or one of 1 x 1 pixels), and measures again only when
// the window is configured anew: ask for that a few times, a moment apart. Without
// a window manager nothing changes.
void Form1::remeasureFrameSoon()
{
    if (frameRemeasureQueued_ || frameRemeasures_ >= kFrameRemeasures) return;
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return;
    frameRemeasureQueued_ = true;
    QTimer::singleShot(250, this, [this] {
        frameRemeasureQueued_ = false;
        ++frameRemeasures_;
        QWindow *window = windowHandle();
        if (!window || !inNormalState()) return;
        window->setFramePosition(window->framePosition());
        layoutIfFramed();
    });
}

void Form1::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (isVisible()) scheduleLayout();
    else Form_Resize();
}

// A window manager that maximises the window tells its new size before its new
// state; the layout step runs once both are in, so that it never shrinks a
// window on its way to being maximised (and never drifts when it comes back).
void Form1::scheduleLayout()
{
    if (layoutScheduled_) return;
    layoutScheduled_ = true;
    QMetaObject::invokeMethod(this, [this] {
        layoutScheduled_ = false;
        Form_Resize();
    }, Qt::QueuedConnection);
}

void Form1::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Coming back from minimised or maximised runs the layout again, as a change of size would.
    if (event->type() == QEvent::WindowStateChange) Form_Resize();
    // The window manager has framed the window by the time it activates it.
    if (event->type() == QEvent::ActivationChange) layoutIfFramed();
}

} // namespace corvexo
