#include "Registry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

#include <unistd.h>

namespace {

const QString Views = QStringLiteral("Views");
const QString Local = QStringLiteral("Local");
const QString Nmea = QStringLiteral("NMEA");
const QString Absent = QStringLiteral("<absent>");

// Marks the copy of this test that runs under an unprivileged user.
constexpr char UnprivilegedChild[] = "DEVOZORA_TEST_UNPRIVILEGED";

Registry::Locations In(const QTemporaryDir& dir)
{
    return {dir.filePath(QStringLiteral("home/Quarvel/DevozOra.conf")),
            dir.filePath(QStringLiteral("etc/Quarvel/DevozOra.conf")),
            dir.filePath(QStringLiteral("home/Quarvel/DevozOra-machine.conf"))};
}

QString FolderOf(const QString& path)
{
    return QFileInfo(path).absolutePath();
}

QByteArray Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Put(const QString& path, const QByteArray& data)
{
    QVERIFY(QDir().mkpath(FolderOf(path)));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(data), data.size());
}

// How many keys of the file answer to subkey/name, in any case.
qsizetype KeysNamed(const QString& path, const QString& subkey, const QString& name)
{
    const QStringList keys = QSettings(path, QSettings::IniFormat).allKeys();
    return std::count_if(keys.begin(), keys.end(), [&](const QString& key) {
        return key.compare(subkey + u'/' + name, Qt::CaseInsensitive) == 0;
    });
}

QString Read(const Registry& registry, bool machine, const QString& subkey, const QString& name)
{
    return machine ? registry.ReadMachineSetting(subkey, name, Absent) : registry.ReadUserSetting(subkey, name, Absent);
}

void Write(Registry& registry, bool machine, const QString& subkey, const QString& name, const QString& text)
{
    if (machine)
        registry.WriteMachineSetting(subkey, name, text);
    else
        registry.WriteUserSetting(subkey, name, text);
}

// Takes write permission away from a file or folder for as long as it lives, and gives it back
// so that the temporary folder can be removed.
class WriteProtected {
public:
    explicit WriteProtected(QString path) : Path(std::move(path)), Saved(QFile::permissions(Path))
    {
        QFile::setPermissions(Path, Saved & ~(QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup | QFile::WriteOther));
    }
    ~WriteProtected() { QFile::setPermissions(Path, Saved); }
    WriteProtected(const WriteProtected&) = delete;
    WriteProtected& operator=(const WriteProtected&) = delete;

private:
    QString Path;
    QFile::Permissions Saved;
};

// Root (or a process with CAP_DAC_OVERRIDE) writes where the mode bits say it may not; the tests
// of read-only locations then have to run as someone else.
bool ModeBitsBindUs()
{
    QTemporaryDir dir;
    const WriteProtected locked(dir.path());
    QFile probe(dir.filePath(QStringLiteral("probe")));
    return !probe.open(QIODevice::WriteOnly);
}

// Runs the current test function again in a copy of this program under the user "nobody"
// (setpriv, util-linux), inside a temporary folder that user owns.
void RunAsUnprivilegedUser()
{
    if (qEnvironmentVariableIsSet(UnprivilegedChild))
        QFAIL("mode bits do not bind the unprivileged user either");
    constexpr uid_t Nobody = 65534;
    QTemporaryDir shared;
    QVERIFY(shared.isValid());
    QCOMPARE(::chown(QFile::encodeName(shared.path()).constData(), Nobody, Nobody), 0);

    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), shared.path());
    environment.insert(QString::fromLatin1(UnprivilegedChild), QStringLiteral("1"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QStringLiteral("setpriv"),
                {QStringLiteral("--reuid=%1").arg(Nobody), QStringLiteral("--regid=%1").arg(Nobody),
                 QStringLiteral("--clear-groups"), QStringLiteral("--"), QCoreApplication::applicationFilePath(),
                 QString::fromLatin1(QTest::currentTestFunction())});
    if (!child.waitForStarted())
        QSKIP("running as root and setpriv is not available to drop the privileges");
    QVERIFY(child.waitForFinished(120000));
    const QByteArray output = child.readAll();
    if (child.exitStatus() == QProcess::NormalExit && output.startsWith("setpriv:"))
        QSKIP(qPrintable(QStringLiteral("cannot drop the privileges: ") + QString::fromLocal8Bit(output)));
    if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        qWarning().noquote() << output;
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 0);
}

