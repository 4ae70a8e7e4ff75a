#include "SpeedWindow.h"

#include "BrightnessColour.h"
#include "InstrumentTexts.h"
#include "NavState.h"

SpeedWindow::SpeedWindow(const NavState& nav, InstrumentHost& host, QWidget* parent)
    : DigitalWindow(5, QStringLiteral("Digital Speed"), QSize(3075, 1380), Arrangement::Stacked, nav,
                    host, parent)
{
    AddLabel("SpeedSort", {LabelRole::Heading, Rgb(128, 128, 128), 250, 350},
             QStringLiteral("Speed Over Ground (knots)"));
    SpeedText = AddLabel("SpeedText", {LabelRole::Value, Rgb(255, 255, 255), 30, 45});
}

void SpeedWindow::ShowFix()
{
    SetLabelText(SpeedText, ::SpeedText(Nav.Speed));
}
