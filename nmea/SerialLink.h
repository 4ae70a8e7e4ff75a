#pragma once

#include "IndicatorColour.h"
#include "NmeaInput.h"
#include "PortDevices.h"
#include "SerialSettings.h"

#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QTimer>

#include <string_view>

struct NavState;

// The serial port Poort through which the NMEA text arrives: opens it with the selected settings
// (COMopenen), hands every received character to the character intake, and keeps the reception
// indicator. Problems show only as indicator colours; nothing here ever gives up for good, the
// reception watchdog keeps calling COMopenen until sentences flow again.
class SerialLink : public QObject {
    Q_OBJECT

public:
    explicit SerialLink(NavState& nav, QObject* parent = nullptr);

    // Closes the port and, while opening is allowed, configures and reopens it. A partly received
    // line is kept: the next characters complete it.
    void COMopenen();
    void Close();

    // The reception watchdog allows opening while it runs: before start-up has enabled it and
    // from shutdown on, COMopenen only closes.
    void SetOpeningAllowed(bool allowed) { OpeningAllowed = allowed; }

    const SerialSettings& Settings() const { return Selected; }
    // The handler of every serial list: takes the new selections and reopens the port.
    void ChangeSettings(const SerialSettings& settings);
    PortDevices& Devices() { return PortMap; }
    // The device the selected port number opens (shown beside the port list).
    QString SelectedDevice() const { return PortMap.Device(Selected.PortNumber()); }

    bool IsOpen() const { return Poort.isOpen(); }
    IndicatorColour OntvangstLED() const { return Indicator; }
    void SetOntvangstLED(IndicatorColour colour);
    const NmeaInput& Input() const { return Intake; }
    // Which talkers are read is the receiver's business, set at start-up.
    SentenceInterpreter& Interpreter() { return Intake.Interpreter(); }
    // The InputScreening text as the window shows it (received bytes as Latin-1).
    QString InputScreeningText() const;

signals:
    void OntvangstLEDChanged(IndicatorColour colour);
    // At most once per batch of received characters, and when a failed open empties the text.
    void InputScreeningChanged(const QString& text);
    // Every processed line, in order, with its text as received when its checksum was valid
    // (empty otherwise). The text is valid only while the signal is delivered: connect directly.
    void LineReceived(const LineResult& result, std::string_view sentence);
    // A complete receiver cycle (see EpochCollector): at its last sentence, at the first of the
    // next, or when the line has been quiet for QuietGap.
    void EpochEnded(const FixEpoch& epoch);
    // The port opened (start-up opens it once; each reopen says so again).
    void PortOpened();
    // The port was closed and stays closed: its device went away, or would not open again.
    // A reopen that succeeds says PortOpened only.
    void PortClosed();

private:
    // Configures and opens the selected port; false when it stays closed.
    bool OpenSelectedPort();
    void ReceiveWaitingInput();
    void OnPortError(QSerialPort::SerialPortError error);
    void ClearInputScreening();
    void SayClosed();

    // Longer than the pauses between the sentences of one cycle on any line, shorter than the
    // pause between cycles of a 1 Hz receiver.
    static constexpr std::chrono::milliseconds QuietGap{400};

    QSerialPort Poort;
    QTimer Quiet;
    NmeaInput Intake;
    PortDevices PortMap;
    SerialSettings Selected;
    IndicatorColour Indicator = IndicatorColour::Black;
    bool OpeningAllowed = false;
    bool ToldOpen = false; // the last word was PortOpened, not PortClosed
};
