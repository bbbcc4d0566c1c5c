#include "window_placements.h"

#include <algorithm>
#include <cmath>

namespace corvexo {

int twipsToPixels(int twips)
{
    return static_cast<int>(std::lround(static_cast<double>(twips) / kTwipsPerPixel));
}

int pixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }

QRect twipsToPixels(const QRect &twips)
{
    return {twipsToPixels(twips.left()), twipsToPixels(twips.top()), twipsToPixels(twips.width()),
            twipsToPixels(twips.height())};
}

QSize twipsToPixels(const QSize &twips) { return {twipsToPixels(twips.width()), twipsToPixels(twips.height())}; }

WindowPlacements planWindowLayout(const QSize &screen, const QSize &frame)
{
    WindowPlacements p;
    // The controls the layout does not move, at their design places.
    p.toolbarHeight = 450;
    p.Drive1 = QRect(120, 480, 1455, 300);
    p.Combo1 = QRect(120, 840, 1455, 300);
    p.Dir1 = QRect(0, 480, 3135, 930);
    p.File1 = QRect(1800, 600, 1695, 810);
    p.Text1 = QRect(840, 1560, 0, 255);
    p.Label1 = QRect(0, 1560, 975, 375);
    p.Label2 = QRect(0, 1560, 1695, 375);

    // The fixed outer size, centred on the screen.
    const QSize size = kWindowSizeTwips;
    p.window = QRect(QPoint((screen.width() - size.width()) / 2, (screen.height() - size.height()) / 2), size);
    p.statusBarHeight = 300;
    p.ListView1 = QRect(0, 1800, 3500, 4000);
    p.ListView2 = QRect(p.ListView1.width(), 1800, 5480, 4000);
    p.Label1.moveLeft(p.ListView2.left() + 100);
    p.Label2.moveLeft(p.ListView1.left() + 60);
    p.Dir1.moveLeft(p.Combo1.width() + 200);
    p.Text1.setWidth(p.ListView1.width() - 800);
    // The captions end where the lists begin, and "Local:" where the path box
    // begins, so that neither covers the other nor is cut by a list.
    for (QRect *caption : {&p.Label1, &p.Label2})
        caption->setHeight(std::min(caption->height(), p.ListView1.top() - caption->top()));
    p.Label2.setWidth(std::min(p.Label2.width(), p.Text1.left() - p.Label2.left()));
    const int clientTop = 0;
    const int clientWidth = size.width() - frame.width();
    // The picture box overlaps the toolbar's lower edge, its right edge just
    // inside the client area's, on every screen.
    const QSize picture(2985, 1400);
    p.Picture1 = QRect(QPoint(clientWidth - picture.width() - 50, p.toolbarHeight + clientTop - 50), picture);
    return p;
}

} // namespace corvexo
