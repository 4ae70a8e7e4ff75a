#include "ScreenPlacement.h"

#include <algorithm>

namespace {

// How much of a window must be on a screen for a person to find it and drag it back.
constexpr int GrabbablePixels = 48;

bool Reachable(const QRect& window, const QRect& screen)
{
    const QRect visible = window.intersected(screen);
    return visible.width() >= std::min(GrabbablePixels, window.width())
           && visible.height() >= std::min(GrabbablePixels, window.height());
}

} // namespace

QRect BringOntoScreen(const QRect& window, const QList<QRect>& screens)
{
    if (screens.isEmpty())
        return window;
    for (const QRect& screen : screens) {
        if (Reachable(window, screen))
            return window;
    }
    const QRect& target = screens.front();
    QRect placed(QPoint(0, 0), window.size().boundedTo(target.size()));
    placed.moveCenter(target.center());
    return placed;
}
