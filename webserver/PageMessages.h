#pragma once

#include "FixDateTime.h"

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <optional>
#include <string_view>

struct NavState;

// What the web page is sent over its WebSocket, as JSON text: the same texts, scale values and
// colours the instrument windows show, computed by the same code, so that the page only draws.

// The look: the level the program shows now (shownMode, "Auto" already resolved) and the colours
// of every level, so that a device may choose a level of its own without asking; at "Dusk" and
// "Night" the colours are red only when nightRed is set.
QString LookMessage(std::string_view shownMode, bool nightRed);

// The values of the six instruments. fixAgeSeconds, while there is no fix, is how long ago the
// last one came; nullopt when none has come since the start.
QString ValuesMessage(const NavState& nav, const TimeDisplay& time, const QDateTime& computerNow,
                      const QLocale& locale, std::optional<qint64> fixAgeSeconds);

// "Last fix 40 s ago", "Last fix 12 min ago", "Last fix 3 h ago".
QString FixAgeText(qint64 seconds);
