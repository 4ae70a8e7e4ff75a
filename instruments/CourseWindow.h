#pragma once

#include "DigitalWindow.h"

// Window 3: course over ground in whole degrees under a fixed heading.
class CourseWindow : public DigitalWindow {
    Q_OBJECT

public:
    explicit CourseWindow(const NavState& nav, InstrumentHost& host, QWidget* parent = nullptr);

protected:
    void ShowFix() override;

private:
    QLabel* CourseText = nullptr;
};
