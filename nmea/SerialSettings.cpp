#include "SerialSettings.h"

#include <charconv>

namespace {

template <std::size_t N>
bool InList(const std::array<std::string_view, N>& list, int index)
{
    return index >= 0 && static_cast<std::size_t>(index) < list.size();
}

} // namespace

std::string PortText(int portIndex)
{
    return "COM" + std::to_string(portIndex + 1);
}

std::optional<int> ListedBaudRate(int baudIndex)
{
    if (!InList(BaudRateTexts, baudIndex) || baudIndex == AutoBaudIndex)
        return std::nullopt;
    const std::string_view text = BaudRateTexts[static_cast<std::size_t>(baudIndex)];
    int rate = 0;
    std::from_chars(text.data(), text.data() + text.size(), rate);
    return rate;
}

std::string SettingsText(const SerialSettings& settings, int baud)
{
    if (!InList(BaudRateTexts, settings.BaudIndex) || !InList(ParityTexts, settings.ParityIndex)
        || !InList(WordBitsTexts, settings.WordBitsIndex) || !InList(StopBitsTexts, settings.StopBitsIndex))
        return {};
    std::string text = std::to_string(baud);
    text += ',';
    text += ParityTexts[static_cast<std::size_t>(settings.ParityIndex)].front();
    text += ',';
    text += WordBitsTexts[static_cast<std::size_t>(settings.WordBitsIndex)];
    text += ',';
    text += StopBitsTexts[static_cast<std::size_t>(settings.StopBitsIndex)];
    return text;
}
