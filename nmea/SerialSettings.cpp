#include "SerialSettings.h"

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

std::string SettingsText(const SerialSettings& settings)
{
    if (!InList(BaudRateTexts, settings.BaudIndex) || !InList(ParityTexts, settings.ParityIndex)
        || !InList(WordBitsTexts, settings.WordBitsIndex) || !InList(StopBitsTexts, settings.StopBitsIndex))
        return {};
    std::string text(BaudRateTexts[settings.BaudIndex]);
    text += ',';
    text += ParityTexts[settings.ParityIndex].front();
    text += ',';
    text += WordBitsTexts[settings.WordBitsIndex];
    text += ',';
    text += StopBitsTexts[settings.StopBitsIndex];
    return text;
}
