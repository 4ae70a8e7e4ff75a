// devozora-screenshots OUTDIR: starts the program's main window with the settings of the current
// environment (the screenshot script points XDG_CONFIG_HOME and XDG_CONFIG_DIRS at a throwaway
// folder whose receiver is the simulator and whose instrument windows are all open), lets
// sentences arrive, and saves pictures: each tab of the main window, each instrument window in
// "Daylight" and "Night", at a large size, and without a fix. Run it under Xvfb so that real fonts
// and the real window system are used.
#include "Basis.h"
#include "InstrumentWindow.h"
#include "NavState.h"
#include "Registry.h"

#include <QApplication>
#include <QComboBox>
#include <QScreen>
#include <QDir>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <vector>

namespace {

void Save(QWidget& widget, const QDir& out, const QString& name)
{
    const QString file = out.filePath(name + QStringLiteral(".png"));
    widget.grab().save(file);
    std::printf("%s\n", qPrintable(file));
}

void SaveTabs(Basis& basis, const QDir& out)
{
    auto* tabs = basis.findChild<QTabWidget*>(QStringLiteral("TabBladen"));
    for (int tab = 0; tab < tabs->count(); ++tab) {
        tabs->setCurrentIndex(tab);
        Save(basis, out, QStringLiteral("main-%1").arg(tabs->tabText(tab).toLower()));
    }
    tabs->setCurrentIndex(0);
}

// The main window and the instruments side by side, as on a chart-table screen.
void SaveDesktop(Basis& basis, const QDir& out)
{
    // The main window, then windows 1 to 6.
    const QPoint places[] = {{0, 10}, {470, 0}, {835, 0}, {835, 240}, {835, 120}, {1060, 120}, {1060, 240}};
    basis.move(places[0]);
    basis.Instruments().ForEachOpen([&](InstrumentWindow& window) { window.move(places[window.Number()]); });
    QTimer::singleShot(1500, [&basis, out] {
        const QString file = out.filePath(QStringLiteral("desktop.png"));
        basis.screen()->grabWindow(0, 0, 0, 1310, 355).save(file);
        std::printf("%s\n", qPrintable(file));
    });
}

void SaveWindows(Basis& basis, const QDir& out, const QString& suffix)
{
    basis.Instruments().ForEachOpen([&](InstrumentWindow& window) {
        const QString title = window.Tag().toLower().replace(QLatin1Char(' '), QLatin1Char('-'));
        Save(window, out, QStringLiteral("window%1-%2-%3").arg(window.Number()).arg(title, suffix));
    });
}

// Runs the steps one after the other, each after its delay, then quits.
void RunSteps(std::vector<std::pair<int, std::function<void()>>> steps)
{
    if (steps.empty()) {
        QApplication::quit();
        return;
    }
    auto [delay, step] = steps.front();
    steps.erase(steps.begin());
    QTimer::singleShot(delay, [step, rest = std::move(steps)]() mutable {
        step();
        RunSteps(std::move(rest));
    });
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: devozora-screenshots OUTDIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.exists() && !QDir().mkpath(out.path()))
        return 1;

    NavState nav;
    Registry registry(Registry::DefaultLocations());
    if (!registry.OpenSettingsKeys())
        return 1;
    Basis basis(nav, registry);
    basis.StartUp();
    basis.show();
    auto* brightness = basis.findChild<QComboBox*>(QStringLiteral("BrightnessMode"));
    // Long enough for a fix, a full sky and the compass glide.
    constexpr int Settle = 4000;
    RunSteps({
        {Settle, [&] { SaveTabs(basis, out); SaveWindows(basis, out, QStringLiteral("daylight")); }},
        {0, [&] { SaveDesktop(basis, out); }},
        {2000, [] {}},
        {0, [&] { brightness->setCurrentText(QStringLiteral("Night")); }},
        {1500, [&] { SaveWindows(basis, out, QStringLiteral("night")); }},
        {0, [&] {
            brightness->setCurrentText(QStringLiteral("Daylight"));
            basis.Instruments().ForEachOpen([](InstrumentWindow& window) { window.resize(window.size() * 2); });
        }},
        {1500, [&] { SaveWindows(basis, out, QStringLiteral("large")); }},
        {0, [&] {
            basis.Receiver().Stop();
            nav.FixValid = false;
            nav.ClearSky();
        }},
        {1500, [&] { SaveWindows(basis, out, QStringLiteral("nofix")); basis.close(); }},
    });
    return QApplication::exec();
}
