#pragma once

#include "SettingsScope.h"

#include <QString>

#include <optional>

// Whose settings a location holds, which decides what happens to it when it is damaged: a
// person's own file is kept aside and started afresh, while an administrator's machine-wide file
// is never renamed or changed (what can be read from it is used, read-only).
enum class SettingsOwner { Person, Administrator };

// Opens the settings at location (an INI file; on Windows a registry path), creating it when it is
// missing. Nothing when it is missing and cannot be created. A location that exists but cannot be
// read gives a closed scope; one this process may only read gives a read-only scope. Where the
// person should know what happened (a damaged or unreadable file), problem receives a sentence
// saying so; otherwise it is left as it is.
std::optional<SettingsScope> OpenSettingsLocation(const QString& location, SettingsOwner owner, QString& problem);

// Why this process cannot write a settings file at location, in the system's words: the file's
// own permission, or its folder's (a new file replaces the old one, so the folder must be
// writable too), or the nearest folder above it that there is when the folder is still missing.
// Empty when it can.
QString WhyNotWritable(const QString& location);
