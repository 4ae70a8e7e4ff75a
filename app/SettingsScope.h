#pragma once

#include <QString>

#include <memory>

class QSettings;

// One settings location (an INI file, or a registry key on Windows) holding text values in
// subkeys. Names are matched without regard to case, as the registry always did: start-up reads
// "Wordbits" where shutdown writes "WordBits", and both must reach one value. Nothing here reports
// a failure: a read falls back to its default, a write that cannot be kept is dropped.
class SettingsScope {
public:
    // A closed scope: every read gives its default, every write is dropped.
    SettingsScope();
    // store is the opened location; writable tells whether this process may change it.
    SettingsScope(std::unique_ptr<QSettings> store, bool writable);
    SettingsScope(SettingsScope&&) noexcept;
    SettingsScope& operator=(SettingsScope&&) noexcept;
    ~SettingsScope();

    bool IsOpen() const { return Store != nullptr; }
    bool IsWritable() const { return Store != nullptr && Writable; }

    QString Read(const QString& subkey, const QString& name, const QString& defaultText) const;
    void Write(const QString& subkey, const QString& name, const QString& text);

private:
    QStringList KeysNamed(const QString& subkey, const QString& name) const;
    QString GroupNamed(const QString& subkey) const;

    std::unique_ptr<QSettings> Store;
    bool Writable = false;
};

// The part of text before its first NUL character (all of it when there is none).
QString TrimAtNul(const QString& text);
