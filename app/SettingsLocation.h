#pragma once

#include "SettingsScope.h"

#include <QString>

#include <optional>

// Opens the settings at location (an INI file; on Windows a registry path), creating it when it is
// missing. Nothing when it is missing and cannot be created. A location that exists but cannot be
// used as settings (not a file, unreadable, corrupt and not ours to replace) gives a closed scope;
// one this process may only read gives a read-only scope.
std::optional<SettingsScope> OpenSettingsLocation(const QString& location);
