#include "WindowFrame.h"

#include "X11Window.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

#include <cstdlib>
#include <optional>

namespace {

// The frame this window system puts around a framed instrument window, once one has been seen: a
// good first guess for the next window, so that it appears at its place at once.
std::optional<QMargins> TypicalFrame;

// Generous rather than tight: a window placed with it leaves a little room beside its neighbour
// instead of covering it.
constexpr QMargins UsualFrame(8, 32, 8, 8);

constexpr int PollMs = 25;
// A window system that takes longer to reframe a window has left the frame as it was.
constexpr int PollCount = 200;

bool Frameless(Qt::WindowFlags flags)
{
    return flags.testFlag(Qt::FramelessWindowHint);
}

} // namespace

void SetWindowFlagsInPlace(QWidget& window, Qt::WindowFlags flags)
{
    // QWidget::setWindowFlags hides the window and lets the window system place it anew; the
    // native window takes the new flags while it stays on the screen.
    if (QWindow* native = window.windowHandle()) {
        window.overrideWindowFlags(flags);
        native->setFlags(flags);
    } else {
        window.setWindowFlags(flags);
    }
}

WindowFrame::WindowFrame(QWidget& window)
    : Window(window)
{
    Poll.setInterval(PollMs);
    connect(&Poll, &QTimer::timeout, this, &WindowFrame::CheckFrame);
}

void WindowFrame::Show(const QRect& outer, Wanted wanted)
{
    Target = outer;
    Asked = wanted;
    Expected = Frameless(Window.windowFlags()) ? QMargins() : TypicalFrame.value_or(QMargins());
    Fit(Expected);
    Waiting = Wait::FirstExpose;
    Window.show();
    Window.windowHandle()->installEventFilter(this);
}

void WindowFrame::MoveTo(const QRect& outer)
{
    Target = outer;
    Asked = {true, true, true};
    const QWindow* native = Window.windowHandle();
    Fit(Waiting != Wait::Nothing || native == nullptr ? Expected : native->frameMargins());
}

void WindowFrame::SetFlags(Qt::WindowFlags flags)
{
    const QRect outer = Outer();
    const bool frameChanges = Frameless(flags) != Frameless(Window.windowFlags());
    SetWindowFlagsInPlace(Window, flags);
    if (!frameChanges || !Window.windowHandle())
        return;
    const std::optional<QMargins> frame = Frameless(flags) ? QMargins() : TypicalFrame;
    if (Waiting == Wait::FirstExpose) {
        // Not framed yet: the first frame will be the new one.
        Expected = frame.value_or(QMargins());
        Fit(Expected);
        return;
    }
    Target = outer;
    Asked = {true, true, true};
    const QMargins reported = Window.windowHandle()->frameMargins();
    if (frame) {
        // The window system keeps the client area where it is and changes the frame around it;
        // moving the client area now lets both changes arrive together.
        Expected = *frame;
        Fit(Expected);
    }
    if (!frame || *frame != reported) {
        WaitForFrameChange(reported);
    } else {
        Waiting = Wait::Nothing;
        Poll.stop();
    }
}

void WindowFrame::WaitForFrameChange(const QMargins& reported)
{
    Reported = reported;
    Waiting = Wait::FrameChange;
    PollsLeft = PollCount;
    Poll.start();
}

QMargins WindowFrame::ExpectedFrame()
{
    return TypicalFrame.value_or(UsualFrame);
}

QRect WindowFrame::Outer() const
{
    const QWindow* native = Window.windowHandle();
    const bool waiting = Waiting != Wait::Nothing;
    const QMargins frame = waiting || native == nullptr ? Expected : native->frameMargins();
    QRect outer = Window.geometry().marginsAdded(frame);
    if (!waiting && !AsFitted(frame))
        return outer;
    // Until the window system has framed the window, and while it stays where it was put, it is
    // where it was asked to be.
    if (Asked.Position)
        outer.moveTopLeft(Target.topLeft());
    if (Asked.Width)
        outer.setWidth(Target.width());
    if (Asked.Height)
        outer.setHeight(Target.height());
    return outer;
}

// At a fractional scale factor the window system's whole pixels make a window and its frame a
// pixel of ours larger or smaller than asked for: that is still the rectangle asked for, and
// taking it for another would rewrite a stored place without anyone moving the window.
bool WindowFrame::AsFitted(const QMargins& frame) const
{
    const int slack = Window.devicePixelRatio() == 1 ? 0 : 1;
    const auto near = [slack](int a, int b) { return std::abs(a - b) <= slack; };
    const QRect client = Window.geometry();
    // Where the window system placed the window, only the size was asked for.
    const bool placed = !Asked.Position || (near(client.left(), Fitted.left()) && near(client.top(), Fitted.top()));
    return placed && near(client.width(), Fitted.width()) && near(client.height(), Fitted.height())
           && near(frame.left(), FittedFrame.left()) && near(frame.top(), FittedFrame.top())
           && near(frame.right(), FittedFrame.right()) && near(frame.bottom(), FittedFrame.bottom());
}

bool WindowFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (Waiting == Wait::FirstExpose && event->type() == QEvent::Expose && watched == Window.windowHandle()
        && Window.windowHandle()->isExposed()) {
        const QMargins frame = Window.windowHandle()->frameMargins();
        // Frozen between showing and appearing: the window system framed it first and takes the
        // frame away in a moment.
        if (Frameless(Window.windowFlags()) && !frame.isNull())
            WaitForFrameChange(frame);
        else
            Framed(frame);
    }
    return QObject::eventFilter(watched, event);
}

void WindowFrame::CheckFrame()
{
    const QMargins frame = Window.windowHandle()->frameMargins();
    if (frame != Reported) {
        Framed(frame);
    } else if (--PollsLeft <= 0) {
        // The frame stayed as it was (a window system that ignores the request): what was asked
        // for stands.
        Waiting = Wait::Nothing;
        Poll.stop();
    }
}

void WindowFrame::Framed(const QMargins& frame)
{
    Waiting = Wait::Nothing;
    Poll.stop();
    Expected = frame;
    if (!Frameless(Window.windowFlags()))
        TypicalFrame = frame;
    Fit(frame);
    emit FrameKnown();
}

// At a fractional scale factor the program's pixels cannot say where a frame of whole screen
// pixels puts the client area: the window goes there in the screen's pixels.
void WindowFrame::FitDevicePixels()
{
    const qreal scale = Window.devicePixelRatio();
    if (scale == 1 || !Window.isVisible())
        return;
    const std::optional<QMargins> frame = DeviceFrame(Window);
    if (!frame)
        return;
    const QRect target(qRound(Target.x() * scale), qRound(Target.y() * scale), qRound(Target.width() * scale),
                       qRound(Target.height() * scale));
    SetDeviceGeometry(Window, target.marginsRemoved(*frame));
}

// Puts the client area inside the wanted parts of Target for the given frame.
void WindowFrame::Fit(const QMargins& frame)
{
    QRect client = Target.marginsRemoved(frame);
    if (!Asked.Width)
        client.setWidth(Window.width());
    if (!Asked.Height)
        client.setHeight(Window.height());
    Fitted = client;
    FittedFrame = frame;
    if (Asked.Position && Window.geometry() != client)
        Window.setGeometry(client);
    if (Asked.Position && Asked.Width && Asked.Height && Waiting == Wait::Nothing)
        FitDevicePixels();
    else if (!Asked.Position && Window.size() != client.size())
        Window.resize(client.size());
}
