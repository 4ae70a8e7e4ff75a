#pragma once

#include "ScaledColour.h"
#include "WindowFrame.h"

#include <QRect>
#include <QString>

#include <array>
#include <functional>

class InstrumentHost;
class InstrumentWindow;
class SettingsStore;
struct NavState;

// InstrumentWindows: the open instrument windows by number, 1 sky view, 2 analog compass,
// 3 digital compass, 4 date and time, 5 digital speed, 6 position. A window lives from the
// tick of its box until it is closed; every walk over all windows (brightness, freeze, always on
// top, shutdown) goes through here.
class InstrumentWindows {
public:
    static constexpr int Count = 6;

    InstrumentWindows(const NavState& nav, InstrumentHost& host, SettingsStore& settings);
    ~InstrumentWindows();
    InstrumentWindows(const InstrumentWindows&) = delete;
    InstrumentWindows& operator=(const InstrumentWindows&) = delete;

    // OpenInstrumentWindow: creates window n, colours it for the brightness, puts it at its
    // stored outer place and size and shows it. Values of 0 or less keep the window's own size,
    // and leave the place to the window system; a place that no screen shows any more is brought
    // back onto one, a size larger than the screen is reduced to fit.
    void Open(int number, const Brightness& brightness);
    // Closes window n, which stores its geometry, and lets it go. Nothing when it is not open,
    // so the calls that a closing window sets off in turn end here.
    void Close(int number);

    bool IsOpen(int number) const { return Window(number) != nullptr; }
    InstrumentWindow* Window(int number) const;
    void ForEachOpen(const std::function<void(InstrumentWindow&)>& action) const;

private:
    InstrumentWindow* Create(int number) const;
    struct Placement {
        QRect Outer;
        WindowFrame::Wanted Stored;
    };
    Placement StoredPlacement(const InstrumentWindow& window, int number) const;

    const NavState& Nav;
    InstrumentHost& Host;
    SettingsStore& Settings;
    std::array<InstrumentWindow*, Count + 1> Slots{}; // slot 0 unused
};
