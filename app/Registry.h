#pragma once

#include "SettingsScope.h"

#include <QString>

// The settings store: a per-user location and a machine-wide one, each holding text values in the
// subkeys "Views", "Local" and "NMEA". What belongs to the screen and the person is kept per user;
// what belongs to the machine and its receiver (serial port, UTC difference, time display) is kept
// machine-wide. Reads fall back to their default, writes that cannot be kept are dropped silently.
class Registry {
public:
    struct Locations {
        QString UserFile;            // per-user settings
        QString MachineFile;         // machine-wide settings, provided or created
        QString MachineFallbackFile; // machine-wide settings of a user who cannot create MachineFile
    };

    explicit Registry(Locations locations);

    // Where this program keeps its settings. On Windows these are the registry keys
    // "Software\Quarvel\DevozOra" of HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE; elsewhere INI
    // files under $XDG_CONFIG_HOME (default ~/.config) and the first folder of $XDG_CONFIG_DIRS
    // (default /etc/xdg).
    static Locations DefaultLocations();

    // Opens both locations, creating what is missing. False only when the per-user location
    // cannot be opened at all; then nothing the person changes could be kept.
    bool OpenSettingsKeys();

    QString ReadUserSetting(const QString& subkey, const QString& name, const QString& defaultText = {}) const;
    QString ReadMachineSetting(const QString& subkey, const QString& name, const QString& defaultText = {}) const;
    void WriteUserSetting(const QString& subkey, const QString& name, const QString& text);
    void WriteMachineSetting(const QString& subkey, const QString& name, const QString& text);

    // A stored flag is set exactly when its text, lower-cased, is "true".
    static bool ReadFlag(const QString& text);
    // A stored number: the numeric prefix of its text rounded half to even to a 16-bit whole
    // number; 0 when the text is empty or not numeric, or the number does not fit 16 bits.
    static int SettingNumber(const QString& text);

private:
    Locations Where;
    SettingsScope UserSettingsKey;
    SettingsScope MachineSettingsKey;
};
