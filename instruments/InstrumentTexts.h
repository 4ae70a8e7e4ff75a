#pragma once

#include <QString>
#include <QTime>

#include <optional>

// The texts of the digital windows, built exactly as they are meant to read: a two-line text is
// joined by CR LF, and the degree mark is U+00BA. DisplayText turns the line break into the one a
// Qt label expects.

// Shown by every value label while there is no fix.
QString NoReceptionText();

// Latitude and longitude (signed degrees-and-minutes, NMEA value / 100) as two lines,
// "52º13.400' N" above "004º53.210' E". Only values above 0 are north or east, so 0 reads S and W.
QString PositionText(float latitude, float longitude);

// Knots with one decimal: 9.96 reads "10.0".
QString SpeedText(float knots);

// Whole degrees, truncated toward minus infinity and never zero-filled: 89.9 reads "89º".
// A course that is not a number reads "?º".
QString CourseText(float degrees);

// The separator between the fields of a clock time in a locale's time format: "HH:mm" gives ':',
// "h.mm AP" '.'; a format without one gives ':'.
QChar TimeSeparator(const QString& timeFormat);

// A 24-hour clock time, two digits per field; an unknown time shows only the dashes.
QString ClockText(std::optional<QTime> time, QChar separator);

QString DisplayText(const QString& text);
