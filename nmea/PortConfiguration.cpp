#include "PortConfiguration.h"

#include <optional>

namespace {

std::optional<QSerialPort::DataBits> DataBitsFor(std::string_view text)
{
    // A UART frame holds 5 to 8 data bits; the list offers more, and those are refused.
    if (text == "6")
        return QSerialPort::Data6;
    if (text == "7")
        return QSerialPort::Data7;
    if (text == "8")
        return QSerialPort::Data8;
    return std::nullopt;
}

std::optional<QSerialPort::StopBits> StopBitsFor(std::string_view text)
{
    // 1.5 stop bits exist only for 5 data bits, which the list does not offer; Linux has no way
    // to ask for them at all. Refusing them here gives the same answer on every platform.
    if (text == "1")
        return QSerialPort::OneStop;
    if (text == "2")
        return QSerialPort::TwoStop;
    return std::nullopt;
}

QSerialPort::Parity ParityFor(char letter)
{
    switch (letter) {
    case 'e': return QSerialPort::EvenParity;
    case 'o': return QSerialPort::OddParity;
    case 'm': return QSerialPort::MarkParity;
    case 's': return QSerialPort::SpaceParity;
    default: return QSerialPort::NoParity;
    }
}

} // namespace

bool ApplyLineSettings(QSerialPort& port, const SerialSettings& settings, int baud)
{
    if (SettingsText(settings, baud).empty())
        return false;
    const auto dataBits = DataBitsFor(WordBitsTexts[settings.WordBitsIndex]);
    const auto stopBits = StopBitsFor(StopBitsTexts[settings.StopBitsIndex]);
    if (!dataBits || !stopBits)
        return false;
    return port.setBaudRate(baud) && port.setParity(ParityFor(ParityTexts[settings.ParityIndex].front()))
        && port.setDataBits(*dataBits) && port.setStopBits(*stopBits);
}

QSerialPort::FlowControl FlowControlFor(int handShakeIndex)
{
    switch (handShakeIndex) {
    case 1: return QSerialPort::SoftwareControl;
    case 2:
    case 3: return QSerialPort::HardwareControl;
    default: return QSerialPort::NoFlowControl;
    }
}
