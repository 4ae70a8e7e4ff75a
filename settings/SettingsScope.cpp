#include "SettingsScope.h"

namespace {

// Values were read into a 255-character buffer: a value of that length or more never fitted and
// the default stood in for it. Keeping the limit also keeps a runaway value out of the controls.
constexpr qsizetype LongestValue = 254;

} // namespace

SettingsScope::SettingsScope(IniDocument values, Store store)
    : Values(std::move(values)), Saver(std::move(store)), Open(true)
{
}

QString SettingsScope::Read(const QString& subkey, const QString& name, const QString& defaultText) const
{
    const std::optional<QString> text = Values.Value(subkey, name);
    if (!text || text->size() > LongestValue)
        return defaultText;
    return TrimAtNul(*text);
}

void SettingsScope::Write(const QString& subkey, const QString& name, const QString& text)
{
    // A NUL ends a stored text, as it always did; in a file it would make the file binary.
    if (IsWritable() && Values.SetValue(subkey, name, TrimAtNul(text)))
        Changed = true;
}

std::optional<QString> SettingsScope::Flush()
{
    if (!Changed || !IsWritable())
        return std::nullopt;
    QString failure = Saver(Values);
    Changed = !failure.isEmpty();
    return failure;
}

QString TrimAtNul(const QString& text)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.left(nul);
}
