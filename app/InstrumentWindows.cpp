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

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

InstrumentWindows::InstrumentWindows(const NavState& nav, InstrumentHost& host, SettingsStore& settings)
    : Nav(nav), Host(host), Settings(settings)
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

void InstrumentWindows::Open(int number, const Brightness& brightness)
{
    if (number < 1 || number > Count || IsOpen(number))
        return;
    InstrumentWindow* window = Create(number);
    Slots[static_cast<std::size_t>(number)] = window;
    window->AdjustColors(brightness);
    const Placement placement = StoredPlacement(*window, number);
    window->Frame().Show(placement.Outer, placement.Stored);
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

InstrumentWindows::Placement InstrumentWindows::StoredPlacement(const InstrumentWindow& window, int number) const
{
    // Twips of a large screen pass the 16 bits of other settings numbers: read them whole, up to
    // far beyond any screen (the screen's size bounds them below).
    constexpr double LargestTwips = 1e7;
    const auto stored = [&](const char* name) {
        const QString text =
            Settings.ReadUserSetting(QStringLiteral("Views"), QString::fromLatin1(name) + QString::number(number));
        return std::min(SettingsStore::SettingValue(text).value_or(0.0), LargestTwips);
    };
    const double tppX = window.TwipsPerPixelX();
    const double tppY = window.TwipsPerPixelY();
    Placement placement{QRect(QPoint(0, 0), window.size()), {}};
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

    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens << screen->availableGeometry();
    // Without a stored place the window system places the window: only the size is of use then.
    const QRect onScreen = BringOntoScreen(outer, screens);
    wanted.Width = wanted.Width || onScreen.width() != outer.width();
    wanted.Height = wanted.Height || onScreen.height() != outer.height();
    outer = onScreen;
    return placement;
}
