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
#include <cerrno>
#include <cstring>

#include <unistd.h>
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
            return key.status() == QSettings::NoError ? QString() : QStringLiteral("the registry refused the values");
        };
    }
    return SettingsScope(std::move(values), std::move(save));
}

QString WhyNotWritable(const QString&)
{
    return {};
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

// The system's reason why this process may not write path; empty when it may.
QString AccessDenied(const QString& path)
{
    if (::access(QFile::encodeName(path).constData(), W_OK) == 0)
        return {};
    return QString::fromLocal8Bit(std::strerror(errno));
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

QString Save(const QString& path, const IniDocument& document)
{
    // A file the person made read-only stays as it is, though a new one could take its place.
    if (QString why = WhyNotWritable(path); !why.isEmpty())
        return why;
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(document.Text().toUtf8()) >= 0 && file.commit())
        return {};
    return file.errorString();
}

} // namespace

QString WhyNotWritable(const QString& location)
{
    const QFileInfo file(location);
    if (file.isDir())
        return QStringLiteral("it is a folder");
    if (file.exists()) {
        if (QString denied = AccessDenied(location); !denied.isEmpty())
            return denied;
    }
    QFileInfo folder(file.absolutePath());
    while (!folder.exists() && !folder.isRoot())
        folder = QFileInfo(folder.absolutePath());
    if (!folder.isDir())
        return QStringLiteral("%1 is not a folder").arg(folder.filePath());
    if (QString denied = AccessDenied(folder.filePath()); !denied.isEmpty())
        return QStringLiteral("its folder %1: %2").arg(folder.filePath(), denied);
    return {};
}

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
    // A person's own file is always written to, so that a failure is told rather than the
    // changes dropped without a word; an administrator's file is written only where it may be.
    bool writable = owner == SettingsOwner::Person || WhyNotWritable(location).isEmpty();
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
