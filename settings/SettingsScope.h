#pragma once

#include "IniDocument.h"

#include <QString>

#include <functional>
#include <optional>

// One settings location (an INI file, or a registry key on Windows) holding text values in
// subkeys. Names are matched without regard to case, as the registry always did: start-up reads
// "Wordbits" where shutdown writes "WordBits", and both must reach one value. Writes are kept in
// memory until Flush, which stores them all at once. A read falls back to its default, a write to
// a read-only scope is dropped, and a flush that cannot store the values tells why and keeps them
// for the next.
class SettingsScope {
public:
    // Stores every value of the scope; nothing when that worked, else the system's reason (the
    // values stay to be flushed).
    using Store = std::function<QString(const IniDocument&)>;

    // A closed scope: every read gives its default, every write is dropped.
    SettingsScope() = default;
    // values are those read from the location; without store the scope is read-only.
    SettingsScope(IniDocument values, Store store);

    bool IsOpen() const { return Open; }
    bool IsWritable() const { return Open && static_cast<bool>(Saver); }

    QString Read(const QString& subkey, const QString& name, const QString& defaultText) const;
    void Write(const QString& subkey, const QString& name, const QString& text);
    // Stores what changed since the last flush. Nothing when nothing did or the scope is
    // read-only; an empty text when the values were stored; else why they were not.
    std::optional<QString> Flush();

private:
    IniDocument Values;
    Store Saver;
    bool Open = false;
    bool Changed = false;
};

// The part of text before its first NUL character (all of it when there is none).
QString TrimAtNul(const QString& text);
