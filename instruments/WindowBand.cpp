#include "WindowBand.h"

#include "InstrumentWindow.h"
#include "WindowFrame.h"

#include <QVariant>

namespace {

// Where a window remembers the last frame it had, so that unfreezing can put the client area
// inside the same outer rectangle even where the window system only tells the new frame later.
constexpr char FrameProperty[] = "DevozOraFrameMargins";

// Changing window flags makes Qt hide the window and move it: give it the new flags, put its
// outer rectangle back at outer with the frame it is expected to get, and show it again, without
// activating it, if it was showing. Where the platform knows the real frame once the window is
// shown, a frame different from the expected one is corrected at once.
void ApplyFlags(QWidget* window, Qt::WindowFlags flags, const QRect& outer, const QMargins& expectedFrame)
{
    const bool wasVisible = window->isVisible();
    window->setWindowFlags(flags);
    window->setGeometry(outer.marginsRemoved(expectedFrame));
    if (!wasVisible)
        return;
    const bool quiet = window->testAttribute(Qt::WA_ShowWithoutActivating);
    window->setAttribute(Qt::WA_ShowWithoutActivating, true);
    window->show();
    window->setAttribute(Qt::WA_ShowWithoutActivating, quiet);
    const QMargins frame = FrameMargins(window);
    if (frame != expectedFrame)
        window->setGeometry(outer.marginsRemoved(frame));
}

} // namespace

void SetTopMost(QWidget* window, bool onTop)
{
    if (window == nullptr || window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop)
        return;
    Qt::WindowFlags flags = window->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
    ApplyFlags(window, flags, OuterGeometry(window), FrameMargins(window));
}

void SetWindowFrozen(InstrumentWindow* window, bool frozen)
{
    if (window == nullptr)
        return;
    const QRect outer = OuterGeometry(window);
    const QMargins current = FrameMargins(window);
    if (!current.isNull())
        window->setProperty(FrameProperty, QVariant::fromValue(current));
    const QMargins frame = frozen ? QMargins() : window->property(FrameProperty).value<QMargins>();
    // Only the window type and the frame change; the always-on-top band stays as it is.
    Qt::WindowFlags flags = window->windowFlags() & ~Qt::WindowType_Mask;
    flags |= frozen ? Qt::Tool : Qt::Window;
    flags.setFlag(Qt::FramelessWindowHint, frozen);
    window->setWindowTitle(frozen ? QString() : window->Tag());
    ApplyFlags(window, flags, outer, frame);
}
