#include "SerialLink.h"

#include "PortConfiguration.h"

SerialLink::SerialLink(NavState& nav, QObject* parent) : QObject(parent), Intake(nav)
{
    connect(&Poort, &QSerialPort::readyRead, this, &SerialLink::ReceiveWaitingInput);
    connect(&Poort, &QSerialPort::errorOccurred, this, &SerialLink::OnPortError);
    Quiet.setSingleShot(true);
    Quiet.setInterval(QuietGap);
    connect(&Quiet, &QTimer::timeout, this, [this] { Intake.EndOfCycle(); });
    Intake.OnEpoch([this](const FixEpoch& epoch) { emit EpochEnded(epoch); });
}

void SerialLink::COMopenen()
{
    Close();
    if (OpenSelectedPort()) {
        ToldOpen = true;
        emit PortOpened();
    } else {
        SayClosed();
    }
}

bool SerialLink::OpenSelectedPort()
{
    if (!OpeningAllowed)
        return false;
    const QString device = PortMap.Device(Selected.PortNumber());
    if (device.isEmpty()) {
        SetOntvangstLED(IndicatorColour::Magenta);
        return false;
    }
    Poort.setPortName(device);
    // Refused settings leave the port closed but keep the last lines on screen: they may show
    // what the receiver was sending before the change.
    if (!ApplyLineSettings(Poort, Selected)) {
        SetOntvangstLED(IndicatorColour::Red);
        return false;
    }
    Poort.setFlowControl(FlowControlFor(Selected.HandShakeIndex));
    // The port applies the line settings while it opens, so a baud rate the device turns down
    // fails here too.
    if (!Poort.open(QIODevice::ReadOnly)) {
        SetOntvangstLED(IndicatorColour::Red);
        ClearInputScreening();
        return false;
    }
    SetOntvangstLED(IndicatorColour::Black);
    return true;
}

void SerialLink::Close()
{
    if (Poort.isOpen())
        Poort.close();
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
    Selected = settings;
    COMopenen();
}

void SerialLink::SetOntvangstLED(IndicatorColour colour)
{
    if (colour == Indicator)
        return;
    Indicator = colour;
    emit OntvangstLEDChanged(colour);
}

QString SerialLink::InputScreeningText() const
{
    const std::string& text = Intake.Screening().Text();
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

void SerialLink::ReceiveWaitingInput()
{
    // The colour tells how the previous line ended; painting it once per batch looks the same
    // as once per character and costs nothing.
    SetOntvangstLED(Intake.SentenceRecognised() ? IndicatorColour::Green : IndicatorColour::Blue);
    const QByteArray received = Poort.readAll();
    bool lineEnded = false;
    for (const char c : received) {
        if (const auto line = Intake.Intake(c)) {
            lineEnded = true;
            emit LineReceived(*line, Intake.ValidLine());
        }
    }
    if (lineEnded) {
        Quiet.start();
        emit InputScreeningChanged(InputScreeningText());
    }
}

void SerialLink::OnPortError(QSerialPort::SerialPortError error)
{
    // The device went away (adapter unplugged, pty closed). Qt reports that as a resource error,
    // or, when the hung-up device answers with end of file, as a read error; either way the
    // descriptor stays readable and the event loop would spin on it. Closed, the port is reopened
    // by the watchdog once the device is back.
    const bool deviceGone = error == QSerialPort::ResourceError || error == QSerialPort::ReadError;
    if (!deviceGone || !Poort.isOpen())
        return;
    Poort.close();
    Intake.DropPartialLine();
    SetOntvangstLED(IndicatorColour::Red);
    SayClosed();
}

void SerialLink::ClearInputScreening()
{
    Intake.Screening().Clear();
    emit InputScreeningChanged(QString());
}
