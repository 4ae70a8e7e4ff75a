#pragma once

#include "EpochSource.h"
#include "LineCorruption.h"
#include "OutputPacer.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <cstdint>

// Sends the epochs of a source to the output, each when it is due. Due times are counted from the
// start, so a late timer does not make the stream drift.
class Simulation : public QObject {
    Q_OBJECT

public:
    // count: epochs to send before finishing; 0 runs until stopped.
    Simulation(EpochSource& source, LineCorruption& corruption, OutputPacer& output,
               std::int64_t count, QObject* parent = nullptr);

    void Start(std::int64_t delayMs = 0);

signals:
    // All count epochs have gone out.
    void Finished();

private:
    void SendEpoch();
    void FinishWhenSent();

    EpochSource& Source;
    LineCorruption& Corruption;
    OutputPacer& Output;
    std::int64_t Count = 0;
    std::int64_t Sent = 0;
    std::int64_t DueMs = 0;
    QElapsedTimer Clock;
    QTimer Timer;
};
