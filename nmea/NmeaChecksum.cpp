#include "NmeaChecksum.h"

namespace {

constexpr char HexDigits[] = "0123456789ABCDEF";

} // namespace

std::uint8_t NmeaChecksumOf(std::string_view body)
{
    std::uint8_t sum = 0;
    for (char c : body)
        sum ^= static_cast<std::uint8_t>(c);
    return sum;
}

std::string WithNmeaChecksum(std::string_view body)
{
    const std::uint8_t sum = NmeaChecksumOf(body);
    std::string sentence;
    sentence.reserve(body.size() + 4);
    sentence.push_back('$');
    sentence.append(body);
    sentence.push_back('*');
    sentence.push_back(HexDigits[sum >> 4]);
    sentence.push_back(HexDigits[sum & 0xF]);
    return sentence;
}

bool NMEAChecksumError(std::string_view& sentence)
{
    if (sentence.empty() || sentence.front() != '$')
        return true;
    const std::size_t star = sentence.find('*', 1);
    if (star == std::string_view::npos)
        return true;
    const std::uint8_t sum = NmeaChecksumOf(sentence.substr(1, star - 1));
    const std::string_view received = sentence.substr(star + 1, 2);
    const bool error = received.size() != 2 || received[0] != HexDigits[sum >> 4]
                       || received[1] != HexDigits[sum & 0xF];
    sentence = sentence.substr(0, star);
    return error;
}
