#pragma once

#include "ReceptionSummary.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>

#include <functional>

class NmeaReceiver;
struct NavState;

// Two lines on the first tab that say whether the station works: the receiver (the fix's quality,
// satellites used and seen, the age of the fix, sentences per second) and the servers (the port
// each serves on and its clients). The words come from the plain snapshot of StationGlance; this
// only shows them, once a second and only while they can be seen.
class AtAGlance : public QLabel {
    Q_OBJECT

public:
    // servers fills in the servers' part of a snapshot.
    AtAGlance(const NavState& nav, NmeaReceiver& receiver, std::function<void(StationGlance&)> servers,
              QWidget* parent = nullptr);

    // The snapshot as it stands now.
    StationGlance Glance() const;
    // Shows it now, when it can be seen.
    void Refresh();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    const NavState& Nav;
    std::function<void(StationGlance&)> Servers;
    ReceptionSummary Summary;
    QElapsedTimer Clock;
    QTimer Ticker;
};