QByteArray RandomBytes(qsizetype size)
{
    QByteArray bytes(size, '\0');
    QRandomGenerator generator(20240607);
    for (char& byte : bytes)
        byte = static_cast<char>(generator.bounded(256));
    return bytes;
}

} // namespace

class TestRegistry : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void firstRunCreatesBothLocations();
    void valuesLastToTheNextRun_data();
    void valuesLastToTheNextRun();
    void namesMatchWithoutCase_data();
    void namesMatchWithoutCase();
    void flags_data();
    void flags();
    void numbers_data();
    void numbers();
    void valueLengthLimit_data();
    void valueLengthLimit();
    void valueCutAtNul_data();
    void valueCutAtNul();
    void readOnlyMachineFile();
    void machineFolderNotCreatable();
    void corruptFiles_data();
    void corruptFiles();
    void corruptFileKeptAside_data();
    void corruptFileKeptAside();
    void userLocationUnusable_data();
    void userLocationUnusable();
    void defaultLocations_data();
    void defaultLocations();

private:
    bool ModeBitsBind = true;
};

void TestRegistry::initTestCase()
{
    ModeBitsBind = ModeBitsBindUs();
}

void TestRegistry::firstRunCreatesBothLocations()
{
    QTemporaryDir dir;
    const Registry::Locations where = In(dir);
    Registry registry(where);
    QVERIFY(registry.OpenSettingsKeys());
    QVERIFY(registry.OpenSettingsKeys()); // a second call keeps what is open
    QVERIFY(QFile::exists(where.UserFile));
    QVERIFY(QFile::exists(where.MachineFile));
    QVERIFY(!QFile::exists(where.MachineFallbackFile));
    QCOMPARE(registry.ReadMachineSetting(Local, QStringLiteral("TimeDisplay"), QStringLiteral("2")), QStringLiteral("2"));
    QCOMPARE(registry.ReadMachineSetting(Nmea, QStringLiteral("COMport")), QString());
    QCOMPARE(registry.ReadUserSetting(Views, QStringLiteral("Active1")), QString());
}

void TestRegistry::valuesLastToTheNextRun_data()
{
    QTest::addColumn<bool>("machine");
    QTest::addColumn<QString>("subkey");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");

    QTest::newRow("user flag") << false << Views << "Active3" << "True";
    QTest::newRow("user geometry") << false << Views << "Left2" << "1234.5";
    QTest::newRow("user empty text") << false << Views << "Base" << "";
    QTest::newRow("user text like a variant") << false << Local << "Note" << "@Variant(x)";
    QTest::newRow("machine position") << true << Nmea << "Baudrate" << "4";
    QTest::newRow("machine no selection") << true << Nmea << "Parity" << "-1";
    QTest::newRow("machine text with comma") << true << Nmea << "Device1" << "/dev/serial/by-id/usb-FTDI, Inc";
    QTest::newRow("machine padded text") << true << Nmea << "Device2" << "  spaced  ";
    QTest::newRow("machine non-ASCII") << true << Nmea << "Device3" << "/dev/tty\u00c4\u20ac";
}

void TestRegistry::valuesLastToTheNextRun()
{
    QFETCH(bool, machine);
    QFETCH(QString, subkey);
    QFETCH(QString, name);
    QFETCH(QString, text);

    QTemporaryDir dir;
    {
        Registry first(In(dir));
        QVERIFY(first.OpenSettingsKeys());
        Write(first, machine, subkey, name, text);
    }
    Registry next(In(dir));
    QVERIFY(next.OpenSettingsKeys());
    QCOMPARE(Read(next, machine, subkey, name), text);
    QCOMPARE(Read(next, !machine, subkey, name), Absent);
    const Registry::Locations where = In(dir);
    QCOMPARE(KeysNamed(machine ? where.MachineFile : where.UserFile, subkey, name), 1);
}

void TestRegistry::namesMatchWithoutCase_data()
{
    QTest::addColumn<QString>("firstSubkey");
    QTest::addColumn<QString>("firstName");
    QTest::addColumn<QString>("laterSubkey");
    QTest::addColumn<QString>("laterName");

    QTest::newRow("value name") << Nmea << "WordBits" << Nmea << "Wordbits";
    QTest::newRow("subkey") << Nmea << "COMport" << "nmea" << "COMport";
    QTest::newRow("both") << Views << "AlwaysOnTop" << "VIEWS" << "alwaysontop";
}

