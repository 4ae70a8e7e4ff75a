#pragma once

#include "DigitalWindow.h"

// Window 5: speed over ground in knots, one decimal, under a fixed heading.
class SpeedWindow : public DigitalWindow {
    Q_OBJECT

public:
    explicit SpeedWindow(const NavState& nav, InstrumentHost& host, QWidget* parent = nullptr);

protected:
    void ShowFix() override;

private:
    QLabel* SpeedText = nullptr;
};
