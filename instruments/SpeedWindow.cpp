#include "SpeedWindow.h"

#include "BrightnessColour.h"
#include "InstrumentColours.h"
#include "InstrumentTexts.h"
#include "NavState.h"

SpeedWindow::SpeedWindow(const NavState& nav, InstrumentHost& host, QWidget* parent)
    : DigitalWindow(5, QStringLiteral("Digital Speed"), QSize(3075, 1380), Arrangement::Stacked, nav,
                    host, parent)
{
    AddLabel("SpeedSort", {LabelRole::Heading, HeadingColour, 250, 350},
             QStringLiteral("Speed Over Ground (knots)"));
    SpeedText = AddLabel("SpeedText", {LabelRole::Value, ValueColour, 30, 45});
}

void SpeedWindow::ShowFix()
{
    SetLabelText(SpeedText, ::SpeedText(Nav.Speed));
}
