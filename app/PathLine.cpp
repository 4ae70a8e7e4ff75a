#include "PathLine.h"

#include <QFontMetrics>

#include <algorithm>

QString PathLine(const QFontMetrics& metrics, int width, const QString& before, const QString& path, const QString& after,
                 bool wraps)
{
    const int room = width - metrics.horizontalAdvance(before + after);
    const int pathWidth = room >= width / 3 || !wraps ? room : width;
    return before + metrics.elidedText(path, Qt::ElideMiddle, std::max(pathWidth, 0)) + after;
}
