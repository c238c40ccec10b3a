#pragma once
// Where the main window goes: at the first start, 1024 × 768 of client area wherever
// that fits the screen's available area with the window manager's frame around it, each
// dimension shrunk to what fits otherwise, centred; from then on the size, place and
// maximised state it had when it last closed.

#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

namespace tervalen::shell {

inline constexpr QSize kFirstClientSize{1024, 768};
// What a window manager's frame is allowed around the client area before the window is
// shown (its real frame is not known until then): a title bar and thin borders.
inline constexpr QMargins kFrameAllowance{4, 32, 4, 8};

struct Placement {
    QPoint frameTopLeft;  // where the window's frame starts
    QSize clientSize;
    bool operator==(const Placement&) const = default;
};
// For a first start: `wanted` as the client size where it fits in `available` with
// `frame` around it, each dimension that does not fit shrunk to what does, the framed
// window centred in `available`.
Placement firstPlacement(QSize wanted, const QRect& available, const QMargins& frame);

// Gives the window the place it had when it last closed (remembered in the settings),
// or, the first time, firstPlacement() on its screen. Call before showing it.
void placeMainWindow(QWidget& window);
// Remembers the window's size, place and maximised state for the next start.
void rememberMainWindow(const QWidget& window);

}  // namespace tervalen::shell
