// devozora-screenshots OUTDIR [first-run]: starts the program's main window with the settings of
// the current environment (the screenshot script points XDG_CONFIG_HOME and XDG_CONFIG_DIRS at a
// throwaway folder whose receiver is the simulator and whose instrument windows are all open), lets
// sentences arrive, and saves pictures: the desktop as the windows were restored, frozen, unfrozen,
// on top and reopened, and at night in red with "Auto" chosen; each tab of the main window and
// each instrument window in "Daylight", "Night" and "Night" in red; each instrument window also
// at a large size, and without a fix. With first-run it saves the desktop only, as the
// window manager placed the windows. Run it on a desktop with a window manager, so that real
// fonts, frames and placements are used.
#include "InstrumentWindow.h"
#include "MainWindow.h"
#include "NavState.h"
#include "SettingsStore.h"

#include <QApplication>
#include <QCheckBox>
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

void SaveTabs(MainWindow& mainWindow, const QDir& out, const QString& suffix)
{
    auto* tabs = mainWindow.findChild<QTabWidget*>(QStringLiteral("Tabs"));
    for (int tab = 0; tab < tabs->count(); ++tab) {
        tabs->setCurrentIndex(tab);
        Save(mainWindow, out, QStringLiteral("main-%1-%2").arg(tabs->tabText(tab).toLower(), suffix));
    }
    tabs->setCurrentIndex(0);
}

// The top of the screen, where the screenshot script stores the windows, frames and all (or all
// of the screen).
void SaveDesktop(MainWindow& mainWindow, const QDir& out, const QString& name, int height = 400)
{
    const QString file = out.filePath(name + QStringLiteral(".png"));
    mainWindow.screen()->grabWindow(0, 0, 0, mainWindow.screen()->size().width(), height).save(file);
    std::printf("%s\n", qPrintable(file));
}

void Tick(MainWindow& mainWindow, const char* name, bool ticked)
{
    mainWindow.findChild<QCheckBox*>(QString::fromLatin1(name))->setChecked(ticked);
}

void SaveWindows(MainWindow& mainWindow, const QDir& out, const QString& suffix)
{
    mainWindow.Instruments().ForEachOpen([&](InstrumentWindow& window) {
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
    const bool firstRun = argc == 3 && QByteArray(argv[2]) == "first-run";
    if (argc != 2 && !firstRun) {
        std::fprintf(stderr, "usage: devozora-screenshots OUTDIR [first-run]\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.exists() && !QDir().mkpath(out.path()))
        return 1;

    NavState nav;
    SettingsStore store(SettingsStore::DefaultLocations());
    if (!store.OpenSettingsKeys())
        return 1;
    MainWindow mainWindow(nav, store);
    mainWindow.StartUp();
    mainWindow.show();
    auto* brightness = mainWindow.findChild<QComboBox*>(QStringLiteral("BrightnessMode"));
    // Long enough for "Auto" to find the receiver's baud rate, a fix, a full sky and the compass glide.
    constexpr int Settle = 7000;
    if (firstRun) {
        RunSteps({{Settle, [&] { SaveDesktop(mainWindow, out, QStringLiteral("desktop-first-run"), mainWindow.screen()->size().height()); }}});
        return QApplication::exec();
    }
    const auto reopen = [&mainWindow] {
        for (const char* box : {"ActiveWindow1", "ActiveWindow2", "ActiveWindow3", "ActiveWindow4", "ActiveWindow5", "ActiveWindow6"}) {
            Tick(mainWindow, box, false);
            Tick(mainWindow, box, true);
        }
    };
    RunSteps({
        {Settle, [&] { mainWindow.move(0, 0); }},
        {1000, [&] { SaveDesktop(mainWindow, out, QStringLiteral("desktop")); }},
        {0, [&] { Tick(mainWindow, "Freeze", true); }},
        {1500, [&] { SaveDesktop(mainWindow, out, QStringLiteral("desktop-frozen")); }},
        {0, [&] { Tick(mainWindow, "Freeze", false); }},
        {1500, [&] { SaveDesktop(mainWindow, out, QStringLiteral("desktop-unfrozen")); }},
        {0, [&] { Tick(mainWindow, "AlwaysOnTop", true); reopen(); }},
        {1500, [&] { SaveDesktop(mainWindow, out, QStringLiteral("desktop-on-top-reopened")); }},
        {0, [&] { SaveTabs(mainWindow, out, QStringLiteral("daylight")); SaveWindows(mainWindow, out, QStringLiteral("daylight")); }},
        {0, [&] { brightness->setCurrentText(QStringLiteral("Night")); }},
        {1500, [&] { SaveTabs(mainWindow, out, QStringLiteral("night")); SaveWindows(mainWindow, out, QStringLiteral("night")); }},
        {0, [&] {
            Tick(mainWindow, "NightRed", true);
            brightness->setCurrentText(QStringLiteral("Auto"));
            mainWindow.findChild<QTabWidget*>(QStringLiteral("Tabs"))->setCurrentIndex(2);
        }},
        {1500, [&] {
            SaveDesktop(mainWindow, out, QStringLiteral("desktop-night-red"));
            SaveTabs(mainWindow, out, QStringLiteral("night-red"));
            SaveWindows(mainWindow, out, QStringLiteral("night-red"));
            Tick(mainWindow, "NightRed", false);
        }},
        {0, [&] {
            brightness->setCurrentText(QStringLiteral("Daylight"));
            mainWindow.Instruments().ForEachOpen([](InstrumentWindow& window) { window.resize(window.size() * 2); });
        }},
        {1500, [&] { SaveWindows(mainWindow, out, QStringLiteral("large")); }},
        {0, [&] {
            mainWindow.Receiver().Stop();
            nav.FixValid = false;
            nav.ClearSky();
        }},
        {1500, [&] { SaveWindows(mainWindow, out, QStringLiteral("nofix")); mainWindow.close(); }},
    });
    return QApplication::exec();
}
