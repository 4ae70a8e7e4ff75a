#pragma once

#include <QAbstractSocket>
#include <QSerialPort>
#include <QString>

// What a person reads about the device of a port entry: the device line of the "NMEA" tab, and
// why a port does not open, in words one can act on instead of a red dot only.

// The device (a path or a network entry), then what is known about it: the problem when there is
// one; else for a device path that it is not present, or the product name the system knows for
// it (a USB receiver).
QString DeviceLine(const QString& device, const QString& problem);

// Why a serial device did not open or went away.
QString SerialProblem(QSerialPort::SerialPortError error, const QString& device, const QString& errorText);
// Why a receiver on the network cannot be reached, or went.
QString NetworkProblem(QAbstractSocket::SocketError error, const QString& errorText);
