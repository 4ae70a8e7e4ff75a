#include "SerialLink.h"

#include "NetworkSource.h"
#include "PortConfiguration.h"
#include "PortDescription.h"

#include <QFileInfo>

SerialLink::SerialLink(NavState& nav, QObject* parent) : QObject(parent), Intake(nav)
{
    for (QIODevice* device : std::initializer_list<QIODevice*>{&Serial, &Tcp, &Udp})
        connect(device, &QIODevice::readyRead, this, &SerialLink::ReceiveWaitingInput);
    connect(&Serial, &QSerialPort::errorOccurred, this, &SerialLink::OnPortError);
    connect(&Tcp, &QAbstractSocket::errorOccurred, this, &SerialLink::OnSocketError);
    connect(&Udp, &QAbstractSocket::errorOccurred, this, &SerialLink::OnSocketError);
    connect(&Tcp, &QAbstractSocket::connected, this, [this] {
        Reached = true;
        SetReceptionColour(IndicatorColour::Black);
        SayOpened();
    });
    Quiet.setSingleShot(true);
    Quiet.setInterval(QuietGap);
    connect(&Quiet, &QTimer::timeout, this, [this] { Intake.EndOfCycle(); });
    Intake.OnEpoch([this](const FixEpoch& epoch) { emit EpochEnded(epoch); });
    SearchTurn.setInterval(BaudSearch::Turn);
    connect(&SearchTurn, &QTimer::timeout, this, &SerialLink::SearchTurnOver);
}

void SerialLink::COMopenen()
{
    if (OpeningAllowed && NetworkLinkAlive())
        return;
    Close();
    const bool opened = OpenSelectedPort();
    if (Waits != Awaiting::Device)
        WatchForDevice({});
    if (!opened) {
        // "Auto" waits for a port to listen on; the watchdog's reopening does not restart a turn.
        SearchTurn.stop();
        SayClosed();
    } else if (Source != &Tcp) { // a TCP connection says so once it is made
        SayOpened();
    }
}

bool SerialLink::NetworkLinkAlive() const
{
    return (Source == &Tcp || Source == &Udp) && SourceDevice == SelectedDevice()
        && Heard.elapsed() < NetworkPatience.count();
}

bool SerialLink::OpenSelectedPort()
{
    Waits = Awaiting::Nothing;
    if (!OpeningAllowed)
        return false;
    const QString device = SelectedDevice();
    if (IsNetworkEntry(device)) {
        if (const auto source = ParseNetworkSource(device)) {
            SourceDevice = device;
            return OpenNetwork(*source);
        }
        SetProblem(QStringLiteral("Not a receiver on the network: write tcp://HOST:PORT or udp://:PORT"));
    } else if (device.isEmpty()) {
        SetProblem(QStringLiteral("No device for this port number"));
    } else {
        SourceDevice = device;
        return OpenSerial(device);
    }
    Waits = Awaiting::Settings;
    SetReceptionColour(IndicatorColour::Magenta);
    return false;
}

bool SerialLink::OpenSerial(const QString& device)
{
    Serial.setPortName(device);
    // Refused settings leave the port closed but keep the last lines on screen: they may show
    // what the receiver was sending before the change.
    if (!ApplyLineSettings(Serial, Selected, BaudRate())) {
        SetReceptionColour(IndicatorColour::Red);
        SetProblem(QStringLiteral("The port cannot use these line settings"));
        return false;
    }
    Serial.setFlowControl(FlowControlFor(Selected.HandShakeIndex));
    // An absent receiver is looked for at every watchdog tick. Opening would create and sync a
    // lock file under /var/lock each time; asking the file system is enough. A bare name such as
    // "ttyUSB0" is a device under /dev, as the serial port reads it.
    const QString path = device.startsWith(u'/') || device.startsWith(u'.') ? device : QStringLiteral("/dev/") + device;
    if (!QFileInfo::exists(path)) {
        Waits = Awaiting::Device;
        WatchForDevice(path);
        SetReceptionColour(IndicatorColour::Red);
        SetProblem(SerialProblem(QSerialPort::DeviceNotFoundError, device, {}));
        ClearInputScreening();
        return false;
    }
    // The port applies the line settings while it opens, so a baud rate the device turns down
    // fails here too.
    if (!Serial.open(QIODevice::ReadOnly)) {
        SetReceptionColour(IndicatorColour::Red);
        SetProblem(SerialProblem(Serial.error(), device, Serial.errorString()));
        ClearInputScreening();
        return false;
    }
    SetReceptionColour(IndicatorColour::Black);
    Source = &Serial;
    if (Selected.AutoBaud() && !Search.Found()) {
        // What waits in the device came at a rate nobody knows.
        Serial.clear(QSerialPort::Input);
        if (!SearchTurn.isActive())
            SearchTurn.start();
    }
    return true;
}

