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

namespace {

constexpr int kListsTop = 1800;
constexpr QSize kPicture(2985, 1400);

WindowPlacements designPlaces()
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
    p.statusBarHeight = 300;
    return p;
}

// Everything that hangs on the lists' places, and the picture box at the client area's right edge.
void placeAroundLists(WindowPlacements &p, int clientWidth)
{
    p.Label1.moveLeft(p.ListView2.left() + 100);
    p.Label2.moveLeft(p.ListView1.left() + 60);
    p.Dir1.moveLeft(p.Combo1.width() + 200);
    p.Text1.setWidth(p.ListView1.width() - 800);
    // The captions end where the lists begin, and "Local:" where the path box
    // begins, so that neither covers the other nor is cut by a list.
    for (QRect *caption : {&p.Label1, &p.Label2})
        caption->setHeight(std::min(caption->height(), p.ListView1.top() - caption->top()));
    p.Label2.setWidth(std::min(p.Label2.width(), p.Text1.left() - p.Label2.left()));
    p.remotePath = QRect(p.Label1.right() + 1, p.Label1.top(), p.ListView2.right() - 100 - p.Label1.right(),
                         p.Label1.height());
    const int clientTop = 0;
    // The picture box overlaps the toolbar's lower edge, its right edge just
    // inside the client area's, on every screen.
    p.Picture1 = QRect(QPoint(clientWidth - kPicture.width() - 50, p.toolbarHeight + clientTop - 50), kPicture);
}

} // namespace

WindowPlacements planWindowLayout(const QSize &screen, const QSize &frame)
{
    WindowPlacements p = designPlaces();
    // The fixed outer size, centred on the screen.
    const QSize size = kWindowSizeTwips;
    p.window = QRect(QPoint((screen.width() - size.width()) / 2, (screen.height() - size.height()) / 2), size);
    p.ListView1 = QRect(0, kListsTop, 3500, 4000);
    p.ListView2 = QRect(p.ListView1.width(), kListsTop, 5480, 4000);
    placeAroundLists(p, size.width() - frame.width());
    return p;
}

WindowPlacements planMaximisedLayout(const QSize &client)
{
    WindowPlacements p = designPlaces();
    const int listsWidth = std::max(client.width() - 20, 8980);
    const int listsHeight = std::max(client.height() - p.statusBarHeight - kListsTop, 4000);
    const int localWidth = static_cast<int>(std::lround(double(listsWidth) * 3500 / 8980));
    p.ListView1 = QRect(0, kListsTop, localWidth, listsHeight);
    p.ListView2 = QRect(localWidth, kListsTop, listsWidth - localWidth, listsHeight);
    placeAroundLists(p, client.width());
    return p;
}

} // namespace corvexo
