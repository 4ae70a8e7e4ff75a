#pragma once

#include <QMargins>
#include <QRect>

class QWidget;

// The frame the window system puts around a top-level window, and the outer rectangle it gives.
// QWidget::frameGeometry() keeps the old frame of a window that has just lost its frame (Qt only
// refreshes it from a non-empty frame), so a frozen window would be measured a frame too large:
// these ask the native window instead, and know that a frameless window has none.
QMargins FrameMargins(const QWidget* window);
QRect OuterGeometry(const QWidget* window);
