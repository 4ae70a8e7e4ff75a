#pragma once

#include "DigitalWindow.h"

// Window 6: latitude above longitude in degrees and minutes, as large as the window allows.
class PositionWindow : public DigitalWindow {
    Q_OBJECT

public:
    explicit PositionWindow(const NavState& nav, InstrumentHost& host, QWidget* parent = nullptr);

protected:
    void ShowFix() override;

private:
    QLabel* Position = nullptr;
};
