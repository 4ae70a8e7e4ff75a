#pragma once

// The main window's side of the instrument windows, for tests: lit as set, UTC shown, and counting
// the brightness steps a window asks for.
#include "InstrumentHost.h"

#include <QImage>

#include <algorithm>

class RecordingHost : public InstrumentHost {
public:
    Brightness CurrentBrightness() const override { return Lit; }
    void StepBrightness(int steps) override { Steps += steps; }
    QString UtcDifferenceText() const override { return QStringLiteral("AUTO"); }
    bool DaylightSavingTicked() const override { return false; }
    bool LocalTimeSelected() const override { return false; }
    void InstrumentWindowClosed(int) override {}
    void WriteUserSetting(const QString&, const QString&, const QString&) override {}

    Brightness Lit;
    int Steps = 0;
};

// Makes a window's refresh callable, as its timer would call it, and its timer's interval readable.
template <typename Window>
class Driven : public Window {
public:
    using Window::Window;
    using Window::Tick;
    int Interval() const { return this->Timer1.interval(); }
};

// The brightest value of each channel anywhere in a picture (its value() is the brightest of
// all): a "Night" picture must stay at a quarter, a red one must have no green or blue at all.
inline QColor Brightest(const QImage& image)
{
    QColor brightest(Qt::black);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            brightest.setRgb(std::max(brightest.red(), c.red()), std::max(brightest.green(), c.green()),
                             std::max(brightest.blue(), c.blue()));
        }
    }
    return brightest;
}
