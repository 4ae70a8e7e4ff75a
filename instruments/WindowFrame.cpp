#include "WindowFrame.h"

#include <QWidget>
#include <QWindow>

QMargins FrameMargins(const QWidget* window)
{
    if (window->windowFlags().testFlag(Qt::FramelessWindowHint))
        return {};
    if (const QWindow* native = window->windowHandle())
        return native->frameMargins();
    return {};
}

QRect OuterGeometry(const QWidget* window)
{
    return window->geometry().marginsAdded(FrameMargins(window));
}