void TestRegistry::namesMatchWithoutCase()
{
    QFETCH(QString, firstSubkey);
    QFETCH(QString, firstName);
    QFETCH(QString, laterSubkey);
    QFETCH(QString, laterName);

    QTemporaryDir dir;
    const Registry::Locations where = In(dir);
    {
        Registry first(where);
        QVERIFY(first.OpenSettingsKeys());
        first.WriteMachineSetting(firstSubkey, firstName, QStringLiteral("3"));
    }
    Registry later(where);
    QVERIFY(later.OpenSettingsKeys());
    QCOMPARE(later.ReadMachineSetting(laterSubkey, laterName), QStringLiteral("3"));
    later.WriteMachineSetting(laterSubkey, laterName, QStringLiteral("4"));
    QCOMPARE(later.ReadMachineSetting(firstSubkey, firstName), QStringLiteral("4"));
    QCOMPARE(KeysNamed(where.MachineFile, firstSubkey, firstName), 1);
}

void TestRegistry::flags_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("set");

    QTest::newRow("True") << "True" << true;
    QTest::newRow("true") << "true" << true;
    QTest::newRow("TRUE") << "TRUE" << true;
    QTest::newRow("False") << "False" << false;
    QTest::newRow("1") << "1" << false;
    QTest::newRow("yes") << "yes" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("padded") << " true" << false;
}

void TestRegistry::flags()
{
    QFETCH(QString, text);
    QFETCH(bool, set);
    QCOMPARE(Registry::ReadFlag(text), set);
}

void TestRegistry::numbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("number");

    QTest::newRow("position") << "4" << 4;
    QTest::newRow("no selection") << "-1" << -1;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("not numeric") << "COM3" << 0;
    QTest::newRow("numeric prefix") << "12abc" << 12;
    QTest::newRow("half to even down") << "2.5" << 2;
    QTest::newRow("half to even up") << "3.5" << 4;
    QTest::newRow("16-bit top") << "32767" << 32767;
    QTest::newRow("beyond 16 bits") << "40000" << 0;
    QTest::newRow("endless digits") << QString(400, u'9') << 0;
}

void TestRegistry::numbers()
{
    QFETCH(QString, text);
    QFETCH(int, number);
    QCOMPARE(Registry::SettingNumber(text), number);
}

void TestRegistry::valueLengthLimit_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("whole");

    QTest::newRow("254") << 254 << true;
    QTest::newRow("255") << 255 << false;
    QTest::newRow("4000") << 4000 << false;
}

void TestRegistry::valueLengthLimit()
{
    QFETCH(int, length);
    QFETCH(bool, whole);

    QTemporaryDir dir;
    Registry registry(In(dir));
    QVERIFY(registry.OpenSettingsKeys());
    const QString text(length, u'x');
    registry.WriteUserSetting(Views, QStringLiteral("Left1"), text);
    QCOMPARE(registry.ReadUserSetting(Views, QStringLiteral("Left1"), Absent), whole ? text : Absent);
}

void TestRegistry::valueCutAtNul_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("read");

    QTest::newRow("inside") << QStringLiteral("ab\0cd") << "ab";
    QTest::newRow("first") << QStringLiteral("\0ab") << "";
    QTest::newRow("last") << QStringLiteral("ab\0") << "ab";
    QTest::newRow("none") << "abcd" << "abcd";
}

void TestRegistry::valueCutAtNul()
{
    QFETCH(QString, text);
    QFETCH(QString, read);

    QCOMPARE(TrimAtNul(text), read);
    QTemporaryDir dir;
    {
        Registry first(In(dir));
        QVERIFY(first.OpenSettingsKeys());
        first.WriteMachineSetting(Nmea, QStringLiteral("Device1"), text);
    }
    Registry next(In(dir));
    QVERIFY(next.OpenSettingsKeys());
    QCOMPARE(next.ReadMachineSetting(Nmea, QStringLiteral("Device1")), read);
}

