#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

// The entries of the six serial lists on the "NMEA" tab, in list order. The window fills its lists
// from these tables and hands the selected positions to the serial link, so a position always
// means the same entry on both sides.
inline constexpr int SerialPortCount = 32; // "COM1" to "COM32"
// The rates, then "Auto", which finds the receiver's rate itself. "Auto" comes last so that a
// stored position 0 to 9 keeps the rate it has always meant.
inline constexpr std::array<std::string_view, 11> BaudRateTexts{
    "300", "600", "1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200", "Auto"};
inline constexpr int AutoBaudIndex = 10;
inline constexpr std::array<std::string_view, 5> ParityTexts{"none", "even", "odd", "mark", "space"};
inline constexpr std::array<std::string_view, 6> WordBitsTexts{"6", "7", "8", "9", "10", "11"};
inline constexpr std::array<std::string_view, 3> StopBitsTexts{"1", "1.5", "2"};
inline constexpr std::array<std::string_view, 4> HandShakeTexts{"none", "Xon/Xoff", "hardware", "hw+Xon/off"};

// "COM" followed by the port number; index 0 is COM1.
std::string PortText(int portIndex);

// The selected position of each serial list. The defaults are what a first run starts with, and
// what finds a receiver without any setting: NMEA 0183's own 8 data bits, no parity and 1 stop
// bit, at the rate "Auto" finds, trying 4800 first.
struct SerialSettings {
    int PortIndex = 0;
    int BaudIndex = AutoBaudIndex;
    int ParityIndex = 0;
    int WordBitsIndex = 2;
    int StopBitsIndex = 0;
    int HandShakeIndex = 0;

    int PortNumber() const { return PortIndex + 1; }
    bool AutoBaud() const { return BaudIndex == AutoBaudIndex; }
    bool operator==(const SerialSettings&) const = default;
};

// The rate of a baud-rate list position; nullopt for "Auto" and for a position outside the list.
std::optional<int> ListedBaudRate(int baudIndex);

// The line settings as one text, e.g. "4800,n,8,1": the baud rate in use (the listed one, or the
// one "Auto" tries), first letter of the parity, data bits, stop bits. Empty when a position lies
// outside its list.
std::string SettingsText(const SerialSettings& settings, int baud);
