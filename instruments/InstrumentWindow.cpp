#include "InstrumentWindow.h"

#include "InstrumentHost.h"
#include "Rounding.h"
#include "Twips.h"
#include "WindowFrame.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPalette>
#include <QScreen>

InstrumentWindow::InstrumentWindow(int number, const QString& caption, QSize initialClientTwips,
                                   const NavState& nav, InstrumentHost& host, QWidget* parent)
    : QWidget(parent, Qt::Window), Nav(nav), Host(host), Timer1(this), WindowNumber(number),
      Caption(caption)
{
    if (const QScreen* screen = this->screen()) {
        PixelTwipsX = TwipsPerPixel(screen->logicalDotsPerInchX());
        PixelTwipsY = TwipsPerPixel(screen->logicalDotsPerInchY());
    }
    setWindowTitle(caption);
    // The background is black in every brightness mode: at night only the dimmed text may light up.
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
    resize(TwipsToPixels(initialClientTwips.width(), PixelTwipsX),
           TwipsToPixels(initialClientTwips.height(), PixelTwipsY));
    connect(&Timer1, &QTimer::timeout, this, [this] { Tick(); });
    connect(&Placement, &WindowFrame::FrameKnown, this, [this] {
        if (!Closed)
            StoreGeometry();
    });
}

void InstrumentWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (Closed)
        return;
    Closed = true;
    Timer1.stop();
    StoreGeometry();
    Host.InstrumentWindowClosed(WindowNumber);
}

void InstrumentWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_B && !event->isAutoRepeat())
        Host.StepBrightness(event->modifiers() & Qt::ShiftModifier ? -1 : 1);
    else
        QWidget::keyPressEvent(event);
}

bool InstrumentWindow::event(QEvent* event)
{
    // Kept as soon as it changes, so that the place survives an ending nobody announced.
    if ((event->type() == QEvent::Move || event->type() == QEvent::Resize) && isVisible() && !Closed)
        StoreGeometry();
    return QWidget::event(event);
}

void InstrumentWindow::StoreGeometry()
{
    const QRect outer = Placement.Outer();
    const auto write = [this](const char* name, int pixels, double twipsPerPixel) {
        const double twips = RoundHalfEven(PixelsToTwips(pixels, twipsPerPixel));
        Host.WriteUserSetting(QStringLiteral("Views"), QLatin1String(name) + QString::number(WindowNumber),
                              QString::number(twips, 'f', 0));
    };
    write("Left", outer.left(), PixelTwipsX);
    write("Top", outer.top(), PixelTwipsY);
    write("Width", outer.width(), PixelTwipsX);
    write("Height", outer.height(), PixelTwipsY);
}
