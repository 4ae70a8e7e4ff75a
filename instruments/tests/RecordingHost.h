#pragma once

// The main window's side of the instrument windows, for tests: answers with settable values and
// records what the windows tell it.
#include "InstrumentHost.h"

#include <QImage>
#include <QList>
#include <QStringList>
#include <QWidget>

#include <algorithm>

class RecordingHost : public InstrumentHost {
public:
    QString BrightnessModeText() const override { return Mode; }
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

    QString Mode = QStringLiteral("Daylight");
    QString UtcDifference = QStringLiteral("AUTO");
    bool DaylightSaving = false;
    bool LocalTime = false;
    QWidget* CloseAgain = nullptr;
    QList<int> Closed;
    QStringList Written;
};

// The brightest colour channel anywhere in a picture: a "Night" picture must stay at a quarter.
inline int BrightestChannel(const QImage& image)
{
    int brightest = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            brightest = std::max({brightest, c.red(), c.green(), c.blue()});
        }
    }
    return brightest;
}
