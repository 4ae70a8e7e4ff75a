#pragma once

#include "SerialSettings.h"

#include <QString>

#include <array>

// Which device port number n (1 to 32, the list entry "COM" n) opens. On Windows it is COMn.
// Elsewhere a fixed table gives the usual names: COM1-COM8 the USB serial adapters
// /dev/ttyUSB0-7, COM9-COM16 the USB modems /dev/ttyACM0-7 (most GPS mice), COM17-COM32 the
// built-in ports /dev/ttyS0-15. A per-port override (the machine-wide setting "NMEA"/"Device" n)
// can name any path instead: a pty, a /dev/serial/by-id link.
class PortDevices {
public:
    static QString DefaultDevice(int portNumber);

    // Empty for a number outside 1 to 32.
    QString Device(int portNumber) const;
    // An empty device removes the override.
    void SetOverride(int portNumber, const QString& device);

private:
    static bool Valid(int portNumber) { return portNumber >= 1 && portNumber <= SerialPortCount; }

    std::array<QString, SerialPortCount> Overrides;
};
