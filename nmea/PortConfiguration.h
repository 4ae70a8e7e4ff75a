#pragma once

#include "SerialSettings.h"

#include <QSerialPort>

// Puts the baud rate (the listed one, or the one "Auto" tries), parity, data bits and stop bits on
// the port (it applies them when it opens). False when the port cannot carry them: 9, 10 or 11
// data bits, 1.5 stop bits, a position outside its list.
bool ApplyLineSettings(QSerialPort& port, const SerialSettings& settings, int baud);

// Handshake list position to flow control. "hw+Xon/off" becomes hardware flow control: a port
// does one or the other, and RTS/CTS is the one that keeps a receiver from overrunning us.
QSerialPort::FlowControl FlowControlFor(int handShakeIndex);
