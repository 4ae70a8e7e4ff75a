#include "CourseWindow.h"

#include "BrightnessColour.h"
#include "InstrumentColours.h"
#include "InstrumentTexts.h"
#include "NavState.h"

CourseWindow::CourseWindow(const NavState& nav, InstrumentHost& host, QWidget* parent)
    : DigitalWindow(3, QStringLiteral("Digital Compass"), QSize(3075, 1245), Arrangement::Stacked,
                    nav, host, parent)
{
    AddLabel("CourseSort", {LabelRole::Heading, HeadingColour, 150, 250},
             QStringLiteral("Course Over Ground"));
    CourseText = AddLabel("CourseText", {LabelRole::Value, ValueColour, 30, 50});
}

void CourseWindow::ShowFix()
{
    SetLabelText(CourseText, ::CourseText(Nav.Course));
}
