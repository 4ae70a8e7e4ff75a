#include "SettingsScope.h"

#include <QSettings>

namespace {

// Values were read into a 255-character buffer: a value of that length or more never fitted and
// the default stood in for it. Keeping the limit also keeps a runaway value out of the controls.
constexpr qsizetype LongestValue = 254;

bool SameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

SettingsScope::SettingsScope() = default;

SettingsScope::SettingsScope(std::unique_ptr<QSettings> store, bool writable)
    : Store(std::move(store)), Writable(writable)
{
}

SettingsScope::SettingsScope(SettingsScope&&) noexcept = default;
SettingsScope& SettingsScope::operator=(SettingsScope&&) noexcept = default;
SettingsScope::~SettingsScope() = default;

QString SettingsScope::Read(const QString& subkey, const QString& name, const QString& defaultText) const
{
    const QStringList keys = KeysNamed(subkey, name);
    if (keys.isEmpty())
        return defaultText;
    // The INI reader turns some texts into lists, byte arrays or serialised variants. This program
    // only ever writes plain text, so anything else was put there by someone else: not trusted.
    const QVariant value = Store->value(keys.first());
    if (value.typeId() != QMetaType::QString)
        return defaultText;
    const QString text = value.toString();
    return text.size() > LongestValue ? defaultText : TrimAtNul(text);
}

void SettingsScope::Write(const QString& subkey, const QString& name, const QString& text)
{
    if (!IsWritable())
        return;
    // Keep the spelling already in the file, and drop any other spellings of the same name
    // (a hand-edited file), so that exactly one value answers to the name afterwards.
    QStringList keys = KeysNamed(subkey, name);
    const QString key = keys.isEmpty() ? GroupNamed(subkey) + u'/' + name : keys.takeFirst();
    for (const QString& duplicate : std::as_const(keys))
        Store->remove(duplicate);
    Store->setValue(key, text);
    // Written at once: writes happen only at shutdown and when a window closes, and a program on a
    // boat may lose its power at any moment. A failure (QSettings::AccessError) stays silent.
    Store->sync();
}

QStringList SettingsScope::KeysNamed(const QString& subkey, const QString& name) const
{
    QStringList found;
    if (!Store)
        return found;
    const QString wanted = subkey + u'/' + name;
    const QStringList keys = Store->allKeys();
    for (const QString& key : keys) {
        if (SameName(key, wanted))
            found << key;
    }
    return found;
}

QString SettingsScope::GroupNamed(const QString& subkey) const
{
    const QStringList groups = Store->childGroups();
    for (const QString& group : groups) {
        if (SameName(group, subkey))
            return group;
    }
    return subkey;
}

QString TrimAtNul(const QString& text)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.left(nul);
}
