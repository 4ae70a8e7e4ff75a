#include "DateTimeWindow.h"

#include "BrightnessColour.h"
#include "FixDateTime.h"
#include "InstrumentColours.h"
#include "InstrumentHost.h"

DateTimeWindow::DateTimeWindow(const NavState& nav, InstrumentHost& host, QWidget* parent)
    : DigitalWindow(4, QStringLiteral("Date and Time"), QSize(3315, 1650), Arrangement::Stacked, nav,
                    host, parent)
{
    TimeSort = AddLabel("TimeSort", {LabelRole::Heading, HeadingColour, 150, 250});
    TimeText = AddLabel("TimeText", {LabelRole::Value, ValueColour, 50, 100});
    DateText = AddLabel("DateText", {LabelRole::SecondValue, DateColour, 150, 250});
}

void DateTimeWindow::ShowFix()
{
    TimeDisplay display;
    display.LocalTime = Host.LocalTimeSelected();
    display.DaylightSaving = Host.DaylightSavingTicked();
    display.UtcDifference = Host.UtcDifferenceText();
    const DateTimeTexts texts = ShownDateTimeTexts(Nav, display, QDateTime::currentDateTime(), QLocale::system());
    SetLabelText(TimeSort, texts.Sort);
    SetLabelText(TimeText, texts.Time);
    SetLabelText(DateText, texts.Date);
}

void DateTimeWindow::ShowNoFix()
{
    DigitalWindow::ShowNoFix();
    SetLabelText(DateText, QString());
}
