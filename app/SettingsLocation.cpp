#include "SettingsLocation.h"

#include <QSettings>

#ifndef Q_OS_WIN
#include <QDir>
#include <QFile>
#include <QFileInfo>
#endif

#ifdef Q_OS_WIN

std::optional<SettingsScope> OpenSettingsLocation(const QString& location)
{
    // Qt opens the key for writing, creating it, when this user may; otherwise it opens it for
    // reading. A key it could neither create nor find holds nothing for us.
    auto store = std::make_unique<QSettings>(location, QSettings::NativeFormat);
    const bool writable = store->isWritable();
    if (!writable && store->allKeys().isEmpty())
        return std::nullopt;
    return SettingsScope(std::move(store), writable);
}

#else

namespace {

// This program's settings files are a few kilobytes. A file far larger was not written by it,
// and the INI reader would hold all of it in memory.
constexpr qint64 LargestFile = 1024 * 1024;

bool CreateEmptyFile(const QString& path)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Append);
}

// QSettings replaces the file through a temporary file and a lock file beside it, so the folder
// must be writable as well as the file itself.
bool MayWrite(const QString& path)
{
    const QFileInfo file(path);
    return file.isWritable() && QFileInfo(file.absolutePath()).isWritable();
}

bool IsCorrupt(const QString& path)
{
    if (QFileInfo(path).size() > LargestFile)
        return true;
    QSettings probe(path, QSettings::IniFormat);
    probe.allKeys(); // the INI reader parses a section only when it is first used
    return probe.status() == QSettings::FormatError;
}

// Whatever the INI reader salvaged from a corrupt file would be repaired input that nobody should
// trust, and it would be written back in the file's place at the next save. So the file is kept
// beside as "<name>.corrupt" for whoever wants to look at it, and an empty one takes its place.
bool SetAside(const QString& path)
{
    const QString aside = path + QStringLiteral(".corrupt");
    QFile::remove(aside);
    return QFile::rename(path, aside) && CreateEmptyFile(path);
}

} // namespace

std::optional<SettingsScope> OpenSettingsLocation(const QString& location)
{
    const QFileInfo info(location);
    if (!info.exists()) {
        if (!CreateEmptyFile(location))
            return std::nullopt;
    } else if (!info.isFile() || !info.isReadable()) {
        return SettingsScope();
    }
    if (IsCorrupt(location) && !SetAside(location))
        return SettingsScope();
    return SettingsScope(std::make_unique<QSettings>(location, QSettings::IniFormat), MayWrite(location));
}

#endif
