// devozora-screenshots OUTDIR: starts the program's main window with the settings of the current
// environment (the screenshot script points XDG_CONFIG_HOME and XDG_CONFIG_DIRS at a throwaway
// folder whose receiver is the simulator), lets sentences arrive for a few seconds, and saves a
// picture of each tab. Run it under Xvfb so that real fonts and the real window system are used.
#include "Basis.h"
#include "NavState.h"
#include "Registry.h"

#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>

namespace {

void SaveTabs(Basis& basis, const QDir& out)
{
    auto* tabs = basis.findChild<QTabWidget*>(QStringLiteral("TabBladen"));
    for (int tab = 0; tab < tabs->count(); ++tab) {
        tabs->setCurrentIndex(tab);
        const QString file = out.filePath(QStringLiteral("main-%1.png").arg(tabs->tabText(tab).toLower()));
        basis.grab().save(file);
        std::printf("%s\n", qPrintable(file));
    }
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
    QTimer::singleShot(3000, &basis, [&] {
        SaveTabs(basis, out);
        basis.close();
        QApplication::quit();
    });
    return QApplication::exec();
}