void TestRegistry::readOnlyMachineFile()
{
    if (!ModeBitsBind)
        return RunAsUnprivilegedUser();

    QTemporaryDir dir;
    const Registry::Locations where = In(dir);
    Put(where.MachineFile, "[NMEA]\nBaudrate=4\n[Local]\nTimeDisplay=1\n");
    const WriteProtected file(where.MachineFile);
    const WriteProtected folder(FolderOf(where.MachineFile));
    const QByteArray provided = Contents(where.MachineFile);
    {
        Registry registry(where);
        QVERIFY(registry.OpenSettingsKeys());
        QCOMPARE(registry.ReadMachineSetting(Nmea, QStringLiteral("baudrate")), QStringLiteral("4"));
        QCOMPARE(registry.ReadMachineSetting(Local, QStringLiteral("TimeDisplay"), QStringLiteral("2")), QStringLiteral("1"));
        registry.WriteMachineSetting(Nmea, QStringLiteral("Baudrate"), QStringLiteral("7"));
        registry.WriteMachineSetting(Nmea, QStringLiteral("Parity"), QStringLiteral("2"));
        QCOMPARE(registry.ReadMachineSetting(Nmea, QStringLiteral("Baudrate")), QStringLiteral("4"));
        registry.WriteUserSetting(Views, QStringLiteral("Freeze"), QStringLiteral("True"));
    }
    QCOMPARE(Contents(where.MachineFile), provided);
    QVERIFY(!QFile::exists(where.MachineFallbackFile)); // nothing may shadow the provided file

    Registry next(where);
    QVERIFY(next.OpenSettingsKeys());
    QCOMPARE(next.ReadUserSetting(Views, QStringLiteral("Freeze")), QStringLiteral("True"));
    QCOMPARE(next.ReadMachineSetting(Nmea, QStringLiteral("Parity"), Absent), Absent);
}

void TestRegistry::machineFolderNotCreatable()
{
    if (!ModeBitsBind)
        return RunAsUnprivilegedUser();

    QTemporaryDir dir;
    const Registry::Locations where = In(dir);
    const QString systemFolder = QFileInfo(FolderOf(where.MachineFile)).absolutePath();
    QVERIFY(QDir().mkpath(systemFolder));
    const WriteProtected folder(systemFolder);
    {
        Registry first(where);
        QVERIFY(first.OpenSettingsKeys());
        QCOMPARE(first.ReadMachineSetting(Nmea, QStringLiteral("COMport")), QString());
        first.WriteMachineSetting(Nmea, QStringLiteral("COMport"), QStringLiteral("5"));
    }
    QVERIFY(!QFile::exists(where.MachineFile));
    QVERIFY(QFile::exists(where.MachineFallbackFile));

    Registry next(where);
    QVERIFY(next.OpenSettingsKeys());
    QCOMPARE(next.ReadMachineSetting(Nmea, QStringLiteral("COMport")), QStringLiteral("5"));
}

void TestRegistry::corruptFiles_data()
{
    QTest::addColumn<QByteArray>("garbage");

    QTest::newRow("random bytes") << RandomBytes(4096);
    QTest::newRow("NUL bytes") << QByteArray(512, '\0');
    QTest::newRow("a program") << Contents(QCoreApplication::applicationFilePath()).left(64 * 1024);
    QTest::newRow("broken groups") << QByteArray("[NMEA\nCOMport=3\n[Views\nBase=2\n");
    QTest::newRow("values not text") << QByteArray("[NMEA]\nCOMport=@ByteArray(3)\n[Views]\nBase=1, 2\n");
    QTest::newRow("oversized") << QByteArray("[NMEA]\nCOMport=3\n[Views]\nBase=2\n").repeated(100000);
}

// A damaged settings file gives the defaults, and what is written afterwards is kept: a person
// whose file was damaged once must not lose their settings at every later run.
void TestRegistry::corruptFiles()
{
    QFETCH(QByteArray, garbage);

    QTemporaryDir dir;
    const Registry::Locations where = In(dir);
    Put(where.UserFile, garbage);
    Put(where.MachineFile, garbage);
    {
        Registry first(where);
        QVERIFY(first.OpenSettingsKeys());
        QCOMPARE(first.ReadMachineSetting(Nmea, QStringLiteral("COMport"), Absent), Absent);
        QCOMPARE(first.ReadUserSetting(Views, QStringLiteral("Base"), Absent), Absent);
        first.WriteMachineSetting(Nmea, QStringLiteral("COMport"), QStringLiteral("5"));
        first.WriteUserSetting(Views, QStringLiteral("Base"), QStringLiteral("1"));
    }
    Registry next(where);
    QVERIFY(next.OpenSettingsKeys());
    QCOMPARE(next.ReadMachineSetting(Nmea, QStringLiteral("COMport")), QStringLiteral("5"));
    QCOMPARE(next.ReadUserSetting(Views, QStringLiteral("Base")), QStringLiteral("1"));
}

