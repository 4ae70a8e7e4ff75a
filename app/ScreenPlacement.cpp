#include "ScreenPlacement.h"

#include <algorithm>
#include <numeric>
#include <optional>
#include <tuple>

namespace {

// Windows laid out again are reduced in steps of a twentieth, but not below 35 % of their
// size: smaller, an instrument is no use, and overlapping is the lesser harm.
constexpr int StepPercent = 5;
constexpr int SmallestPercent = 35;

qint64 Area(const QRect& rect)
{
    return rect.isValid() ? qint64(rect.width()) * rect.height() : 0;
}

qint64 Overlap(const QRect& a, const QRect& b)
{
    return Area(a.intersected(b));
}

qint64 DistanceSquared(const QPoint& a, const QPoint& b)
{
    const qint64 dx = a.x() - b.x();
    const qint64 dy = a.y() - b.y();
    return dx * dx + dy * dy;
}

// How far a rectangle is from another: 0 when they meet.
qint64 Gap(const QRect& a, const QRect& b)
{
    const qint64 dx = std::max({0, b.left() - a.right() - 1, a.left() - b.right() - 1});
    const qint64 dy = std::max({0, b.top() - a.bottom() - 1, a.top() - b.bottom() - 1});
    return dx * dx + dy * dy;
}

// Reduced alike in both directions where it is larger than the screen.
QSize FittedTo(const QSize& size, const QRect& screen)
{
    const bool fits = size.width() <= screen.width() && size.height() <= screen.height();
    return fits ? size : size.scaled(screen.size(), Qt::KeepAspectRatio);
}

QSize Scaled(const QSize& size, int percent)
{
    return QSize(std::max(1, (size.width() * percent + 50) / 100), std::max(1, (size.height() * percent + 50) / 100));
}

// What a spot costs, least first: covering the main window, covering other windows, the distance
// from where the window wants to be, and then top to bottom, left to right.
using Cost = std::tuple<qint64, qint64, qint64, int, int>;

struct Spot {
    QRect Place;
    Cost Price;
    bool Free() const { return std::get<0>(Price) == 0 && std::get<1>(Price) == 0; }
};

// The best place for a window of that size that wants to be at wanted: the window's own place
// moved onto a screen, and every place that lines it up with an edge of a screen or of another
// window.
std::optional<Spot> BestSpot(const QSize& size, const QPoint& wanted, const QList<QRect>& screens,
                             const QRect& mainWindow, const QList<QRect>& taken)
{
    std::optional<Spot> best;
    for (const QRect& screen : screens) {
        const QSize fitting = FittedTo(size, screen);
        const int w = fitting.width();
        const int h = fitting.height();
        QList<int> xs{screen.left(), screen.right() + 1 - w, std::clamp(wanted.x(), screen.left(), screen.right() + 1 - w)};
        QList<int> ys{screen.top(), screen.bottom() + 1 - h, std::clamp(wanted.y(), screen.top(), screen.bottom() + 1 - h)};
        for (const QRect& other : taken + QList<QRect>{mainWindow}) {
            if (!other.isValid())
                continue;
            xs << other.right() + 1 << other.left() - w;
            ys << other.bottom() + 1 << other.top() - h;
        }
        for (const int x : xs) {
            for (const int y : ys) {
                const QRect place(QPoint(x, y), fitting);
                if (!screen.contains(place))
                    continue;
                const qint64 covered = std::accumulate(taken.begin(), taken.end(), qint64(0),
                                                       [&](qint64 sum, const QRect& other) { return sum + Overlap(place, other); });
                const Cost price{Overlap(place, mainWindow), covered, DistanceSquared(place.topLeft(), wanted), y, x};
                if (!best || price < best->Price)
                    best = Spot{place, price};
            }
        }
    }
    return best;
}

} // namespace

QRect WhollyOnScreen(const QRect& window, const QList<QRect>& screens)
{
    if (screens.isEmpty())
        return window;
    const auto shows = [&](const QRect& screen) { return std::make_pair(Overlap(window, screen), -Gap(window, screen)); };
    const QRect& screen = *std::max_element(screens.begin(), screens.end(),
                                            [&](const QRect& a, const QRect& b) { return shows(a) < shows(b); });
    QRect placed(window.topLeft(), window.size().boundedTo(screen.size()));
    placed.moveLeft(std::clamp(placed.left(), screen.left(), screen.right() + 1 - placed.width()));
    placed.moveTop(std::clamp(placed.top(), screen.top(), screen.bottom() + 1 - placed.height()));
    return placed;
}

QList<QRect> PlaceWindows(const QList<QRect>& screens, const QRect& mainWindow, const QList<QRect>& staying,
                          const QList<WindowRequest>& windows)
{
    QList<QRect> placed;
    bool fits = true;
    for (const WindowRequest& window : windows) {
        placed << (window.Placed ? WhollyOnScreen(window.Outer, screens) : window.Outer);
        fits = fits && window.Placed && placed.back() == window.Outer;
    }
    if (fits || screens.isEmpty())
        return placed;

    // What stays: the windows at their own places, and those that had to move onto a screen and
    // are clear of every other window there.
    const auto clear = [&](qsizetype i) {
        if (!windows[i].Placed)
            return false;
        if (placed[i] == windows[i].Outer)
            return true;
        if (placed[i].intersects(mainWindow))
            return false;
        for (qsizetype j = 0; j < windows.size(); ++j) {
            if (j != i && windows[j].Placed && placed[i].intersects(placed[j]))
                return false;
        }
        return std::none_of(staying.begin(), staying.end(), [&](const QRect& other) { return placed[i].intersects(other); });
    };
    QList<QRect> taken = staying;
    QList<qsizetype> again;
    for (qsizetype i = 0; i < windows.size(); ++i) {
        if (clear(i))
            taken << placed[i];
        else
            again << i;
    }
    // Where and how large each window wants to be: near where it is now, at its own proportions,
    // no larger than the screen it is on.
    const auto wants = [&](qsizetype i) {
        const auto holding = std::find_if(screens.begin(), screens.end(), [&](const QRect& s) { return s.contains(placed[i]); });
        const QRect& on = windows[i].Placed && holding != screens.end() ? *holding : screens.front();
        return QRect(windows[i].Placed ? placed[i].topLeft() : on.topLeft(), FittedTo(windows[i].Outer.size(), on));
    };
    std::stable_sort(again.begin(), again.end(), [&](qsizetype a, qsizetype b) { return Area(wants(a)) > Area(wants(b)); });

    // Laid out at a size, free of every other window, or at least covering as little as may be.
    const auto layOut = [&](int percent, bool mustBeFree) {
        QList<QRect> laid = placed;
        QList<QRect> around = taken;
        for (const qsizetype i : again) {
            const QRect from = wants(i);
            const std::optional<Spot> spot = BestSpot(Scaled(from.size(), percent), from.topLeft(), screens, mainWindow, around);
            if (!spot || (mustBeFree && !spot->Free()))
                return std::optional<QList<QRect>>();
            laid[i] = spot->Place;
            around << spot->Place;
        }
        return std::optional<QList<QRect>>(laid);
    };
    for (int percent = 100; percent >= SmallestPercent; percent -= StepPercent) {
        if (std::optional<QList<QRect>> laid = layOut(percent, true))
            return *laid;
    }
    return layOut(SmallestPercent, false).value_or(placed);
}
