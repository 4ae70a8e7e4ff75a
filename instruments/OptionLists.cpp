#include "OptionLists.h"

QStringList UtcDifferenceEntries()
{
    QStringList entries{QStringLiteral("AUTO")};
    for (int hours = -12; hours <= 13; ++hours) {
        // Zones half an hour west of a whole hour come before it, those east of it after it.
        if (hours == -4)
            entries << QStringLiteral("-4:30");
        if (hours == -3)
            entries << QStringLiteral("-3:30");
        entries << (hours > 0 ? QStringLiteral("+%1:00") : QStringLiteral("%1:00")).arg(hours);
        switch (hours) {
        case 3: entries << QStringLiteral("+3:30"); break;
        case 4: entries << QStringLiteral("+4:30"); break;
        case 5: entries << QStringLiteral("+5:30") << QStringLiteral("+5:45"); break;
        case 6: entries << QStringLiteral("+6:30"); break;
        case 9: entries << QStringLiteral("+9:30"); break;
        default: break;
        }
    }
    return entries;
}

QStringList BrightnessEntries()
{
    QStringList entries;
    for (std::string_view mode : BrightnessModes)
        entries << QString::fromLatin1(mode.data(), static_cast<qsizetype>(mode.size()));
    return entries << QStringLiteral("Auto");
}
