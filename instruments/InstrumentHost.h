#pragma once

#include "ScaledColour.h"

#include <QString>

// What an instrument window reads from and tells the main window. The main window implements it;
// the windows never include anything of the main window itself.
class InstrumentHost {
public:
    // How the windows are lit now: the mode of the brightness list, or the one "Auto" chose.
    virtual Brightness CurrentBrightness() const = 0;
    // Chooses the level one darker (steps 1) or one brighter (steps -1) than the windows are lit
    // at now, as a person choosing it in the list does.
    virtual void StepBrightness(int steps) = 0;
    // The selected entry of the UTC-difference list ("AUTO", "-4:30", "+5:45", ...).
    virtual QString UtcDifferenceText() const = 0;
    virtual bool DaylightSavingTicked() const = 0;
    // Option "Local Time" selected (otherwise "UTC").
    virtual bool LocalTimeSelected() const = 0;
    // Window number n has closed by whatever path: its check box is unticked if it still is.
    virtual void InstrumentWindowClosed(int number) = 0;
    virtual void WriteUserSetting(const QString& subkey, const QString& name, const QString& text) = 0;

protected:
    ~InstrumentHost() = default;
};
