// devozora-simulator: a GPS receiver on a moving vessel, on a pseudo-terminal or on the network,
// for demonstrations and end-to-end tests.
#include "EpochSource.h"
#include "LineCorruption.h"
#include "NetworkOutput.h"
#include "OutputPacer.h"
#include "PseudoTerminal.h"
#include "ReplayLog.h"
#include "Simulation.h"
#include "SimulatorOptions.h"
#include "TerminationSignals.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <unistd.h>

namespace {

// A recording larger than this is not a log of a receiver.
constexpr qint64 MaxReplayBytes = 64 * 1024 * 1024;
// After the last epoch of a --count run, how long to wait for a reader to take what is left.
constexpr int LingerMs = 10'000;

std::unique_ptr<EpochSource> MakeReplay(const SimulatorOptions& options, std::int64_t stepMs,
                                        QString& error)
{
    QFile file(options.ReplayFile);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read %1: %2").arg(options.ReplayFile, file.errorString());
        return nullptr;
    }
    if (file.size() > MaxReplayBytes) {
        error = QStringLiteral("%1 is too large to be a receiver log").arg(options.ReplayFile);
        return nullptr;
    }
    const QByteArray text = file.readAll();
    auto epochs = ParseReplayLog(
        std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    if (epochs.empty()) {
        error = QStringLiteral("%1 holds no lines to replay").arg(options.ReplayFile);
        return nullptr;
    }
    return std::make_unique<ReplaySource>(std::move(epochs), stepMs, options.ReplaySpeed);
}

std::unique_ptr<EpochSource> MakeSource(const SimulatorOptions& options, QString& error)
{
    const std::int64_t stepMs = std::max<std::int64_t>(10, std::llround(1000 / options.Rate));
    if (!options.ReplayFile.isEmpty())
        return MakeReplay(options, stepMs, error);
    ReceiverSettings settings;
    settings.Start = {options.Latitude, options.Longitude, options.Seed};
    // Epochs fall on whole multiples of the step, as a receiver's do.
    settings.StartUtcMs = options.StartUtcMs.value_or(
        QDateTime::currentMSecsSinceEpoch() / stepMs * stepMs);
    settings.Outage = {options.DropFixAfter, options.DropFixFor};
    const auto lineBudget = static_cast<std::int64_t>(options.Baud / 10 * stepMs / 1000 / options.ReplaySpeed);
    return std::make_unique<ModelSource>(settings, stepMs, lineBudget, options.ReplaySpeed);
}

std::ptrdiff_t WriteStandardOutput(std::string_view bytes)
{
    const ssize_t written = ::write(STDOUT_FILENO, bytes.data(), bytes.size());
    if (written >= 0)
        return written;
    return errno == EINTR || errno == EAGAIN ? 0 : -1;
}

// Quits once a reader has taken everything written, or after LingerMs without one.
void QuitWhenRead(const PseudoTerminal& terminal, QCoreApplication& app)
{
    QElapsedTimer waited;
    waited.start();
    auto* poll = new QTimer(&app);
    QObject::connect(poll, &QTimer::timeout, &app, [waited, &terminal, &app] {
        if (terminal.Unread() == 0 || waited.hasExpired(LingerMs))
            app.quit();
    });
    poll->start(50);
}

// Unplugs the device after the given time and plugs it back in after the second.
void ScheduleUnplug(const SimulatorOptions& options, std::function<void()> unplug,
                    std::function<bool(QString&)> replug, QCoreApplication& app)
{
    QTimer::singleShot(std::llround(options.UnplugAfter * 1000), &app, [&options, unplug, replug, &app] {
        unplug();
        QTimer::singleShot(std::llround(options.UnplugFor * 1000), &app, [replug, &app] {
            QString error;
            if (!replug(error)) {
                std::fprintf(stderr, "devozora-simulator: %s\n", qPrintable(error));
                app.exit(2);
            }
        });
    });
}

int Fail(const QString& message)
{
    std::fprintf(stderr, "devozora-simulator: %s\n", qPrintable(message));
    return 2;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("devozora-simulator");
    QCoreApplication::setApplicationVersion(DEVOZORA_VERSION);
    QString error;
    const auto options = ParseSimulatorOptions(QCoreApplication::arguments(), error);
    if (!options)
        return Fail(error);
    std::unique_ptr<EpochSource> source = MakeSource(*options, error);
    if (!source)
        return Fail(error);
    // Ctrl+C and kill end the event loop, so that the device link is removed on the way out.
    if (const int signalPipe = WatchTerminationSignals(); signalPipe >= 0) {
        auto* notifier = new QSocketNotifier(signalPipe, QSocketNotifier::Read, &app);
        QObject::connect(notifier, &QSocketNotifier::activated, &app, [&app, signalPipe] {
            DrainTerminationSignals(signalPipe);
            app.quit();
        });
    }

    PseudoTerminal terminal;
    NetworkOutput network;
    const bool onNetwork = options->TcpPort >= 0 || !options->UdpTarget.isEmpty();
    ByteSink sink = WriteStandardOutput;
    if (onNetwork) {
        const bool ready = options->TcpPort >= 0 ? network.ServeTcp(static_cast<quint16>(options->TcpPort), error)
                                                 : network.SendUdp(options->UdpTarget, error);
        if (!ready)
            return Fail(error);
        sink = [&network](std::string_view bytes) { return network.Write(bytes); };
        std::printf("%s\n", qPrintable(network.Entry()));
        std::fflush(stdout);
    } else if (!options->ToStdout) {
        if (!terminal.Open(error))
            return Fail(error);
        terminal.SetLineRate(options->Baud);
        if (!options->LinkPath.isEmpty() && !terminal.CreateLink(options->LinkPath, error))
            return Fail(error);
        sink = [&terminal](std::string_view bytes) { return terminal.Write(bytes); };
        std::printf("%s\n", qPrintable(terminal.SlavePath()));
        std::fflush(stdout);
    }

    OutputPacer output(sink, options->Baud);
    LineCorruption corruption(options->NoisePercent, options->BadChecksumPercent, options->Seed);
    std::int64_t count = options->Count;
    if (const auto* replay = dynamic_cast<const ReplaySource*>(source.get()); replay && options->ReplayOnce)
        count = replay->EpochCount();
    Simulation simulation(*source, corruption, output, count);
    QObject::connect(&output, &OutputPacer::OutputLost, &app, &QCoreApplication::quit);
    QObject::connect(&output, &OutputPacer::Overrun, &app, [] {
        std::fprintf(stderr, "devozora-simulator: the line is too slow for the stream, lines are "
                             "dropped (lower --rate or raise --baud)\n");
    });
    QObject::connect(&simulation, &Simulation::Finished, &app, [&] {
        if (options->ToStdout)
            app.quit();
        else if (onNetwork) // what was sent is on its way
            QTimer::singleShot(LingerMs / 10, &app, &QCoreApplication::quit);
        else
            QuitWhenRead(terminal, app);
    });
    if (options->UnplugAfter > 0 && onNetwork)
        ScheduleUnplug(
            *options, [&network] { network.Unplug(); }, [&network](QString& e) { return network.Replug(e); }, app);
    else if (options->UnplugAfter > 0)
        ScheduleUnplug(
            *options, [&terminal] { terminal.Unplug(); }, [&terminal](QString& e) { return terminal.Replug(e); }, app);
    simulation.Start(std::llround(options->DelaySeconds * 1000));
    const int status = app.exec();
    if (output.DroppedLines() > 0)
        std::fprintf(stderr, "devozora-simulator: %zu lines did not fit the line and were dropped\n",
                     output.DroppedLines());
    return status;
}
