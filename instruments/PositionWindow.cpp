#include "PositionWindow.h"

#include "BrightnessColour.h"
#include "InstrumentColours.h"
#include "InstrumentTexts.h"
#include "NavState.h"

PositionWindow::PositionWindow(const NavState& nav, InstrumentHost& host, QWidget* parent)
    : DigitalWindow(6, QStringLiteral("Digital Position"), QSize(3585, 1500), Arrangement::Centred,
                    nav, host, parent)
{
    Position = AddLabel("Position", {LabelRole::Value, ValueColour, 70, 150});
}

void PositionWindow::ShowFix()
{
    SetLabelText(Position, PositionText(Nav.Latitude, Nav.Longitude));
}
