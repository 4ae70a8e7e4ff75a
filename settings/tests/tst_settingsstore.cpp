// The settings store on real files: files as people write them, values as text, numbers that do
// not fit, damaged files, and locations that cannot be written.
#include "SettingsFolder.h"
#include "Unprivileged.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Absent = QStringLiteral("<absent>");

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

} // namespace

class TestSettingsStore : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void filesAsPeopleWriteThem();
    void valuesAreText();
    void flagsAndNumbers();
    void damagedFiles_data();
    void damagedFiles();
    void machineWideLocationNotWritable();
    void userLocationUnusable();
    void unwritableUserFileIsSaid_data();
    void unwritableUserFileIsSaid();
    void defaultLocations();

private:
    bool ModeBitsBind = true;
};

void TestSettingsStore::initTestCase()
{
    ModeBitsBind = ModeBitsBindUs();
}

// Every setting is read from a file as people write it; a write keeps every other line, and
// exactly one line then answers to the name written.
void TestSettingsStore::filesAsPeopleWriteThem()
{
    const struct { QByteArray File; QString Name, Value; } files[] = { // an administrator's, of "NMEA"
        {"# boat PC\n; serial\n\n[NMEA]\n  # GPS\nBaudrate=4\n", "Baudrate", "4"},
        {"\xEF\xBB\xBF[NMEA]\nBaudrate=4\n", "Baudrate", "4"},
        {"[NMEA]\nthe receiver is at the chart table\nBaudrate=4\n", "Baudrate", "4"},
        {"[NMEA]\r\nRadar=Yes\r\n Baudrate = 4 \r\n", "Baudrate", "4"},
        {"[nmea]\nWORDBITS=2\n", "Wordbits", "2"},
        {"[NMEA]\nParity=1\n[Nmea]\nPARITY=3\n", "Parity", "1"}, // two spellings: the first counts
        {"[NMEA]\nDevice1=/dev/serial/by-id/usb-\"FTDI\", Inc=1\n", "Device1", "/dev/serial/by-id/usb-\"FTDI\", Inc=1"},
        {"[NMEA]\nDevice1=\"  /dev/x  \"\n", "Device1", "  /dev/x  "},
        {"[NMEA]\nDevice1=/dev/tty\xC4\n", "Device1", "/dev/tty\u00C4"}, // Latin-1
    };
    for (const auto& [file, name, value] : files) {
        QTemporaryDir dir;
        const SettingsStore::Locations where = SettingsIn(dir);
        Put(where.MachineFile, file);
        {
            SettingsStore store(where);
            QVERIFY(store.OpenSettingsKeys());
            QVERIFY(store.Problems().isEmpty());
            QCOMPARE(store.ReadMachineSetting("NMEA", name, Absent), value);
            store.WriteMachineSetting("NMEA", name, "7, \"new\"");
        }
        SettingsStore next(where);
        QVERIFY(next.OpenSettingsKeys());
        QCOMPARE(next.ReadMachineSetting("NMEA", name), QString("7, \"new\""));
        const QString now = QString::fromUtf8(Contents(where.MachineFile));
        QVERIFY(now.count(u'\n') <= file.count('\n')); // nothing added, CR LF no blank line
        const auto options = QRegularExpression::CaseInsensitiveOption | QRegularExpression::MultilineOption;
        QCOMPARE(now.count(QRegularExpression("^[ \t]*" + name + "[ \t]*=", options)), 1);
        for (const QByteArray& line : file.split('\n')) {
            const QString kept = QString::fromUtf8(line).remove(QChar(0xFEFF)).trimmed();
            if (!kept.isEmpty() && !kept.contains(u'='))
                QVERIFY2(now.contains(kept), qPrintable(kept));
        }
    }
}

