#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Takes bytes; returns how many it took (0: try again later), or a negative number when the
// output is gone for good.
using ByteSink = std::function<std::ptrdiff_t(std::string_view)>;

// Sends lines to the output, either as fast as it takes them or at the pace of a serial line:
// ten bits per character, so 480 characters a second at 4800 baud, in small pieces every few
// milliseconds as a UART would. What the line cannot carry is dropped in whole lines rather than
// piling up without end.
class OutputPacer : public QObject {
    Q_OBJECT

public:
    // baud 0: no pacing.
    OutputPacer(ByteSink sink, int baud, QObject* parent = nullptr);

    // Queues the lines, each followed by CR LF.
    void Send(const std::vector<std::string>& lines);
    bool Idle() const { return Pending.empty(); }
    std::size_t DroppedLines() const { return Dropped; }

signals:
    void Drained();
    void OutputLost();
    // The first time lines had to be dropped: the line is too slow for the stream.
    void Overrun();

private:
    void Pump();
    std::size_t Allowance();

    static constexpr int TickMs = 10;

    ByteSink Sink;
    double CharactersPerSecond = 0;
    std::size_t Capacity = 0;
    std::string Pending;
    std::size_t Dropped = 0;
    double Credit = 0;
    QElapsedTimer SinceTick;
    QTimer Tick;
};
