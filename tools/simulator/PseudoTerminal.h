#pragma once

#include <QObject>
#include <QString>

#include <cstddef>
#include <string>
#include <string_view>

class QSocketNotifier;

// The simulator's end of a pseudo-terminal. The slave side stays open here as well, so that the
// line never hangs up: readers may come, go and come back while the stream goes on. The slave is
// raw, so CR and LF reach the reader as sent.
class PseudoTerminal : public QObject {
    Q_OBJECT

public:
    explicit PseudoTerminal(QObject* parent = nullptr);
    ~PseudoTerminal() override;

    // Opens the pseudo-terminal; on failure returns false and sets error.
    bool Open(QString& error);
    // Makes path a symbolic link to the slave device, removed again on destruction. An existing
    // symbolic link is replaced; any other file at path is left alone and reported.
    bool CreateLink(const QString& path, QString& error);

    // Closes the device and removes the link, as if the receiver were unplugged: a reader gets a
    // hang-up. What is written meanwhile is lost.
    void Unplug();
    // A new device at the same link, as if plugged back in.
    bool Replug(QString& error);

    QString SlavePath() const { return Path; }
    // The rate the receiver sends at (0: none in particular). A reader whose port is set to
    // another rate gets what a UART makes of it: noise, where only the line ends still fall
    // (so that every line reads as broken), and never a sentence.
    void SetLineRate(int baud) { LineRate = baud; }
    // Writes what the line takes now; returns the number of bytes taken (0 when it is full).
    std::ptrdiff_t Write(std::string_view bytes);
    // Bytes written that no reader has taken yet.
    int Unread() const;

private:
    void DiscardIncoming();
    void DropStaleBacklog();
    bool ReaderAtOtherRate() const;

    // A backlog this large means nobody is reading. A reader that opens the device later should
    // get the current position, not minutes-old sentences.
    static constexpr int StaleBacklog = 4096;

    int Master = -1;
    int Slave = -1;
    QString Path;
    QString Link;
    QSocketNotifier* Incoming = nullptr;
    int LineRate = 0;
    unsigned char Noise = 0;
    std::string Misread;
};
