#pragma once

// The main window's side of the instrument windows, for tests: answers with settable values and
// records what the windows tell it and ask of it.
#include "InstrumentHost.h"

#include <QImage>
#include <QList>
#include <QStringList>
#include <QWidget>

#include <algorithm>

class RecordingHost : public InstrumentHost {
public:
    Brightness CurrentBrightness() const override { return Lit; }
    void StepBrightness() override { ++Steps; }
    QString UtcDifferenceText() const override { return UtcDifference; }
    bool DaylightSavingTicked() const override { return DaylightSaving; }
    bool LocalTimeSelected() const override { return LocalTime; }
    void InstrumentWindowClosed(int number) override
    {
        Closed.push_back(number);
        // The main window unticks the box, whose handler closes the window once more.
        if (CloseAgain != nullptr)
            CloseAgain->close();
    }
    void WriteUserSetting(const QString& subkey, const QString& name, const QString& text) override
    {
        Written.push_back(subkey + u'/' + name + u'=' + text);
    }

    Brightness Lit;
    int Steps = 0;
    QString UtcDifference = QStringLiteral("AUTO");
    bool DaylightSaving = false;
    bool LocalTime = false;
    QWidget* CloseAgain = nullptr;
    QList<int> Closed;
    QStringList Written;
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