// A value comes back from the next run as the text it was, up to a NUL or a line break, and not
// at all from 255 characters on; the first run creates both locations.
void TestSettingsStore::valuesAreText()
{
    QList<std::pair<QString, QString>> values = {
        {"", ""},  {"/dev/tty\u00c4\u20ac", "/dev/tty\u00c4\u20ac"}, {QString(254, u'x'), QString(254, u'x')}, {QString(255, u'x'), Absent},
        {QStringLiteral("ab\0cd"), "ab"}, {QStringLiteral("\0ab"), ""}, {"ab\ncd", "ab"}};
    for (const char* text : {"True", "1234.5", "-1", "@Variant(x)", "/dev/serial/by-id/usb-FTDI, Inc", "a \"quoted\" word",
                             "\"in quotes\"", "key=value", "  padded  ", "# not a comment"})
        values.append(std::pair<QString, QString>(text, text));
    QTemporaryDir dir;
    {
        SettingsStore first(SettingsIn(dir));
        QVERIFY(first.OpenSettingsKeys());
        QVERIFY(QFile::exists(SettingsIn(dir).MachineFile) && !QFile::exists(SettingsIn(dir).MachineFallbackFile));
        for (qsizetype i = 0; i < values.size(); ++i)
            first.WriteUserSetting("NMEA", QStringLiteral("Device%1").arg(i), values[i].first);
    }
    SettingsStore next(SettingsIn(dir));
    QVERIFY(next.OpenSettingsKeys());
    for (qsizetype i = 0; i < values.size(); ++i) {
        QCOMPARE(next.ReadUserSetting("NMEA", QStringLiteral("Device%1").arg(i), Absent), values[i].second);
        QCOMPARE(next.ReadMachineSetting("NMEA", QStringLiteral("Device%1").arg(i), Absent), Absent);
    }
}

// A flag is set by "True" in any case only; a number that does not fit falls back to the default,
// never to a part of it that would fit (in a list of positions 0 to 9 whose default is 5).
void TestSettingsStore::flagsAndNumbers()
{
    for (const char* text : {"True", "true", "TRUE", "False", "1", "yes", "", " true"})
        QCOMPARE(SettingsStore::ReadFlag(text), QByteArray(text).toLower() == "true");
    const std::pair<QString, int> numbers[] = {
        {"4", 4},     {" 9 ", 9},   {"+3", 3},   {"12abc", 5}, {"3 ; 4800", 3}, {"2.5", 2},
        {"3.5", 4},   {"", 5},      {"COM3", 5}, {"-1", 5},    {"10", 5},       {"1e9", 5},
        {"9e-1", 1},  {"1e999", 5}, {"inf", 5},  {"nan", 5},   {QString(400, u'9'), 5}};
    for (const auto& [text, number] : numbers)
        QVERIFY2(SettingsStore::SettingNumber(text, 0, 9, 5) == number, qPrintable(text));
}

void TestSettingsStore::damagedFiles_data()
{
    QTest::addColumn<QByteArray>("garbage");
    const QByteArray setting("\n[NMEA]\nBaudrate=4\n");
    QTest::newRow("NUL bytes") << QByteArray(512, '\0') + setting;
    QTest::newRow("a program") << Contents(QCoreApplication::applicationFilePath()).left(64 * 1024);
    QTest::newRow("no line a setting") << QByteArray("[NMEA\nBaudrate=4\nthis is a letter\n");
    QTest::newRow("oversized") << setting.repeated(100000);
}

