#pragma once

#include <QMargins>
#include <QObject>
#include <QRect>
#include <QTimer>

class QWidget;

// Where a top-level window is, frame included, and keeping it there while the window system puts
// a frame around it, takes the frame away or gives it back.
//
// The window system tells the size of a window's frame only once it has framed the window: when
// the window first appears (its first expose), and a moment after the frame changed. Until then
// the window's outer rectangle is the one it was asked to take; once the frame is known the
// client area is fitted inside that rectangle. Nothing is ever measured from an unframed window,
// and no fixed delay stands in for the window system's answer, so a busy machine or a slow window
// manager changes nothing.
class WindowFrame : public QObject {
    Q_OBJECT

public:
    explicit WindowFrame(QWidget& window);

    // What of an outer rectangle is asked for: the rest is the window's own (its client size) or
    // the window system's (its place).
    struct Wanted {
        bool Position = false;
        bool Width = false;
        bool Height = false;
    };

    // Shows the window with the wanted parts of outer.
    void Show(const QRect& outer, Wanted wanted);
    // Moves the window, frame included, to outer.
    void MoveTo(const QRect& outer);
    // Gives the window new flags (its frame, its type, the always-on-top band) without hiding it,
    // and keeps its outer rectangle where it is.
    void SetFlags(Qt::WindowFlags flags);
    // The outer rectangle: the one asked for while the frame is not known yet.
    QRect Outer() const;
    // The frame a framed window is expected to get: the one the window system gave the last, or
    // a title bar and border as most window managers draw them before any window was framed.
    static QMargins ExpectedFrame();
    // Whether the window system has framed the window as its flags ask and the client area has
    // been fitted to that frame.
    bool Settled() const { return Waiting == Wait::Nothing; }

signals:
    // The frame became known: the outer rectangle may be another than it seemed, even where the
    // window did not move.
    void FrameKnown();

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void WaitForFrameChange(const QMargins& reported);
    void CheckFrame();
    void Framed(const QMargins& frame);
    void Fit(const QMargins& frame);
    void FitDevicePixels();
    // Whether the window is where Fit put it, give or take the window system's rounding.
    bool AsFitted(const QMargins& frame) const;

    QWidget& Window;
    QRect Target;        // the outer rectangle asked for
    Wanted Asked;        // which of it
    enum class Wait { Nothing, FirstExpose, FrameChange } Waiting = Wait::Nothing;
    QMargins Expected;   // the frame the window has once the window system has done its part
    QMargins Reported;   // the frame the window system reported when the flags changed
    QRect Fitted;        // the client area Fit asked for, and the frame it allowed for
    QMargins FittedFrame;
    QTimer Poll;         // the window system says nothing but the frame's size when it changes it
    int PollsLeft = 0;
};

// Changes a window's flags without hiding it, so that it keeps its place and the focus stays where
// it is. Enough on its own for a change that does not touch the frame (the always-on-top band).
void SetWindowFlagsInPlace(QWidget& window, Qt::WindowFlags flags);
