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
    const auto shown = std::find_if(screens.begin(), screens.end(), [&](const QRect& s) { return Reachable(window, s); });
    const QRect& screen = shown != screens.end() ? *shown : screens.front();
    QRect placed(window.topLeft(), window.size().boundedTo(screen.size()));
    if (shown == screens.end()) {
        placed.moveCenter(screen.center());
    } else if (placed.size() != window.size()) {
        placed.moveLeft(std::clamp(placed.left(), screen.left(), screen.right() + 1 - placed.width()));
        placed.moveTop(std::clamp(placed.top(), screen.top(), screen.bottom() + 1 - placed.height()));
    } else if (placed.top() < screen.top()) {
        placed.moveTop(screen.top());
    }
    return placed;
}
