#pragma once

#include <QString>

class QFontMetrics;

// A line that names a file or device and says something about it ("/dev/ttyUSB0 — Permission
// denied: add yourself to the dialout group"), fitted to width pixels: the path is shortened in
// its middle as far as it takes, what is said about it never. For a label that wraps, where what
// is said leaves less than a third of the width to the path, the path keeps up to a line of its
// own.
QString PathLine(const QFontMetrics& metrics, int width, const QString& before, const QString& path, const QString& after,
                 bool wraps);
