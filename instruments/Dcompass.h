#pragma once

#include "DigitalWindow.h"

// Window 3: course over ground in whole degrees under a fixed heading.
class Dcompass : public DigitalWindow {
    Q_OBJECT

public:
    explicit Dcompass(const NavState& nav, InstrumentHost& host, QWidget* parent = nullptr);

protected:
    void ShowFix() override;

private:
    QLabel* CourseText = nullptr;
};
