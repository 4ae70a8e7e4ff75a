#include "InstrumentWindows.h"

#include "CourseWindow.h"
#include "DateTimeWindow.h"
#include "DrumCompassWindow.h"
#include "PositionWindow.h"
#include "ScreenPlacement.h"
#include "SettingsStore.h"
#include "SkyViewWindow.h"
#include "SpeedWindow.h"
#include "Twips.h"
#include "WindowBand.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include <algorithm>

namespace {

// What the screens there are now leave to windows: their areas without panels and docks.
QList<QRect> AvailableScreens()
{
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens << screen->availableGeometry();
    return screens;
}

} // namespace

InstrumentWindows::InstrumentWindows(const NavState& nav, InstrumentHost& host, SettingsStore& settings, const QWidget& main)
    : Nav(nav), Host(host), Settings(settings), Main(main)
{
}

InstrumentWindows::~InstrumentWindows()
{
    for (InstrumentWindow* window : Slots)
        delete window;
}

InstrumentWindow* InstrumentWindows::Window(int number) const
{
    return number >= 1 && number <= Count ? Slots[static_cast<std::size_t>(number)] : nullptr;
}

void InstrumentWindows::ForEachOpen(const std::function<void(InstrumentWindow&)>& action) const
{
    for (int number = 1; number <= Count; ++number) {
        if (InstrumentWindow* window = Window(number))
            action(*window);
    }
}

InstrumentWindow* InstrumentWindows::Create(int number) const
{
    switch (number) {
    case 1: return new SkyViewWindow(Nav, Host);
    case 2: return new DrumCompassWindow(Nav, Host);
    case 3: return new CourseWindow(Nav, Host);
    case 4: return new DateTimeWindow(Nav, Host);
    case 5: return new SpeedWindow(Nav, Host);
    case 6: return new PositionWindow(Nav, Host);
    default: return nullptr;
    }
}

std::optional<QPoint> InstrumentWindows::Open(const QList<int>& numbers, const Brightness& brightness,
                                              const WindowBehaviour& behaviour)
{
    QList<InstrumentWindow*> opened;
    QList<QRect> staying;
    ForEachOpen([&staying](InstrumentWindow& window) { staying << window.Frame().Outer(); });
    for (const int number : numbers) {
        if (number < 1 || number > Count || IsOpen(number))
            continue;
        InstrumentWindow* window = Create(number);
        Slots[static_cast<std::size_t>(number)] = window;
        window->AdjustColors(brightness);
        // Before it is shown, so that it appears as the other windows are, with no flicker; the
        // band first, while the window is still only a widget: freezing makes its native window.
        SetTopMost(window, behaviour.OnTop);
        SetWindowFrozen(window, behaviour.Frozen);
        opened << window;
    }
    QList<Placement> placements;
    QList<WindowRequest> requests;
    for (const InstrumentWindow* window : opened) {
        placements << StoredPlacement(*window);
        requests << WindowRequest{placements.back().Outer, placements.back().Stored.Position};
    }
    const QRect mainOuter = MainOuter();
    const QList<QRect> places = PlaceWindows(AvailableScreens(), mainOuter, staying, requests);
    bool aroundMain = false;
    for (qsizetype i = 0; i < opened.size(); ++i) {
        Placement& placement = placements[i];
        const QRect& place = places[i];
        if (!requests[i].Placed || place != placement.Outer) {
            aroundMain = true;
            placement.Stored.Position = true;
            placement.Stored.Width = placement.Stored.Width || place.width() != placement.Outer.width();
            placement.Stored.Height = placement.Stored.Height || place.height() != placement.Outer.height();
            placement.Outer = place;
        }
        opened[i]->Frame().Show(placement.Outer, placement.Stored);
    }
    if (aroundMain && !Main.isVisible())
        return mainOuter.topLeft();
    return std::nullopt;
}

void InstrumentWindows::FitScreens()
{
    QList<InstrumentWindow*> open;
    QList<WindowRequest> requests;
    ForEachOpen([&](InstrumentWindow& window) {
        open << &window;
        requests << WindowRequest{window.Frame().Outer()};
    });
    const QList<QRect> places = PlaceWindows(AvailableScreens(), MainOuter(), {}, requests);
    for (qsizetype i = 0; i < open.size(); ++i) {
        if (places[i] != requests[i].Outer)
            open[i]->Frame().MoveTo(places[i]);
    }
}

QRect InstrumentWindows::MainOuter() const
{
    // Shown but not framed yet, it has no frame to tell: the one it is about to get is allowed for.
    if (Main.isVisible() && Main.windowHandle() != nullptr && !Main.windowHandle()->frameMargins().isNull())
        return Main.frameGeometry();
    if (Main.isVisible())
        return Main.geometry().marginsAdded(WindowFrame::ExpectedFrame());
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QPoint corner = screen != nullptr ? screen->availableGeometry().topLeft() : QPoint();
    return QRect(corner, Main.size().grownBy(WindowFrame::ExpectedFrame()));
}

void InstrumentWindows::Close(int number)
{
    InstrumentWindow* window = Window(number);
    if (window == nullptr)
        return;
    // The slot empties first: the window's close handler unticks its box, whose handler comes
    // back here and must find nothing left to close.
    Slots[static_cast<std::size_t>(number)] = nullptr;
    window->close();
    window->deleteLater();
}

InstrumentWindows::Placement InstrumentWindows::StoredPlacement(const InstrumentWindow& window) const
{
    // Twips of a large screen pass the 16 bits of other settings numbers: read them whole, up to
    // far beyond any screen (the screen's size bounds them below).
    constexpr double LargestTwips = 1e7;
    const auto stored = [&](const char* name) {
        const QString text =
            Settings.ReadUserSetting(QStringLiteral("Views"), QString::fromLatin1(name) + QString::number(window.Number()));
        return std::min(SettingsStore::SettingValue(text).value_or(0.0), LargestTwips);
    };
    const double tppX = window.TwipsPerPixelX();
    const double tppY = window.TwipsPerPixelY();
    const bool framed = !window.windowFlags().testFlag(Qt::FramelessWindowHint);
    // The window's own size, with the frame it is about to get.
    Placement placement{QRect(QPoint(0, 0), framed ? window.size().grownBy(WindowFrame::ExpectedFrame()) : window.size()), {}};
    QRect& outer = placement.Outer;
    WindowFrame::Wanted& wanted = placement.Stored;
    if (const double left = stored("Left"); left > 0) {
        outer.moveLeft(TwipsToPixels(left, tppX));
        wanted.Position = true;
    }
    if (const double top = stored("Top"); top > 0) {
        outer.moveTop(TwipsToPixels(top, tppY));
        wanted.Position = true;
    }
    if (const double width = stored("Width"); width > 0) {
        outer.setWidth(TwipsToPixels(width, tppX));
        wanted.Width = true;
    }
    if (const double height = stored("Height"); height > 0) {
        outer.setHeight(TwipsToPixels(height, tppY));
        wanted.Height = true;
    }
    return placement;
}
