#pragma once

#include <array>
#include <chrono>

// "Auto" of the baud-rate list: finds the rate a receiver sends at by listening at the rates
// receivers use, the most common first, until sentences with valid checksums arrive, and keeps
// that rate. At a wrong rate a receiver's bytes arrive as noise, in which a valid checksum is
// rare, and two in one turn practically never come by chance; a receiver sending once a second
// gets two through within a turn, since most send five or more sentences each second, and a turn
// that brought only one is given a second turn. A kept rate is given up only when many lines in
// a row arrive broken (the receiver was set to another rate); silence keeps it, since a receiver
// that is switched off and on again talks at the rate it had.
//
// The owner applies Rate() to the port whenever it changes, and says when a turn is over.
class BaudSearch {
public:
    // In the order they are tried: the NMEA 0183 rate, then what receivers are set to most.
    static constexpr std::array<int, 6> Rates{4800, 9600, 38400, 115200, 19200, 57600};
    static constexpr int SentencesNeeded = 2;
    static constexpr std::chrono::milliseconds Turn{2000};
    static constexpr int BrokenLinesBeforeLoss = 20;

    // From the first rate, with nothing found.
    void Restart();

    int Rate() const { return Rates[Index]; }
    bool Found() const { return Kept; }

    // A line processed at the current rate; true when it changed Rate() (a kept rate was lost).
    bool TakeLine(bool checksumValid);
    // The turn at the current rate is over; true when the next rate is to be tried.
    bool TurnOver();

private:
    void Next();

    std::size_t Index = 0;
    int ValidLines = 0;   // in this turn, or in a row since the last broken line once kept
    int BrokenLines = 0;  // in a row, once kept
    bool Extended = false;
    bool Kept = false;
};
