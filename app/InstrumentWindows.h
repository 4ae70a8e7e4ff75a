#pragma once

#include "ScaledColour.h"
#include "WindowFrame.h"

#include <QList>
#include <QRect>
#include <QString>

#include <array>
#include <functional>
#include <optional>

class InstrumentHost;
class InstrumentWindow;
class SettingsStore;
class QWidget;
struct NavState;

// How every instrument window behaves: the two boxes of "Behaviour" on the main window.
struct WindowBehaviour {
    bool Frozen = false;
    bool OnTop = false;
};

// InstrumentWindows: the open instrument windows by number, 1 sky view, 2 analog compass,
// 3 digital compass, 4 date and time, 5 digital speed, 6 position. A window lives from the
// tick of its box until it is closed; every walk over all windows (brightness, freeze, always on
// top, shutdown) goes through here.
class InstrumentWindows {
public:
    static constexpr int Count = 6;

    // main is the main window, which the instrument windows are laid out beside.
    InstrumentWindows(const NavState& nav, InstrumentHost& host, SettingsStore& settings, const QWidget& main);
    ~InstrumentWindows();
    InstrumentWindows(const InstrumentWindows&) = delete;
    InstrumentWindows& operator=(const InstrumentWindows&) = delete;

    // OpenInstrumentWindow, for the windows of those numbers that are not open: creates each,
    // colours it for the brightness, gives it the behaviour, puts it at its stored outer place
    // and size and shows it. Values of 0 or less keep the window's own size and leave the place to
    // be found. Stored places that do not fit the screens there are now are changed as
    // PlaceWindows says, all these windows together, beside the windows open already and the main
    // window. Before the main window is shown, gives the place it must take for that layout, when
    // the layout was made around it rather than stored.
    std::optional<QPoint> Open(const QList<int>& numbers, const Brightness& brightness, const WindowBehaviour& behaviour);
    // The open windows laid out again on the screens there are now, after a screen was added,
    // removed or changed its size.
    void FitScreens();
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
    Placement StoredPlacement(const InstrumentWindow& window) const;
    // The main window's outer rectangle; before it is shown, where it is put at start-up.
    QRect MainOuter() const;

    const NavState& Nav;
    InstrumentHost& Host;
    SettingsStore& Settings;
    const QWidget& Main;
    std::array<InstrumentWindow*, Count + 1> Slots{}; // slot 0 unused
};
