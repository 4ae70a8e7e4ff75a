#include "DateTimeWindow.h"

#include "BrightnessColour.h"
#include "FixDateTime.h"
#include "InstrumentHost.h"
#include "InstrumentTexts.h"

#include <QLocale>

DateTimeWindow::DateTimeWindow(const NavState& nav, InstrumentHost& host, QWidget* parent)
    : DigitalWindow(4, QStringLiteral("Date and Time"), QSize(3315, 1650), Arrangement::Stacked, nav,
                    host, parent)
{
    TimeSort = AddLabel("TimeSort", {LabelRole::Heading, Rgb(128, 128, 128), 150, 250});
    TimeText = AddLabel("TimeText", {LabelRole::Value, Rgb(255, 255, 255), 50, 100});
    DateText = AddLabel("DateText", {LabelRole::SecondValue, Rgb(224, 224, 224), 150, 250});
}

void DateTimeWindow::ShowFix()
{
    TimeDisplay display;
    display.LocalTime = Host.LocalTimeSelected();
    display.DaylightSaving = Host.DaylightSavingTicked();
    display.UtcDifference = Host.UtcDifferenceText();
    const ShownDateTime shown = FixDateTime(Nav, display, QDateTime::currentDateTime());

    const QLocale locale = QLocale::system();
    SetLabelText(TimeSort, display.LocalTime ? QStringLiteral("Local Time") : QStringLiteral("UTC"));
    SetLabelText(TimeText, ClockText(shown.Time, TimeSeparator(locale.timeFormat(QLocale::ShortFormat))));
    SetLabelText(DateText, shown.Date ? locale.toString(*shown.Date, QLocale::LongFormat) : QString());
}

void DateTimeWindow::ShowNoFix()
{
    DigitalWindow::ShowNoFix();
    SetLabelText(DateText, QString());
}
