#pragma once

#include "BaudSearch.h"
#include "IndicatorColour.h"
#include "NmeaInput.h"
#include "PortDevices.h"
#include "SerialSettings.h"

#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>

#include <memory>
#include <optional>
#include <string_view>

struct NavState;
struct NetworkSource;

// The link through which the NMEA text arrives: the serial port Serial opened with the selected
// settings (COMopenen), or a receiver on the network when the port entry's device names one
// (NetworkSource). It hands every received character to the character intake and keeps the
// reception indicator; intake, screening, indicator and watchdog work alike whichever it is.
// With "Auto" of the baud-rate list it finds the serial receiver's rate itself (BaudSearch).
// Nothing here gives up for good: the reception watchdog keeps calling COMopenen until sentences
// flow again. Why the port is not open is told in words (PortProblem). A serial device that is
// not present is also watched for: it opens the moment it appears.
class SerialLink : public QObject {
    Q_OBJECT

public:
    explicit SerialLink(NavState& nav, QObject* parent = nullptr);

    // Closes the port and, while opening is allowed, configures and reopens it. A partly received
    // line is kept: the next characters complete it. A receiver on the network that is talking,
    // or still being reached, is kept instead: connecting anew twice a second while it has no fix
    // would wear out a gateway that serves few clients.
    void COMopenen();
    void Close();

    // The reception watchdog allows opening while it runs: before start-up has enabled it and
    // from shutdown on, COMopenen only closes.
    void SetOpeningAllowed(bool allowed) { OpeningAllowed = allowed; }

    const SerialSettings& Settings() const { return Selected; }
    // The rate the port is set to: the listed one, or the one "Auto" tries or has found.
    int BaudRate() const;
    // The rate "Auto" found and keeps; nullopt while it looks, and for a listed rate.
    std::optional<int> FoundBaudRate() const;
    // The handler of every serial list: takes the new selections and reopens the port.
    void ChangeSettings(const SerialSettings& settings);
    PortDevices& Devices() { return PortMap; }
    // The device the selected port number opens (shown beside the port list).
    QString SelectedDevice() const { return PortMap.Device(Selected.PortNumber()); }
    // Why the selected port is not open, or went away, in words; empty while all is well.
    const QString& PortProblem() const { return Problem; }

    // Open, or a network connection being made.
    bool IsOpen() const { return Source != nullptr; }
    // Shut, and no attempt can open it until something happens: the device is not present (its
    // appearance opens it), or the entry names no device at all (only a change of settings helps).
    bool AwaitsChange() const { return !IsOpen() && Waits != Awaiting::Nothing; }
    IndicatorColour ReceptionColour() const { return Indicator; }
    void SetReceptionColour(IndicatorColour colour);
    const NmeaInput& Input() const { return Intake; }
    // Whether the InputScreening text is kept; a service without a screen needs none.
    void KeepInputScreening(bool keep) { Intake.KeepScreening(keep); }
    // Which talkers are read is the receiver's business, set at start-up.
    SentenceInterpreter& Interpreter() { return Intake.Interpreter(); }
    // The InputScreening text as the window shows it (received bytes as Latin-1).
    QString InputScreeningText() const;

signals:
    void ReceptionColourChanged(IndicatorColour colour);
    // At most once per batch of received characters, and when a failed open empties the text.
    void InputScreeningChanged();
    void PortProblemChanged(const QString& problem);
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
    // "Auto" found the receiver's rate, or lost it and looks again.
    void FoundBaudRateChanged();

private:
    // Configures and opens the selected port, or starts to reach it; false when it stays closed.
    bool OpenSelectedPort();
    bool OpenSerial(const QString& device);
    bool OpenNetwork(const NetworkSource& source);
    bool NetworkLinkAlive() const;
    void ReceiveWaitingInput();
    // Hands the bytes to the intake; true when a line ended.
    bool Take(QByteArrayView bytes);
    void OnPortError(QSerialPort::SerialPortError error);
    void OnSocketError(QAbstractSocket::SocketError error);
    // The open device went away, or the network receiver could not be reached.
    void DeviceWentAway(const QString& problem);
    void ClearInputScreening();
    void SetProblem(const QString& problem);
    void SayOpened();
    void SayClosed();
    // "Auto": what a line at the tried rate says, the end of a turn, a new rate on the open port.
    void FollowSearch(const LineResult& line);
    void SearchTurnOver();
    void ApplySearchRate();
    // Watches the folder the absent device at path will appear in (or the nearest one on its way
    // that exists); an empty path ends the watch.
    void WatchForDevice(const QString& path);

    enum class Awaiting { Nothing, Device, Settings };

    // Longer than the pauses between the sentences of one cycle on any line, shorter than the
    // pause between cycles of a 1 Hz receiver.
    static constexpr std::chrono::milliseconds QuietGap{400};
    // A network receiver that brought data this recently, or is being reached since, is alive.
    // Longer than the pause between the cycles of a 1 Hz receiver.
    static constexpr std::chrono::milliseconds NetworkPatience{3000};

    QSerialPort Serial;
    QTcpSocket Tcp;
    QUdpSocket Udp;
    QIODevice* Source = nullptr; // the one of the three that is open
    QString SourceDevice;        // the device entry it was opened for
    QElapsedTimer Heard;         // since the last received bytes, or the start of a connection
    bool Reached = false;        // the TCP connection was made
    QByteArray Datagram;
    QString Problem;
    Awaiting Waits = Awaiting::Nothing;
    std::unique_ptr<QFileSystemWatcher> DeviceFolder; // made when a device is first missing
    QTimer Quiet;
    NmeaInput Intake;
    PortDevices PortMap;
    SerialSettings Selected;
    BaudSearch Search;
    QTimer SearchTurn;
    IndicatorColour Indicator = IndicatorColour::Black;
    bool OpeningAllowed = false;
    bool ToldOpen = false; // the last word was PortOpened, not PortClosed
};
