#include "WindowBand.h"

#include "InstrumentWindow.h"
#include "X11Window.h"
#include "WindowFrame.h"

void SetTopMost(QWidget* window, bool onTop)
{
    if (window == nullptr || window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop)
        return;
    Qt::WindowFlags flags = window->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
    // Only the band changes: the frame, the place and the focus stay as they are. A window not
    // shown yet takes the band when it appears, at the place the window system gives it.
    SetWindowFlagsInPlace(*window, flags);
}

void SetWindowFrozen(InstrumentWindow* window, bool frozen)
{
    if (window == nullptr)
        return;
    // Only the window type and the frame change; the always-on-top band stays as it is.
    Qt::WindowFlags flags = window->windowFlags() & ~Qt::WindowType_Mask;
    flags |= frozen ? Qt::Tool : Qt::Window;
    flags.setFlag(Qt::FramelessWindowHint, frozen);
    window->setWindowTitle(frozen ? QString() : window->Tag());
    window->Frame().SetFlags(flags);
    SetTaskbarButton(*window, !frozen);
}
