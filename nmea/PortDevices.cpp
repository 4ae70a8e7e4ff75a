#include "PortDevices.h"

QString PortDevices::DefaultDevice(int portNumber)
{
    if (!Valid(portNumber))
        return {};
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(portNumber);
#else
    if (portNumber <= 8)
        return QStringLiteral("/dev/ttyUSB%1").arg(portNumber - 1);
    if (portNumber <= 16)
        return QStringLiteral("/dev/ttyACM%1").arg(portNumber - 9);
    return QStringLiteral("/dev/ttyS%1").arg(portNumber - 17);
#endif
}

QString PortDevices::Device(int portNumber) const
{
    if (!Valid(portNumber))
        return {};
    const QString& device = Overrides[portNumber - 1];
    return device.isEmpty() ? DefaultDevice(portNumber) : device;
}

void PortDevices::SetOverride(int portNumber, const QString& device)
{
    if (Valid(portNumber))
        Overrides[portNumber - 1] = device;
}
