#include "PortDescription.h"

#include "NetworkSource.h"

#include <QFileInfo>
#include <QSerialPortInfo>

namespace {

const QString Separator = QStringLiteral(" \u2014 ");

// A device we may not read. Serial devices belong to a group whose members may use them (dialout
// on Debian and Ubuntu, uucp elsewhere): that is the one step a person can take.
QString PermissionProblem(const QString& device)
{
    const QFileInfo file(device);
    if (file.permission(QFile::ReadGroup) && !file.group().isEmpty())
        return QStringLiteral("Permission denied: add yourself to the %1 group").arg(file.group());
    return QStringLiteral("Permission denied");
}

} // namespace

QString DeviceLine(const QString& device, const QString& problem)
{
    if (!problem.isEmpty())
        return device + Separator + problem;
    if (IsNetworkEntry(device))
        return device;
    const QFileInfo file(device);
    if (!file.exists())
        return device + Separator + QStringLiteral("Not present");
    const QSerialPortInfo port(file.canonicalFilePath());
    const QString product = port.description();
    return product.isEmpty() ? device : device + Separator + product;
}

QString SerialProblem(QSerialPort::SerialPortError error, const QString& device, const QString& errorText)
{
    switch (error) {
    case QSerialPort::DeviceNotFoundError: return QStringLiteral("Not present");
    case QSerialPort::PermissionError:
        // The port's lock also fails as a permission error: the device is readable, and someone
        // else has it.
        if (!QFileInfo(device).isReadable())
            return PermissionProblem(device);
        return QStringLiteral("In use by another program");
    case QSerialPort::ResourceError:
    case QSerialPort::ReadError: return QStringLiteral("Gone: unplugged or switched off");
    case QSerialPort::UnsupportedOperationError: return QStringLiteral("The device cannot use these settings");
    default: return errorText;
    }
}

QString NetworkProblem(QAbstractSocket::SocketError error, const QString& errorText)
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError: return QStringLiteral("Connection refused");
    case QAbstractSocket::RemoteHostClosedError: return QStringLiteral("The receiver closed the connection");
    case QAbstractSocket::HostNotFoundError: return QStringLiteral("Host not found");
    case QAbstractSocket::AddressInUseError: return QStringLiteral("Port in use by another program");
    default: return errorText;
    }
}
