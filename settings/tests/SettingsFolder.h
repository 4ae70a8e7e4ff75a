#pragma once

// Settings of a test's own in a temporary folder, laid out as the program finds them with
// XDG_CONFIG_HOME=<folder>/home and XDG_CONFIG_DIRS=<folder>/etc.
#include "SettingsStore.h"

#include <QRect>
#include <QTemporaryDir>

inline SettingsStore::Locations SettingsIn(const QTemporaryDir& dir)
{
    return {dir.filePath(QStringLiteral("home/Quarvel/DevozOra.conf")), dir.filePath(QStringLiteral("etc/Quarvel/DevozOra.conf")),
            dir.filePath(QStringLiteral("home/Quarvel/DevozOra-machine.conf"))};
}

// Where an instrument window was stored: its outer rectangle, in pixels of 15 twips.
inline QRect StoredOuter(const SettingsStore& settings, int number)
{
    const auto pixels = [&](const char* name) {
        return settings.ReadUserSetting(QStringLiteral("Views"), name + QString::number(number)).toInt() / 15;
    };
    return {pixels("Left"), pixels("Top"), pixels("Width"), pixels("Height")};
}
