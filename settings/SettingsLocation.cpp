#include "SettingsLocation.h"

#ifdef Q_OS_WIN
#include <QSettings>
#else
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>
#endif

#ifdef Q_OS_WIN

std::optional<SettingsScope> OpenSettingsLocation(const QString& location, SettingsOwner, QString&)
{
    // Qt opens the key for writing, creating it, when this user may; otherwise it opens it for
    // reading. A key it could neither create nor find holds nothing for us. SettingsStore values are
    // text already: they are read once and written back from the same document.
    QSettings store(location, QSettings::NativeFormat);
    const QStringList keys = store.allKeys();
    if (!store.isWritable() && keys.isEmpty())
        return std::nullopt;
    IniDocument values;
    for (const QString& key : keys) {
        const qsizetype slash = key.lastIndexOf(u'/');
        values.SetValue(key.left(slash), key.mid(slash + 1), store.value(key).toString());
    }
    SettingsScope::Store save;
    if (store.isWritable()) {
        save = [location](const IniDocument& document) {
            QSettings key(location, QSettings::NativeFormat);
            document.ForEachValue([&key](const QString& group, const QString& name, const QString& value) {
                key.setValue(group + u'/' + name, value);
            });
            key.sync();
            return key.status() == QSettings::NoError;
        };
    }
    return SettingsScope(std::move(values), std::move(save));
}

#else

namespace {

// This program's settings files are a few kilobytes. A file far larger was not written by it, and
// reading all of it would only fill memory.
constexpr qint64 LargestFile = 1024 * 1024;

bool CreateEmptyFile(const QString& path)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Append);
}

// A new file replaces the old one at once (QSaveFile), so the folder must be writable as well as
// the file itself.
bool MayWrite(const QString& path)
{
    const QFileInfo file(path);
    return file.isWritable() && QFileInfo(file.absolutePath()).isWritable();
}

// Text has no NUL and no control characters other than tab, line ends and page breaks.
bool IsText(const QByteArray& bytes)
{
    return std::none_of(bytes.begin(), bytes.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b < 0x20 && b != '\t' && b != '\n' && b != '\r' && b != '\f' && b != '\v';
    });
}

// UTF-8, or, where it is not, Latin-1 as older editors wrote it; a byte-order mark is no part of
// the text.
QString Decoded(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

// Why the file cannot be read as settings; empty when it can.
QString Damage(const QByteArray& bytes, const IniDocument& document)
{
    if (bytes.size() > LargestFile)
        return QStringLiteral("it is far larger than a settings file");
    if (!IsText(bytes))
        return QStringLiteral("it is not text");
    if (document.ValueCount() == 0 && document.StrayLineCount() > 0)
        return QStringLiteral("no line in it is a setting");
    return {};
}

bool SetAside(const QString& path)
{
    const QString aside = path + QStringLiteral(".corrupt");
    QFile::remove(aside);
    return QFile::rename(path, aside) && CreateEmptyFile(path);
}

bool Save(const QString& path, const IniDocument& document)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(document.Text().toUtf8()) >= 0 && file.commit();
}

} // namespace

std::optional<SettingsScope> OpenSettingsLocation(const QString& location, SettingsOwner owner, QString& problem)
{
    const QFileInfo info(location);
    if (!info.exists() && !CreateEmptyFile(location))
        return std::nullopt;
    QFile file(location);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        problem = QStringLiteral("The settings file %1 cannot be read; the defaults are used.").arg(location);
        return SettingsScope();
    }
    const QByteArray bytes = file.read(LargestFile + 1);
    IniDocument document = IniDocument::Parse(Decoded(bytes.left(LargestFile)));
    const QString damage = Damage(bytes, document);
    bool writable = MayWrite(location);
    if (!damage.isEmpty() && owner == SettingsOwner::Administrator) {
        problem = QStringLiteral("The machine-wide settings file %1 cannot be read as a whole (%2). The settings "
                                 "that could be read from it are used, and it is left as it is.").arg(location, damage);
        writable = false;
    } else if (!damage.isEmpty()) {
        // Whatever could be salvaged from a damaged file of one's own is repaired input nobody
        // should trust, and it would be written back in the file's place.
        if (!SetAside(location)) {
            problem = QStringLiteral("The settings file %1 cannot be read (%2); the defaults are used.").arg(location, damage);
            return SettingsScope();
        }
        problem = QStringLiteral("The settings file %1 could not be read (%2). It was kept as %1.corrupt, and the "
                                 "defaults are used.").arg(location, damage);
        document = IniDocument();
    }
    SettingsScope::Store save;
    if (writable)
        save = [location](const IniDocument& values) { return Save(location, values); };
    return SettingsScope(std::move(document), std::move(save));
}

#endif