// A person's damaged file is kept aside and started afresh, so that what is written from then on
// lasts. An administrator's is never renamed or changed: what can be read of it is used. Either
// way the person is told in words.
void TestSettingsStore::damagedFiles()
{
    QFETCH(QByteArray, garbage);
    QTemporaryDir dir;
    const SettingsStore::Locations where = SettingsIn(dir);
    Put(where.UserFile, garbage);
    Put(where.MachineFile, garbage);
    const QString salvaged = garbage.contains("\n[NMEA]\nBaudrate=4\n") ? "4" : Absent;
    {
        SettingsStore first(where);
        QVERIFY(first.OpenSettingsKeys());
        QCOMPARE(first.Problems().size(), 2);
        QVERIFY(first.Problems()[0].contains(where.UserFile + ".corrupt"));
        QVERIFY(first.Problems()[1].contains("left as it is"));
        QCOMPARE(first.ReadUserSetting("NMEA", "Baudrate", Absent), Absent);
        QCOMPARE(first.ReadMachineSetting("NMEA", "Baudrate", Absent), salvaged);
        first.WriteUserSetting("Views", "Base", "1");
        first.WriteMachineSetting("NMEA", "COMport", "5");
    }
    QCOMPARE(Contents(where.UserFile + ".corrupt"), garbage);
    QCOMPARE(Contents(where.MachineFile), garbage);
    QVERIFY(!QFile::exists(where.MachineFile + ".corrupt"));
    SettingsStore next(where);
    QVERIFY(next.OpenSettingsKeys());
    QCOMPARE(next.ReadUserSetting("Views", "Base"), QString("1"));
    QCOMPARE(next.ReadMachineSetting("NMEA", "COMport", Absent), Absent);
}

// What an ordinary user meets: an administrator's read-only file, with a comment in it, is read
// and left as it is; where there is none and none may be created, the machine-wide values live
// beside the person's own.
void TestSettingsStore::machineWideLocationNotWritable()
{
    if (!ModeBitsBind)
        return RunAsUnprivilegedUser();

    QTemporaryDir provided;
    QTemporaryDir missing;
    const SettingsStore::Locations where = SettingsIn(provided);
    const SettingsStore::Locations beside = SettingsIn(missing);
    Put(where.MachineFile, "# Provided by the administrator: the receiver on COM5 at 4800 baud.\n"
                           "[NMEA]\nCOMport=4\nBaudrate=4\n[Local]\nTimeDisplay=1\n");
    const QByteArray text = Contents(where.MachineFile);
    const QString systemFolder = QFileInfo(FolderOf(beside.MachineFile)).absolutePath();
    QVERIFY(QDir().mkpath(systemFolder));
    const WriteProtected file(where.MachineFile), folder(FolderOf(where.MachineFile)), system(systemFolder);
    for (const SettingsStore::Locations& locations : {where, beside}) {
        SettingsStore store(locations);
        QVERIFY(store.OpenSettingsKeys());
        QVERIFY(store.Problems().isEmpty());
        QCOMPARE(store.WriteProblem(), QString()); // a read-only machine-wide file is meant to be so
        store.WriteMachineSetting("NMEA", "Baudrate", "7");
        store.WriteUserSetting("Views", "Freeze", "True");
    }
    QCOMPARE(Contents(where.MachineFile), text);
    QVERIFY(!QFile::exists(where.MachineFallbackFile)); // nothing may shadow the provided file
    QVERIFY(!QFile::exists(beside.MachineFile));
    for (const auto& [locations, baudrate] : {std::pair{where, "4"}, {beside, "7"}}) {
        SettingsStore next(locations);
        QVERIFY(next.OpenSettingsKeys());
        QCOMPARE(next.ReadMachineSetting("NMEA", "baudrate"), QString(baudrate));
        QCOMPARE(next.ReadUserSetting("Views", "Freeze"), QString("True"));
    }
}

// No settings where the person's file should be (a folder no one can create, root included, or a
// folder by the file's name): the program runs on its defaults and keeps nothing.
void TestSettingsStore::userLocationUnusable()
{
    QTemporaryDir dir;
    SettingsStore::Locations where = SettingsIn(dir);
    QVERIFY(QDir().mkpath(where.UserFile));
    Put(dir.filePath(QStringLiteral("blocker")), "x");
    for (const QString& user : {where.UserFile, dir.filePath(QStringLiteral("blocker/Quarvel/DevozOra.conf"))}) {
        where.UserFile = user;
        SettingsStore store(where);
        QVERIFY(!store.OpenSettingsKeys());
        QVERIFY2(store.OpenFailure().contains(user) && store.OpenFailure().contains(user.contains("blocker") ? "blocker is not a folder" : "it is a folder"),
                 qPrintable(store.OpenFailure()));
        store.WriteUserSetting("Views", "Base", "2");
        QCOMPARE(store.ReadUserSetting("Views", "Base", Absent), Absent);
    }
}