bool SerialLink::OpenNetwork(const NetworkSource& source)
{
    Heard.start();
    SearchTurn.stop(); // a receiver on the network has no baud rate
    if (source.Kind == NetworkSource::Transport::Tcp) {
        // The indicator keeps its colour until the connection is made or refused.
        Reached = false;
        Source = &Tcp;
        Tcp.connectToHost(source.Host, source.Port, QIODevice::ReadOnly);
        return true;
    }
    // Shared, so that a plotter on this machine can take the same broadcasts.
    const QHostAddress address =
        source.Host.isEmpty() ? QHostAddress(QHostAddress::AnyIPv4) : QHostAddress(source.Host);
    if (!Udp.bind(address, source.Port, QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint)) {
        SetReceptionColour(IndicatorColour::Red);
        SetProblem(NetworkProblem(Udp.error(), Udp.errorString()));
        ClearInputScreening();
        return false;
    }
    SetReceptionColour(IndicatorColour::Black);
    Source = &Udp;
    return true;
}

void SerialLink::WatchForDevice(const QString& path)
{
    QString folder;
    if (!path.isEmpty()) {
        // A /dev/serial/by-id link appears after its folders: each folder that appears moves the
        // watch one step closer.
        folder = QFileInfo(path).absolutePath();
        while (!QFileInfo(folder).isDir() && folder != QFileInfo(folder).absolutePath())
            folder = QFileInfo(folder).absolutePath();
    }
    const QStringList watched = DeviceFolder ? DeviceFolder->directories() : QStringList();
    if (watched == QStringList(folder) || (watched.isEmpty() && folder.isEmpty()))
        return;
    if (!watched.isEmpty())
        DeviceFolder->removePaths(watched);
    if (folder.isEmpty())
        return;
    if (!DeviceFolder) {
        DeviceFolder = std::make_unique<QFileSystemWatcher>();
        connect(DeviceFolder.get(), &QFileSystemWatcher::directoryChanged, this, [this] {
            if (Waits == Awaiting::Device)
                COMopenen();
        });
    }
    DeviceFolder->addPath(folder);
}

void SerialLink::Close()
{
    if (Source == &Tcp)
        Tcp.abort();
    else if (Source)
        Source->close();
    Source = nullptr;
}

void SerialLink::SayOpened()
{
    ToldOpen = true;
    SetProblem({});
    emit PortOpened();
}

void SerialLink::SayClosed()
{
    if (!ToldOpen)
        return;
    ToldOpen = false;
    // What the receiver sent before it went is a cycle of its own; it must not wait for the
    // quiet gap and arrive after the news that the device is gone.
    Quiet.stop();
    Intake.EndOfCycle();
    emit PortClosed();
}

void SerialLink::ChangeSettings(const SerialSettings& settings)
{
    // "Auto" looks again from the start on another port; other changes keep what it found.
    const bool searchAgain = settings.AutoBaud() && (!Selected.AutoBaud() || settings.PortIndex != Selected.PortIndex);
    Selected = settings;
    if (searchAgain || !settings.AutoBaud()) {
        Search.Restart();
        SearchTurn.stop();
        emit FoundBaudRateChanged();
    }
    COMopenen();
}

int SerialLink::BaudRate() const
{
    return Selected.AutoBaud() ? Search.Rate() : ListedBaudRate(Selected.BaudIndex).value_or(0);
}

std::optional<int> SerialLink::FoundBaudRate() const
{
    if (!Selected.AutoBaud() || !Search.Found())
        return std::nullopt;
    return Search.Rate();
}

