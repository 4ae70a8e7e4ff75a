#include "InstrumentWindows.h"

#include "DDateTime.h"
#include "Dcompass.h"
#include "Dposition.h"
#include "Dspeed.h"
#include "Kompas.h"
#include "NumberText.h"
#include "Registry.h"
#include "SatView2.h"
#include "ScreenPlacement.h"
#include "Twips.h"
#include "WindowFrame.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include <cmath>

InstrumentWindows::InstrumentWindows(const NavState& nav, InstrumentHost& host, Registry& settings)
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
    case 1: return new SatView2(Nav, Host);
    case 2: return new Kompas(Nav, Host);
    case 3: return new Dcompass(Nav, Host);
    case 4: return new DDateTime(Nav, Host);
    case 5: return new Dspeed(Nav, Host);
    case 6: return new Dposition(Nav, Host);
    default: return nullptr;
    }
}

namespace {

// Gives the window the client width and height that make the stored outer ones with the given
// frame; a dimension that was not stored keeps the window's own.
void FitOuterSize(QWidget* window, const QSize& outer, const QMargins& frame, bool width, bool height)
{
    const QSize framed = outer.shrunkBy(frame);
    const QSize client(width ? framed.width() : window->width(), height ? framed.height() : window->height());
    if (window->size() != client)
        window->resize(client);
}

// Some window managers report the frame only a moment after the window appears.
constexpr int FrameKnownAfterMs = 250;

} // namespace

void InstrumentWindows::Open(int number, const QString& brightnessMode, const QMargins& expectedFrame)
{
    if (number < 1 || number > Count || IsOpen(number))
        return;
    InstrumentWindow* window = Create(number);
    Slots[static_cast<std::size_t>(number)] = window;
    window->AdjustColors(brightnessMode);
    const Placement placement = StoredPlacement(*window, number, expectedFrame);
    window->move(placement.Outer.topLeft());
    FitOuterSize(window, placement.Outer.size(), expectedFrame, placement.WidthStored, placement.HeightStored);
    window->show();
    // The stored size is the outer one: where the frame turned out different from the one
    // expected, the client area makes up for it.
    const auto fit = [window, placement] {
        FitOuterSize(window, placement.Outer.size(), FrameMargins(window), placement.WidthStored,
                     placement.HeightStored);
    };
    fit();
    QTimer::singleShot(FrameKnownAfterMs, window, fit);
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

InstrumentWindows::Placement InstrumentWindows::StoredPlacement(const InstrumentWindow& window, int number,
                                                               const QMargins& frame) const
{
    // Twips of a large screen pass the 16 bits of other settings numbers: read them whole.
    const auto stored = [&](const char* name) {
        const QString text = Settings.ReadUserSetting(QStringLiteral("Views"),
                                                      QString::fromLatin1(name) + QString::number(number));
        const double twips = LeadingNumber(text.toStdString());
        return std::isfinite(twips) ? twips : 0.0;
    };
    const double tppX = window.TwipsPerPixelX();
    const double tppY = window.TwipsPerPixelY();
    Placement placement{QRect(window.pos(), window.size().grownBy(frame))};
    QRect& outer = placement.Outer;
    if (const double left = stored("Left"); left > 0)
        outer.moveLeft(TwipsToPixels(left, tppX));
    if (const double top = stored("Top"); top > 0)
        outer.moveTop(TwipsToPixels(top, tppY));
    if (const double width = stored("Width"); width > 0) {
        outer.setWidth(TwipsToPixels(width, tppX));
        placement.WidthStored = true;
    }
    if (const double height = stored("Height"); height > 0) {
        outer.setHeight(TwipsToPixels(height, tppY));
        placement.HeightStored = true;
    }

    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens << screen->availableGeometry();
    const QRect onScreen = BringOntoScreen(outer, screens);
    placement.WidthStored = placement.WidthStored || onScreen.width() != outer.width();
    placement.HeightStored = placement.HeightStored || onScreen.height() != outer.height();
    outer = onScreen;
    return placement;
}
