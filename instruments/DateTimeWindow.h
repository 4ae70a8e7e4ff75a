#pragma once

#include "DigitalWindow.h"

// Window 4: the time and date of the last fix, in UTC or converted to local time as the main
// window's time controls say. It is the time the sentences carry, so it advances as they arrive.
class DateTimeWindow : public DigitalWindow {
    Q_OBJECT

public:
    explicit DateTimeWindow(const NavState& nav, InstrumentHost& host, QWidget* parent = nullptr);

protected:
    void ShowFix() override;
    void ShowNoFix() override;

private:
    QLabel* TimeSort = nullptr;
    QLabel* TimeText = nullptr;
    QLabel* DateText = nullptr;
};
