#include "Simulation.h"

#include <algorithm>

Simulation::Simulation(EpochSource& source, LineCorruption& corruption, OutputPacer& output,
                       std::int64_t count, QObject* parent)
    : QObject(parent), Source(source), Corruption(corruption), Output(output), Count(count)
{
    Timer.setSingleShot(true);
    Timer.setTimerType(Qt::PreciseTimer);
    connect(&Timer, &QTimer::timeout, this, &Simulation::SendEpoch);
}

void Simulation::Start(std::int64_t delayMs)
{
    Clock.start();
    DueMs = delayMs;
    Timer.start(static_cast<int>(delayMs));
}

void Simulation::SendEpoch()
{
    EpochLines epoch = Source.Next();
    for (std::string& line : epoch.Lines)
        Corruption.Apply(line);
    Output.Send(epoch.Lines);
    ++Sent;
    if (Count > 0 && Sent >= Count) {
        FinishWhenSent();
        return;
    }
    DueMs += epoch.DelayMs;
    Timer.start(static_cast<int>(std::max<std::int64_t>(0, DueMs - Clock.elapsed())));
}

void Simulation::FinishWhenSent()
{
    if (Output.Idle()) {
        emit Finished();
        return;
    }
    connect(&Output, &OutputPacer::Drained, this, &Simulation::Finished, Qt::SingleShotConnection);
}
