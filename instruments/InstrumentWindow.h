#pragma once

#include "ScaledColour.h"
#include "WindowFrame.h"

#include <QSize>
#include <QTimer>
#include <QWidget>

class InstrumentHost;
struct NavState;

// What every instrument window has in common: its number n (1 sky view, 2 analog compass,
// 3 digital compass, 4 date and time, 5 digital speed, 6 position), its caption (also kept as its
// tag, so that freezing can empty the title and unfreezing give it back), a black background that
// no brightness mode changes, its own refresh timer Timer1, its outer geometry, which it stores as
// "Left" n, "Top" n, "Width" n, "Height" n under "Views" whenever it moves or changes size and
// when it closes, and closing: the timer stops, the geometry is stored, and the main window is
// told so that it unticks the window's box. A window only ever reads NavState.
//
// Ownership: the main window creates the windows and deletes them; a window never deletes itself
// (no Qt::WA_DeleteOnClose). The main window closes a window with close() before it lets go of it,
// because closing is what stores the geometry, and it deletes it later (deleteLater), never from
// inside InstrumentWindowClosed, which runs while the window is still in its close handler. A
// second close of a window that has closed already does nothing.
//
// The key B dims the windows one level and Shift+B brightens them one level, through the
// brightness list of the main window, so that a window set large across the cockpit can be
// dimmed where it is.
//
// The base connects Timer1 to Tick(); each window starts Timer1 with its own interval.
class InstrumentWindow : public QWidget {
    Q_OBJECT

public:
    InstrumentWindow(int number, const QString& caption, QSize initialClientTwips,
                     const NavState& nav, InstrumentHost& host, QWidget* parent = nullptr);

    int Number() const { return WindowNumber; }
    const QString& Tag() const { return Caption; }

    // Recolours every text and line for the brightness; the background stays black.
    virtual void AdjustColors(const Brightness& brightness) = 0;

    double TwipsPerPixelX() const { return PixelTwipsX; }
    double TwipsPerPixelY() const { return PixelTwipsY; }

    // Where the window is, frame included, and what keeps it there through frame changes.
    WindowFrame& Frame() { return Placement; }
    const WindowFrame& Frame() const { return Placement; }

protected:
    // Runs on every expiry of Timer1.
    virtual void Tick() = 0;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    const NavState& Nav;
    InstrumentHost& Host;
    QTimer Timer1;

private:
    void StoreGeometry();

    int WindowNumber = 0;
    QString Caption;
    double PixelTwipsX = 15;
    double PixelTwipsY = 15;
    bool Closed = false;
    WindowFrame Placement{*this};
};