void SerialLink::FollowSearch(const LineResult& line)
{
    const bool found = Search.Found();
    if (Search.TakeLine(line.ChecksumValid)) {
        // Lost: many broken lines in a row. The receiver talks at another rate now.
        ApplySearchRate();
        SearchTurn.start();
    }
    if (Search.Found() != found) {
        if (Search.Found())
            SearchTurn.stop();
        emit FoundBaudRateChanged();
    }
}

void SerialLink::SearchTurnOver()
{
    if (Search.TurnOver())
        ApplySearchRate();
}

void SerialLink::ApplySearchRate()
{
    if (Source != &Serial)
        return;
    Serial.setBaudRate(Search.Rate());
    // What came at the old rate, whole or half, would be read as if at the new one.
    Serial.clear(QSerialPort::Input);
    Intake.DropPartialLine();
}

void SerialLink::SetReceptionColour(IndicatorColour colour)
{
    if (colour == Indicator)
        return;
    Indicator = colour;
    emit ReceptionColourChanged(colour);
}

void SerialLink::SetProblem(const QString& problem)
{
    if (problem == Problem)
        return;
    Problem = problem;
    emit PortProblemChanged(Problem);
}

QString SerialLink::InputScreeningText() const
{
    const std::string& text = Intake.Screening().Text();
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

void SerialLink::ReceiveWaitingInput()
{
    if (!Source)
        return;
    Heard.start();
    // The colour tells how the previous line ended; painting it once per batch looks the same
    // as once per character and costs nothing.
    SetReceptionColour(Intake.SentenceRecognised() ? IndicatorColour::Green : IndicatorColour::Blue);
    bool lineEnded = false;
    if (Source == &Udp) {
        // Datagrams in the order they arrived, as one stream: a gateway may split a sentence.
        while (Udp.hasPendingDatagrams()) {
            Datagram.resize(std::max<qint64>(Udp.pendingDatagramSize(), 0));
            const qint64 size = Udp.readDatagram(Datagram.data(), Datagram.size());
            lineEnded |= size > 0 && Take(QByteArrayView(Datagram.constData(), size));
        }
    } else {
        lineEnded = Take(Source->readAll());
    }
    if (lineEnded) {
        // Once the receiver's last sentence of a cycle has completed it, falling quiet completes
        // nothing: no timer wakes the program between a 1 Hz receiver's bursts.
        if (Intake.CycleOpen())
            Quiet.start();
        else
            Quiet.stop();
        emit InputScreeningChanged();
    }
}

bool SerialLink::Take(QByteArrayView bytes)
{
    bool lineEnded = false;
    for (const char c : bytes) {
        if (const auto line = Intake.Intake(c)) {
            lineEnded = true;
            if (Source == &Serial && Selected.AutoBaud())
                FollowSearch(*line);
            emit LineReceived(*line, Intake.ValidLine());
        }
    }
    return lineEnded;
}

void SerialLink::OnPortError(QSerialPort::SerialPortError error)
{
    // The device went away (adapter unplugged, pty closed). Qt reports that as a resource error,
    // or, when the hung-up device answers with end of file, as a read error; either way the
    // descriptor stays readable and the event loop would spin on it. Closed, the port is reopened
    // by the watchdog once the device is back.
    const bool deviceGone = error == QSerialPort::ResourceError || error == QSerialPort::ReadError;
    if (deviceGone && Source == &Serial)
        DeviceWentAway(SerialProblem(error, Serial.portName(), Serial.errorString()));
}

void SerialLink::OnSocketError(QAbstractSocket::SocketError error)
{
    auto* socket = qobject_cast<QAbstractSocket*>(sender());
    if (Source != socket)
        return;
    // A connection that was never made did not open: like a serial port that did not.
    if (Source == &Tcp && !Reached)
        ClearInputScreening();
    DeviceWentAway(NetworkProblem(error, socket->errorString()));
}

void SerialLink::DeviceWentAway(const QString& problem)
{
    Close();
    SearchTurn.stop();
    Intake.DropPartialLine();
    SetReceptionColour(IndicatorColour::Red);
    SetProblem(problem);
    SayClosed();
}

void SerialLink::ClearInputScreening()
{
    Intake.Screening().Clear();
    emit InputScreeningChanged();
}