void TestSettingsStore::unwritableUserFileIsSaid_data()
{
    QTest::addColumn<bool>("folder"); // the file's folder is read-only, not the file
    QTest::newRow("read-only file") << false;
    QTest::newRow("read-only folder") << true;
}

// A person's own file that cannot be written: said at once with the path and the system's reason,
// not again while it stays so, the changes kept for when it can be written, and said again then.
void TestSettingsStore::unwritableUserFileIsSaid()
{
    if (!ModeBitsBind)
        return RunAsUnprivilegedUser();
    QFETCH(bool, folder);
    QTemporaryDir dir;
    const SettingsStore::Locations where = SettingsIn(dir);
    Put(where.UserFile, "[Views]\nBase=0\n");
    const QByteArray before = Contents(where.UserFile);
    auto locked = std::make_unique<WriteProtected>(folder ? FolderOf(where.UserFile) : where.UserFile);
    SettingsStore store(where);
    QVERIFY(store.OpenSettingsKeys());
    const QString reason = folder ? QStringLiteral("its folder %1: Permission denied").arg(FolderOf(where.UserFile))
                                  : QStringLiteral("Permission denied");
    QCOMPARE(store.WriteProblem(), QStringLiteral("The settings cannot be written to %1 (%2); changes are kept only until the "
                                                  "program ends, unless it can be written by then.").arg(where.UserFile, reason));
    QStringList told;
    store.SetWriteReport([&told](const QString& message) { told << message; });
    for (const char* base : {"1", "2"}) {
        store.WriteUserSetting("Views", "Base", base);
        store.Flush();
    }
    QCOMPARE(told, QStringList());
    QCOMPARE(Contents(where.UserFile), before);
    locked.reset();
    store.WriteUserSetting("Views", "Freeze", "True");
    store.Flush();
    QCOMPARE(told, QStringList{QStringLiteral("The settings are written to %1 again.").arg(where.UserFile)});
    QVERIFY(store.WriteProblem().isEmpty());
    QCOMPARE(Contents(where.UserFile), QByteArray("[Views]\nBase=2\nFreeze=True\n"));
}

// The user's file under XDG_CONFIG_HOME, the machine-wide one in the first absolute folder of
// XDG_CONFIG_DIRS, and the usual places where they are not set.
void TestSettingsStore::defaultLocations()
{
    const QByteArray savedHome = qgetenv("XDG_CONFIG_HOME");
    const QByteArray savedDirs = qgetenv("XDG_CONFIG_DIRS");
    const auto set = [](const char* name, const QByteArray& value) { value.isNull() ? qunsetenv(name) : qputenv(name, value); };
    const auto restore = qScopeGuard([&] {
        set("XDG_CONFIG_HOME", savedHome);
        set("XDG_CONFIG_DIRS", savedDirs);
    });
    const struct { QByteArray Home, Dirs; QString UserFolder, MachineFolder; } cases[] = {
        {"/x/cfg", "/y/xdg:/z", "/x/cfg", "/y/xdg"},
        {"/x/cfg", "rel/xdg::/z", "/x/cfg", "/z"},
        {QByteArray(), QByteArray(), QDir::homePath() + QStringLiteral("/.config"), "/etc/xdg"}};
    for (const auto& [home, dirs, userFolder, machineFolder] : cases) {
        set("XDG_CONFIG_HOME", home);
        set("XDG_CONFIG_DIRS", dirs);
        const SettingsStore::Locations where = SettingsStore::DefaultLocations();
        QCOMPARE(where.UserFile, userFolder + QStringLiteral("/Quarvel/DevozOra.conf"));
        QCOMPARE(where.MachineFile, machineFolder + QStringLiteral("/Quarvel/DevozOra.conf"));
        QCOMPARE(where.MachineFallbackFile, userFolder + QStringLiteral("/Quarvel/DevozOra-machine.conf"));
    }
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
