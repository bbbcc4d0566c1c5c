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
#include <QToolBar>

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
    const WindowPlacements p = planWindowLayout(
        shownOn->geometry().size() * kTwipsPerPixel, frame * kTwipsPerPixel);

    const QRect outer = twipsToPixels(p.window);
    const QSize inside = outer.size() - frame;
    if (size() != inside) resize(inside);  // comes back here with the size already right
    move(shownOn->geometry().topLeft() + outer.topLeft());
    placeControls(p);
}

// The frame's extent as last seen in the normal state: a window on its way back
// from maximised may still report the maximised frame, which would shrink it.
QSize Form1::normalFrame()
{
    const QSize frame = frameGeometry().size() - size();
    if (windowState() == Qt::WindowNoState && isVisible() && !frame.isEmpty()) normalFrame_ = frame;
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

void Form1::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void Form1::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Coming back from minimised runs the layout again, as a change of size would.
    if (event->type() == QEvent::WindowStateChange) Form_Resize();
}

} // namespace corvexo
