#pragma once
// Where the main window and its controls go, in twips (15 twips = 1 pixel).
// Control positions are relative to the client area (below the menu bar,
// toolbar included); the window's rectangle is its outer one on the screen.

#include <QRect>
#include <QSize>

namespace corvexo {

inline constexpr int kTwipsPerPixel = 15;
inline constexpr QSize kWindowSizeTwips(9000, 6750);

int twipsToPixels(int twips);       // rounded to the nearest pixel
int pixelsToTwips(int pixels);
QRect twipsToPixels(const QRect &twips);
QSize twipsToPixels(const QSize &twips);

struct WindowPlacements {
    QRect window;  // outer rectangle on the screen
    int toolbarHeight = 0;
    int statusBarHeight = 0;
    QRect Drive1, Combo1, Dir1, File1, Text1, Label1, Label2, ListView1, ListView2, Picture1;
    QRect remotePath;  // the remote folder's path, from "Host:" to the remote list's right edge
};

// screen: the screen's size; frame: how much wider and taller the outer
// rectangle is than the window's inside (frame and caption, not the menu bar).
WindowPlacements planWindowLayout(const QSize &screen, const QSize &frame);

// A maximised window's controls in the same proportions: client is the client
// area's size. The lists take the added width (shared as 3500 to 5480) and height;
// the window's own rectangle is left empty, since the platform places it.
WindowPlacements planMaximisedLayout(const QSize &client);

} // namespace corvexo
