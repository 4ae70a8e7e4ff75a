#include "PseudoTerminal.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <sys/stat.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

PseudoTerminal::PseudoTerminal(QObject* parent) : QObject(parent) {}

PseudoTerminal::~PseudoTerminal()
{
    Unplug();
}

void PseudoTerminal::Unplug()
{
    // Remove the link only while it still points at this run's device.
    if (!Link.isEmpty() && QFileInfo(Link).symLinkTarget() == QFileInfo(Path).absoluteFilePath())
        QFile::remove(Link);
    delete Incoming;
    Incoming = nullptr;
    if (Master >= 0)
        ::close(Master);
    if (Slave >= 0)
        ::close(Slave);
    Master = Slave = -1;
}

bool PseudoTerminal::Replug(QString& error)
{
    return Open(error) && (Link.isEmpty() || CreateLink(Link, error));
}

bool PseudoTerminal::Open(QString& error)
{
    char name[256] = {};
    if (::openpty(&Master, &Slave, name, nullptr, nullptr) != 0) {
        error = QStringLiteral("cannot open a pseudo-terminal: %1").arg(std::strerror(errno));
        return false;
    }
    termios raw{};
    ::tcgetattr(Slave, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(Slave, TCSANOW, &raw);
    ::fcntl(Master, F_SETFL, ::fcntl(Master, F_GETFL) | O_NONBLOCK);
    ::fcntl(Master, F_SETFD, FD_CLOEXEC);
    ::fcntl(Slave, F_SETFD, FD_CLOEXEC);
    // A reader that has given up its privileges, as gpsd does after start-up, must still be able
    // to open the device again after it has been unplugged and plugged back in.
    ::fchmod(Slave, 0666);
    Path = QString::fromLocal8Bit(name);
    // Whatever a reader writes (commands to the receiver) is read and dropped, so that its
    // writes never block on a full line.
    Incoming = new QSocketNotifier(Master, QSocketNotifier::Read, this);
    connect(Incoming, &QSocketNotifier::activated, this, &PseudoTerminal::DiscardIncoming);
    return true;
}

bool PseudoTerminal::CreateLink(const QString& path, QString& error)
{
    const QFileInfo existing(path);
    if (existing.isSymLink())
        QFile::remove(path);
    else if (existing.exists()) {
        error = QStringLiteral("%1 exists and is not a symbolic link").arg(path);
        return false;
    }
    if (::symlink(QFile::encodeName(Path).constData(), QFile::encodeName(path).constData()) != 0) {
        error = QStringLiteral("cannot create %1: %2").arg(path, std::strerror(errno));
        return false;
    }
    Link = path;
    return true;
}

void PseudoTerminal::DiscardIncoming()
{
    char buffer[512];
    const ssize_t got = ::read(Master, buffer, sizeof buffer);
    // The slave stays open, so the master should never see a hangup; if it does anyway, stop
    // listening rather than being woken for it forever.
    if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR))
        Incoming->setEnabled(false);
}

int PseudoTerminal::Unread() const
{
    int waiting = 0;
    if (Slave < 0 || ::ioctl(Slave, TIOCINQ, &waiting) != 0)
        return 0;
    return waiting;
}

void PseudoTerminal::DropStaleBacklog()
{
    ::tcflush(Slave, TCIFLUSH);
}

namespace {

// The speed a reader's port setting shows on the device for a baud rate; 0 for a rate that has
// none, which no reader can set and which is therefore never told apart.
speed_t SpeedFor(int baud)
{
    switch (baud) {
    case 300: return B300;
    case 600: return B600;
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    case 460800: return B460800;
    case 921600: return B921600;
    default: return 0;
    }
}

} // namespace

bool PseudoTerminal::ReaderAtOtherRate() const
{
    termios line{};
    const speed_t sent = SpeedFor(LineRate);
    return sent != 0 && Slave >= 0 && ::tcgetattr(Slave, &line) == 0 && ::cfgetispeed(&line) != sent;
}

std::ptrdiff_t PseudoTerminal::Write(std::string_view bytes)
{
    if (Master < 0)
        return static_cast<std::ptrdiff_t>(bytes.size());
    if (ReaderAtOtherRate()) {
        Misread.assign(bytes);
        for (char& c : Misread) {
            if (c != '\r' && c != '\n')
                c = static_cast<char>(0x80 | ((static_cast<unsigned char>(c) * 37 + Noise++) & 0x7F));
        }
        bytes = Misread;
    }
    if (Unread() > StaleBacklog)
        DropStaleBacklog();
    ssize_t written = ::write(Master, bytes.data(), bytes.size());
    if (written < 0 && errno == EAGAIN) {
        DropStaleBacklog();
        written = ::write(Master, bytes.data(), bytes.size());
    }
    if (written >= 0)
        return written;
    if (errno == EAGAIN || errno == EINTR)
        return 0;
    // The line is gone (it should not be, the slave is held open): what it cannot carry is lost,
    // as on a serial cable with nothing at the other end.
    return static_cast<std::ptrdiff_t>(bytes.size());
}
