#pragma once

// A pseudo-terminal standing in for a GPS receiver. The serial link opens the slave side through
// a link path that stays the same when the receiver is unplugged and plugged in again; the test
// writes NMEA text into the master side.

#include "NmeaChecksum.h"

#include <QFile>
#include <QString>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <string>
#include <string_view>

class FakeReceiver {
public:
    explicit FakeReceiver(const QString& linkPath) : LinkPath(linkPath)
    {
        if (::openpty(&Master, &Slave, nullptr, nullptr, nullptr) != 0)
            return;
        // Raw from the start: the port restores these settings when it closes, and a line
        // discipline in canonical mode would echo and translate what we write meanwhile.
        termios raw{};
        ::tcgetattr(Slave, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(Slave, TCSANOW, &raw);
        // Never block this thread: it is also the one that reads the other side.
        ::fcntl(Master, F_SETFL, ::fcntl(Master, F_GETFL) | O_NONBLOCK);
        QFile::remove(LinkPath);
        QFile::link(QString::fromLocal8Bit(::ptsname(Master)), LinkPath);
    }
    FakeReceiver(const FakeReceiver&) = delete;
    FakeReceiver& operator=(const FakeReceiver&) = delete;
    ~FakeReceiver() { Unplug(); }

    bool IsValid() const { return Master >= 0 && QFile::exists(LinkPath); }

    bool Send(std::string_view bytes) const
    {
        return Master >= 0 && ::write(Master, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }
    // "$" + body + "*hh" CR LF.
    bool SendSentence(std::string_view body) const { return Send(WithNmeaChecksum(body) + "\r\n"); }

    // The line settings the port put on the device.
    termios LineSettings() const
    {
        termios settings{};
        ::tcgetattr(Slave, &settings);
        return settings;
    }

    // Both sides go away and so does the link, as when a USB receiver is pulled out.
    void Unplug()
    {
        if (Master < 0)
            return;
        ::close(Master);
        ::close(Slave);
        Master = Slave = -1;
        QFile::remove(LinkPath);
    }

private:
    QString LinkPath;
    int Master = -1;
    int Slave = -1;
};
