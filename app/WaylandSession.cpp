#include "WaylandSession.h"

#include <QGuiApplication>

void ChooseWindowSystem()
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return;
    qputenv("QT_QPA_PLATFORM", qEnvironmentVariableIsEmpty("DISPLAY") ? "wayland" : "xcb");
}

QString WindowPromisesNotKept()
{
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return {};
    return QStringLiteral("Wayland without XWayland: the compositor places the windows, so they do not come back "
                          "where they were, and cannot be kept on top or off the taskbar");
}