void TestRegistry::corruptFileKeptAside_data()
{
    QTest::addColumn<QByteArray>("garbage");

    QTest::newRow("broken groups") << QByteArray("[NMEA\nCOMport=3\n");
    QTest::newRow("oversized") << QByteArray("[NMEA]\nCOMport=3\n").repeated(100000);
}

void TestRegistry::corruptFileKeptAside()
{
    QFETCH(QByteArray, garbage);

    QTemporaryDir dir;
    const Registry::Locations where = In(dir);
    Put(where.MachineFile, garbage);
    Registry registry(where);
    QVERIFY(registry.OpenSettingsKeys());
    QCOMPARE(Contents(where.MachineFile + QStringLiteral(".corrupt")), garbage);
    QCOMPARE(Contents(where.MachineFile), QByteArray());
}

void TestRegistry::userLocationUnusable_data()
{
    QTest::addColumn<bool>("pathIsFolder");

    QTest::newRow("folder cannot be created") << false;
    QTest::newRow("settings path is a folder") << true;
}

void TestRegistry::userLocationUnusable()
{
    QFETCH(bool, pathIsFolder);

    QTemporaryDir dir;
    Registry::Locations where = In(dir);
    if (pathIsFolder) {
        QVERIFY(QDir().mkpath(where.UserFile));
    } else {
        // A plain file where a folder should be: no one can create the folder, root included.
        const QString blocker = dir.filePath(QStringLiteral("blocker"));
        Put(blocker, "x");
        where.UserFile = blocker + QStringLiteral("/Quarvel/DevozOra.conf");
    }
    Registry registry(where);
    QVERIFY(!registry.OpenSettingsKeys());
    registry.WriteUserSetting(Views, QStringLiteral("Base"), QStringLiteral("2"));
    QCOMPARE(registry.ReadUserSetting(Views, QStringLiteral("Base"), Absent), Absent);
}

void TestRegistry::defaultLocations_data()
{
    QTest::addColumn<QByteArray>("configHome");
    QTest::addColumn<QByteArray>("configDirs");
    QTest::addColumn<QString>("userFolder");
    QTest::addColumn<QString>("machineFolder");

    const QString homeConfig = QDir::homePath() + QStringLiteral("/.config");
    QTest::newRow("both set") << QByteArray("/x/cfg") << QByteArray("/y/xdg:/z") << "/x/cfg" << "/y/xdg";
    QTest::newRow("relative dirs skipped") << QByteArray("/x/cfg") << QByteArray("rel/xdg::/z") << "/x/cfg" << "/z";
    QTest::newRow("unset") << QByteArray() << QByteArray() << homeConfig << "/etc/xdg";
}

void TestRegistry::defaultLocations()
{
    QFETCH(QByteArray, configHome);
    QFETCH(QByteArray, configDirs);
    QFETCH(QString, userFolder);
    QFETCH(QString, machineFolder);

    const QByteArray savedHome = qgetenv("XDG_CONFIG_HOME");
    const QByteArray savedDirs = qgetenv("XDG_CONFIG_DIRS");
    const auto restore = qScopeGuard([&] {
        savedHome.isNull() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", savedHome);
        savedDirs.isNull() ? qunsetenv("XDG_CONFIG_DIRS") : qputenv("XDG_CONFIG_DIRS", savedDirs);
    });
    configHome.isNull() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", configHome);
    configDirs.isNull() ? qunsetenv("XDG_CONFIG_DIRS") : qputenv("XDG_CONFIG_DIRS", configDirs);

    const Registry::Locations where = Registry::DefaultLocations();
    QCOMPARE(where.UserFile, userFolder + QStringLiteral("/Quarvel/DevozOra.conf"));
    QCOMPARE(where.MachineFile, machineFolder + QStringLiteral("/Quarvel/DevozOra.conf"));
    QCOMPARE(where.MachineFallbackFile, userFolder + QStringLiteral("/Quarvel/DevozOra-machine.conf"));
}

QTEST_GUILESS_MAIN(TestRegistry)
#include "tst_registry.moc"
