#pragma once

#include "SettingsScope.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The settings store: a per-user location and a machine-wide one, each holding text values in the
// subkeys "Views", "Local" and "NMEA". What belongs to the screen and the person is kept per user;
// what belongs to the machine and its receiver (serial port, UTC difference, time display) is kept
// machine-wide. Reads fall back to their default. Writes are kept in memory until Flush (and the
// end of the SettingsStore) stores them, so that a batch of writes costs one file write. A
// location that cannot be written is said in words, once, on standard error and to whoever asked
// to be told (the desktop's bottom line), and again when it can be written again; an
// administrator's read-only machine-wide file is no failure, it is meant to be so.
class SettingsStore {
public:
    struct Locations {
        QString UserFile;            // per-user settings
        QString MachineFile;         // machine-wide settings, provided or created
        QString MachineFallbackFile; // machine-wide settings of a user who cannot create MachineFile
    };

    explicit SettingsStore(Locations locations);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // Where this program keeps its settings. On Windows these are the registry keys
    // "Software\Quarvel\DevozOra" of HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE; elsewhere INI
    // files under $XDG_CONFIG_HOME (default ~/.config) and the first folder of $XDG_CONFIG_DIRS
    // (default /etc/xdg).
    static Locations DefaultLocations();

    // Opens both locations, creating what is missing. False only when the per-user location
    // cannot be opened at all; then nothing the person changes could be kept.
    bool OpenSettingsKeys();
    // What a person should know about the opening: a damaged or unreadable settings file, in words.
    const QStringList& Problems() const { return OpenProblems; }
    // Why OpenSettingsKeys failed: the per-user file's path and the system's reason.
    const QString& OpenFailure() const { return OpenFault; }
    // What keeps the settings from being stored now, with the path and the system's reason;
    // empty while they are stored.
    const QString& WriteProblem() const { return WriteFault; }
    // The first location that cannot be written now and the system's reason; nothing while every
    // one can.
    struct WriteFailure {
        QString Path;
        QString Reason;
    };
    std::optional<WriteFailure> FirstWriteFailure() const;
    // report is called with a sentence whenever storing the settings starts failing, fails for
    // another reason, or works again; an empty report stops that.
    void SetWriteReport(std::function<void(const QString&)> report) { Report = std::move(report); }

    QString ReadUserSetting(const QString& subkey, const QString& name, const QString& defaultText = {}) const;
    QString ReadMachineSetting(const QString& subkey, const QString& name, const QString& defaultText = {}) const;
    void WriteUserSetting(const QString& subkey, const QString& name, const QString& text);
    void WriteMachineSetting(const QString& subkey, const QString& name, const QString& text);
    // Stores the writes made since the last flush, each location at once (atomically for files).
    void Flush();

    // A stored flag is set exactly when its text, lower-cased, is "true".
    static bool ReadFlag(const QString& text);
    // The number a stored text stands for: its numeric prefix, exponent included ("12abc" is 12,
    // "1e9" is 1000000000). Nothing when there is no number, or it is too large for a double.
    static std::optional<double> SettingValue(const QString& text);
    // A stored whole number from lowest to highest, rounded half to even; fallback when the text
    // holds no number or one outside that range, never a part of the number that would fit.
    static int SettingNumber(const QString& text, int lowest, int highest, int fallback);

private:
    // Says what changed in the write failures, once.
    void TellWriteProblem();

    Locations Where;
    QString MachinePath; // the machine-wide file in use
    QString UserFailure;
    QString MachineFailure;
    QString OpenFault;
    QString WriteFault;
    QStringList FailingPaths;
    std::function<void(const QString&)> Report;
    SettingsScope UserSettingsKey;
    SettingsScope MachineSettingsKey;
    QStringList OpenProblems;
};
