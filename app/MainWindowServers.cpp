// What the window shows of the servers for plotters: their part of the at-a-glance lines, and on
// the bottom line what keeps one from listening, or the settings from being written.
#include "MainWindow.h"

#include "PathLine.h"
#include "SettingsStore.h"
#include "StationGlance.h"
#include "WaylandSession.h"

#include <QLabel>

void MainWindow::FillServerGlance(StationGlance& glance)
{
    for (const ServerStatus& server : Serving.Servers()) {
        ServerGlance& shown = server.Service == QLatin1String("GPSD") ? glance.Gpsd
            : server.Service == QLatin1String("NMEA")                 ? glance.Nmea
                                                                      : glance.Web;
        shown = {true, server.Listening, server.Port, server.Clients};
    }
}

void MainWindow::ShowStatusLine()
{
    QStringList problems;
    QStringList shown;
    if (const std::optional<SettingsStore::WriteFailure> failure = Settings.FirstWriteFailure()) {
        problems << Settings.WriteProblem();
        // The path gives way to the reason, the folder's path to the file's: the tooltip has all.
        QString reason = failure->Reason;
        if (reason.startsWith(QLatin1String("its folder ")))
            reason = QStringLiteral("its folder: ") + reason.mid(reason.lastIndexOf(QLatin1String(": ")) + 2);
        shown << PathLine(StatusLine->fontMetrics(), StatusLine->width(), QStringLiteral("Settings not saved: "), failure->Path,
                          QStringLiteral(" (%1)").arg(reason), false);
    }
    for (const ServerStatus& server : Serving.Servers()) {
        if (!server.Problem.isEmpty()) {
            problems << server.Problem;
            shown << server.Problem;
        }
    }
    const QString separator = QStringLiteral("  \u00B7  ");
    // Without a problem: that the settings are written again, for a while, or what the window
    // system does not let the program keep, or else the version.
    const QString note = !SettingsNews.isEmpty() ? SettingsNews : WindowPromisesNotKept();
    const QString text = !shown.isEmpty() ? shown.join(separator)
        : !SettingsNews.isEmpty() ? QStringLiteral("Settings saved again")
        : !note.isEmpty() ? note
        : QStringLiteral("DevozOra %1 \u00B7 NMEA instruments and GPSD server").arg(QStringLiteral(DEVOZORA_VERSION));
    QPalette colours = StatusLine->palette();
    colours.setColor(QPalette::WindowText, ScaledColour(problems.isEmpty() ? Rgb(128, 128, 128) : Rgb(192, 0, 0), Applied));
    StatusLine->setPalette(colours);
    StatusLine->setToolTip(!problems.isEmpty() ? problems.join(separator) : note);
    StatusLine->setText(StatusLine->fontMetrics().elidedText(text, Qt::ElideRight, StatusLine->width()));
}
