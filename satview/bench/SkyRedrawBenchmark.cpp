// Times complete redraws of the satellite sky view, with satellites of every constellation in
// the first slots (all of them by default), at the window's default size, into its off-screen
// image. Prints the mean and the 99th percentile in ms.
//
//   bench_sky_redraw [redraws] [satellites]   (default 1000 and every slot; offscreen platform)

#include "InstrumentHost.h"
#include "NavState.h"
#include "SkyViewWindow.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <vector>

namespace {

class BenchHost : public InstrumentHost {
public:
    Brightness CurrentBrightness() const override { return {}; }
    void StepBrightness(int) override {}
    QString UtcDifferenceText() const override { return QStringLiteral("AUTO"); }
    bool DaylightSavingTicked() const override { return false; }
    bool LocalTimeSelected() const override { return false; }
    void InstrumentWindowClosed(int /*number*/) override {}
    void WriteUserSetting(const QString&, const QString&, const QString&) override {}
};

class TimedSatView : public SkyViewWindow {
public:
    using SkyViewWindow::SkyViewWindow;
    using SkyViewWindow::Tick;
};

void FillSky(NavState& nav, std::size_t satellites)
{
    constexpr char systems[] = {Gnss::Gps, Gnss::Glonass, Gnss::Galileo, Gnss::BeiDou, Gnss::Qzss, Gnss::NavIc};
    for (std::size_t i = 0; i < satellites; ++i) {
        nav.SkySystem[i] = systems[i % std::size(systems)];
        nav.SkyPrn[i] = static_cast<std::uint16_t>(i + 1);
        nav.SkyElevation[i] = static_cast<std::int16_t>((i * 13) % 90);
        nav.SkyAzimuth[i] = static_cast<std::int16_t>((i * 47) % 360);
        nav.SkySnr[i] = static_cast<std::uint8_t>((i * 7) % 60);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int redraws = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
    const int satellites = argc > 2 ? std::clamp(std::atoi(argv[2]), 0, SkySlotCount) : SkySlotCount;

    NavState nav;
    FillSky(nav, static_cast<std::size_t>(satellites));
    BenchHost host;
    TimedSatView view(nav, host);
    view.AdjustColors({});
    view.Tick();   // warm up the font and glyph caches and both images
    view.Tick();

    std::vector<double> ms;
    ms.reserve(static_cast<std::size_t>(redraws));
    QElapsedTimer timer;
    for (int i = 0; i < redraws; ++i) {
        timer.start();
        view.Tick();
        ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    double sum = 0;
    for (const double m : ms)
        sum += m;
    const auto p99 = ms[static_cast<std::size_t>(static_cast<double>(ms.size() - 1) * 0.99)];
    std::printf("sky redraw, %d x %d pixels, %d satellites, %d redraws: mean %.3f ms, p99 %.3f ms\n",
                view.width(), view.height(), satellites, redraws, sum / static_cast<double>(ms.size()), p99);
    return 0;
}
