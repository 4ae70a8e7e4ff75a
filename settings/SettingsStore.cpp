#include "SettingsStore.h"

#include "Rounding.h"
#include "SettingsLocation.h"

#include <QDir>
#include <QStandardPaths>

#include <charconv>
#include <cstdio>

SettingsStore::SettingsStore(Locations locations)
    : Where(std::move(locations))
{
}

SettingsStore::~SettingsStore()
{
    Flush();
}

#ifdef Q_OS_WIN

SettingsStore::Locations SettingsStore::DefaultLocations()
{
    // The machine-wide fallback lives beside the per-user key, as its file does elsewhere.
    return {QStringLiteral("HKEY_CURRENT_USER\\Software\\Quarvel\\DevozOra"),
            QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\Quarvel\\DevozOra"),
            QStringLiteral("HKEY_CURRENT_USER\\Software\\Quarvel\\DevozOra-machine")};
}

#else

namespace {

// The first folder of $XDG_CONFIG_DIRS; relative entries are invalid there and are skipped.
QString MachineConfigFolder()
{
    const QStringList folders = qEnvironmentVariable("XDG_CONFIG_DIRS").split(u':', Qt::SkipEmptyParts);
    for (const QString& folder : folders) {
        if (QDir::isAbsolutePath(folder))
            return folder;
    }
    return QStringLiteral("/etc/xdg");
}

} // namespace

SettingsStore::Locations SettingsStore::DefaultLocations()
{
    // GenericConfigLocation is $XDG_CONFIG_HOME when that is set and absolute, else ~/.config.
    const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const QString vendor = QStringLiteral("/Quarvel/");
    return {userFolder + vendor + QStringLiteral("DevozOra.conf"),
            MachineConfigFolder() + vendor + QStringLiteral("DevozOra.conf"),
            userFolder + vendor + QStringLiteral("DevozOra-machine.conf")};
}

#endif

bool SettingsStore::OpenSettingsKeys()
{
    const auto open = [this](const QString& location, SettingsOwner owner) {
        QString problem;
        std::optional<SettingsScope> scope = OpenSettingsLocation(location, owner, problem);
        if (!problem.isEmpty())
            OpenProblems << problem;
        return scope;
    };
    if (!UserSettingsKey.IsOpen()) {
        std::optional<SettingsScope> user = open(Where.UserFile, SettingsOwner::Person);
        if (!user || !user->IsOpen()) {
            const QString why = WhyNotWritable(Where.UserFile);
            OpenFault = why.isEmpty() ? QStringLiteral("The settings file %1 cannot be opened.").arg(Where.UserFile)
                                      : QStringLiteral("The settings file %1 cannot be created (%2).").arg(Where.UserFile, why);
            return false;
        }
        UserSettingsKey = std::move(*user);
        // Said at once rather than at the first change, which would be lost.
        UserFailure = WhyNotWritable(Where.UserFile);
    }
    if (MachineSettingsKey.IsOpen())
        return true;
    // An administrator's machine-wide file is used as it is, read-only for whoever may not write
    // it. Where there is none and this user may not create one (every ordinary user on Linux),
    // the machine-wide values live in a file beside the per-user one, so that the serial settings
    // are still kept from one run to the next.
    MachinePath = Where.MachineFile;
    std::optional<SettingsScope> machine = open(Where.MachineFile, SettingsOwner::Administrator);
    if (!machine) {
        MachinePath = Where.MachineFallbackFile;
        machine = open(Where.MachineFallbackFile, SettingsOwner::Person);
        if (machine && machine->IsWritable())
            MachineFailure = WhyNotWritable(MachinePath);
    }
    if (!machine)
        return false;
    MachineSettingsKey = std::move(*machine);
    TellWriteProblem();
    return true;
}

QString SettingsStore::ReadUserSetting(const QString& subkey, const QString& name, const QString& defaultText) const
{
    return UserSettingsKey.Read(subkey, name, defaultText);
}

QString SettingsStore::ReadMachineSetting(const QString& subkey, const QString& name, const QString& defaultText) const
{
    return MachineSettingsKey.Read(subkey, name, defaultText);
}

void SettingsStore::WriteUserSetting(const QString& subkey, const QString& name, const QString& text)
{
    UserSettingsKey.Write(subkey, name, text);
}

void SettingsStore::WriteMachineSetting(const QString& subkey, const QString& name, const QString& text)
{
    MachineSettingsKey.Write(subkey, name, text);
}

void SettingsStore::Flush()
{
    if (const std::optional<QString> failure = UserSettingsKey.Flush())
        UserFailure = *failure;
    if (const std::optional<QString> failure = MachineSettingsKey.Flush())
        MachineFailure = *failure;
    TellWriteProblem();
}

std::optional<SettingsStore::WriteFailure> SettingsStore::FirstWriteFailure() const
{
    if (!UserFailure.isEmpty())
        return WriteFailure{Where.UserFile, UserFailure};
    if (!MachineFailure.isEmpty())
        return WriteFailure{MachinePath, MachineFailure};
    return std::nullopt;
}

void SettingsStore::TellWriteProblem()
{
    QStringList failures;
    QStringList paths;
    for (const auto& [path, failure] : {std::pair{&Where.UserFile, &UserFailure}, {&MachinePath, &MachineFailure}}) {
        if (failure->isEmpty())
            continue;
        failures << QStringLiteral("The settings cannot be written to %1 (%2); changes are kept only until the program "
                                   "ends, unless it can be written by then.").arg(*path, *failure);
        paths << *path;
    }
    const QString problem = failures.join(u' ');
    if (problem == WriteFault)
        return;
    const QString message = problem.isEmpty()
        ? QStringLiteral("The settings are written to %1 again.").arg(FailingPaths.join(QStringLiteral(" and ")))
        : problem;
    WriteFault = problem;
    FailingPaths = paths;
    std::fprintf(stderr, "devozora: %s\n", qPrintable(message));
    if (Report)
        Report(message);
}

bool SettingsStore::ReadFlag(const QString& text)
{
    return text.toLower() == QLatin1String("true");
}

std::optional<double> SettingsStore::SettingValue(const QString& text)
{
    const QByteArray latin = text.trimmed().toLatin1();
    const char* first = latin.constData();
    const char* const last = first + latin.size();
    const bool negative = first != last && *first == '-';
    if (first != last && (*first == '-' || *first == '+'))
        ++first;
    // Digits or a point first: the words "inf" and "nan" are no numbers here.
    if (first == last || !((*first >= '0' && *first <= '9') || *first == '.'))
        return std::nullopt;
    double value = 0;
    if (std::from_chars(first, last, value, std::chars_format::general).ec != std::errc())
        return std::nullopt;
    return negative ? -value : value;
}

int SettingsStore::SettingNumber(const QString& text, int lowest, int highest, int fallback)
{
    const std::optional<double> value = SettingValue(text);
    if (!value)
        return fallback;
    const double whole = RoundHalfEven(*value);
    return whole >= lowest && whole <= highest ? static_cast<int>(whole) : fallback;
}
