// What the window shows of the servers for plotters: their part of the at-a-glance lines, and on
// the bottom line what keeps one from listening.
#include "MainWindow.h"

#include "StationGlance.h"

#include <QLabel>

void MainWindow::FillServerGlance(StationGlance& glance)
{
    for (const ServerStatus& server : Serving.Servers()) {
        ServerGlance& shown = server.Service == QLatin1String("GPSD") ? glance.Gpsd : glance.Nmea;
        shown = {true, server.Listening, server.Port, server.Clients};
    }
}

void MainWindow::ShowStatusLine()
{
    QStringList problems;
    for (const ServerStatus& server : Serving.Servers()) {
        if (!server.Problem.isEmpty())
            problems << server.Problem;
    }
    const QString text = problems.isEmpty()
        ? QStringLiteral("DevozOra %1 \u00B7 NMEA instruments and GPSD server").arg(QStringLiteral(DEVOZORA_VERSION))
        : problems.join(QStringLiteral("  \u00B7  "));
    QPalette colours = StatusLine->palette();
    colours.setColor(QPalette::WindowText, ScaledColour(problems.isEmpty() ? Rgb(128, 128, 128) : Rgb(192, 0, 0), Applied));
    StatusLine->setPalette(colours);
    StatusLine->setToolTip(problems.isEmpty() ? QString() : text);
    StatusLine->setText(StatusLine->fontMetrics().elidedText(text, Qt::ElideRight, StatusLine->width()));
}
