#include "Dposition.h"

#include "BrightnessColor.h"
#include "InstrumentTexts.h"
#include "NavState.h"

Dposition::Dposition(const NavState& nav, InstrumentHost& host, QWidget* parent)
    : DigitalWindow(6, QStringLiteral("Digital Position"), QSize(3585, 1500), Arrangement::Centred,
                    nav, host, parent)
{
    Positie = AddLabel("Positie", {LabelRole::Value, Rgb(255, 255, 255), 70, 150});
}

void Dposition::ShowFix()
{
    SetLabelText(Positie, PositionText(Nav.Latitude, Nav.Longitude));
}
