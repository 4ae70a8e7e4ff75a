// Start-up and shutdown of the main window with a settings folder of its own and a receiver on a
// pseudo-terminal: what is restored, how often the port opens, what is written back.
#include "../../nmea/tests/FakeReceiver.h"
#include "Basis.h"
#include "IndicatorLed.h"
#include "NavState.h"
#include "Registry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int WaitMs = 10000;

Registry::Locations SettingsIn(const QTemporaryDir& dir)
{
    return {dir.filePath(QStringLiteral("user/DevozOra.conf")),
            dir.filePath(QStringLiteral("machine/DevozOra.conf")),
            dir.filePath(QStringLiteral("user/DevozOra-machine.conf"))};
}

QString Selected(Basis& basis, const char* name)
{
    return basis.findChild<QComboBox*>(QString::fromLatin1(name))->currentText();
}

} // namespace

class TestBasis : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void firstRunStartsFromDefaults();
    void storedSettingsAreRestoredAndThePortOpensOnce();
    void outOfRangePositionsFallBack_data();
    void outOfRangePositionsFallBack();
    void changesAndShutdownWriteEverySettingWhereItBelongs();

private:
    std::unique_ptr<QTemporaryDir> Dir;
    std::unique_ptr<FakeReceiver> Receiver;
};

void TestBasis::init()
{
    Dir = std::make_unique<QTemporaryDir>();
    QVERIFY(Dir->isValid());
    Receiver = std::make_unique<FakeReceiver>(Dir->filePath(QStringLiteral("gps")));
    QVERIFY(Receiver->IsValid());
}

void TestBasis::cleanup()
{
    Receiver.reset();
    Dir.reset();
}

void TestBasis::firstRunStartsFromDefaults()
{
    NavState nav;
    Registry registry(SettingsIn(*Dir));
    QVERIFY(registry.OpenSettingsKeys());
    Basis basis(nav, registry, 0);
    basis.StartUp();
    QCOMPARE(Selected(basis, "Portnumber"), QString("COM1"));
    QCOMPARE(Selected(basis, "Baudrate"), QString("300"));
    QCOMPARE(Selected(basis, "WordBits"), QString("6"));
    QCOMPARE(Selected(basis, "StopBits"), QString("1"));
    QCOMPARE(Selected(basis, "Parity"), QString("none"));
    QCOMPARE(Selected(basis, "HandShake"), QString("none"));
    QCOMPARE(Selected(basis, "LocalUTChours"), QString("AUTO"));
    QCOMPARE(Selected(basis, "BrightnessMode"), QString("Daylight"));
    QCOMPARE(basis.findChild<QComboBox*>("LocalUTChours")->count(), 35);
    QVERIFY(basis.findChild<QRadioButton*>("Local_UTC2")->isChecked());
    QVERIFY(!basis.findChild<QCheckBox*>("ActiveWindow7")->isEnabled());
    QCOMPARE(basis.findChild<QTabWidget*>("TabBladen")->currentIndex(), 0);
    QCOMPARE(basis.windowState(), Qt::WindowNoState);
    QCOMPARE(nav.TimeError, 0.005f);
    QCOMPARE(nav.ClimbText, std::string("?"));
}

void TestBasis::storedSettingsAreRestoredAndThePortOpensOnce()
{
    {
        Registry setup(SettingsIn(*Dir));
        QVERIFY(setup.OpenSettingsKeys());
        setup.WriteMachineSetting("NMEA", "Device1", Dir->filePath(QStringLiteral("gps")));
        setup.WriteMachineSetting("NMEA", "Baudrate", "4");
        setup.WriteMachineSetting("NMEA", "WordBits", "2");
        setup.WriteMachineSetting("Local", "UTChours", "24");
        setup.WriteMachineSetting("Local", "TimeDisplay", "1");
        setup.WriteMachineSetting("Local", "DaylightSaving", "TRUE");
        setup.WriteUserSetting("Local", "BrightnessMode", "3");
    }
    NavState nav;
    Registry registry(SettingsIn(*Dir));
    QVERIFY(registry.OpenSettingsKeys());
    Basis basis(nav, registry, 0);
    QSignalSpy opened(&basis.Receiver().Link(), &SerialLink::PortOpened);
    basis.StartUp();
    QCOMPARE(opened.count(), 1);
    QCOMPARE(Selected(basis, "Baudrate"), QString("4800"));
    QCOMPARE(Selected(basis, "WordBits"), QString("8"));
    QCOMPARE(Selected(basis, "LocalUTChours"), QString("+5:45"));
    QCOMPARE(Selected(basis, "BrightnessMode"), QString("Night"));
    QVERIFY(basis.findChild<QRadioButton*>("Local_UTC1")->isChecked());
    QVERIFY(basis.findChild<QCheckBox*>("DaylightSaving")->isChecked());
    QVERIFY(basis.Receiver().Link().IsOpen());

    // Sentences flow from the receiver into NavState.
    QVERIFY(Receiver->SendSentence("GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W"));
    QTRY_VERIFY_WITH_TIMEOUT(nav.FixValid, WaitMs);
    // The window's indicator goes green with the next characters after a recognised line, and the
    // watchdog's tick blinks it black.
    auto* indicator = basis.findChild<IndicatorLed*>("OntvangstLED");
    QVERIFY(Receiver->SendSentence("GPTXT,01,01,02,ANTSTATUS=OK"));
    QTRY_COMPARE_WITH_TIMEOUT(indicator->Colour(), IndicatorColour::Green, WaitMs);
    basis.Receiver().Watchdog().Tick();
    QCOMPARE(indicator->Colour(), IndicatorColour::Black);
    // Any serial list change reopens the port once, with the whole selection.
    basis.findChild<QComboBox*>("Baudrate")->setCurrentIndex(5);
    QCOMPARE(opened.count(), 2);
    QCOMPARE(QString::fromStdString(SettingsText(basis.Receiver().Link().Settings())), QString("9600,n,8,1"));
}

void TestBasis::outOfRangePositionsFallBack_data()
{
    QTest::addColumn<QString>("stored");
    QTest::newRow("no selection") << "-1";
    QTest::newRow("beyond the list") << "99";
    QTest::newRow("far beyond, in exponent form") << "1e9";
}

void TestBasis::outOfRangePositionsFallBack()
{
    QFETCH(QString, stored);
    {
        Registry setup(SettingsIn(*Dir));
        QVERIFY(setup.OpenSettingsKeys());
        for (const char* name : {"COMport", "Baudrate", "Wordbits", "StopBits", "Parity", "HandShake"})
            setup.WriteMachineSetting("NMEA", name, stored);
        setup.WriteMachineSetting("Local", "UTChours", stored);
        setup.WriteMachineSetting("Local", "TimeDisplay", stored);
        setup.WriteUserSetting("Local", "BrightnessMode", stored);
        setup.WriteUserSetting("Views", "Base", stored);
    }
    NavState nav;
    Registry registry(SettingsIn(*Dir));
    QVERIFY(registry.OpenSettingsKeys());
    Basis basis(nav, registry, 0);
    basis.StartUp();
    for (const char* name : {"Portnumber", "Baudrate", "WordBits", "StopBits", "Parity", "HandShake",
                             "LocalUTChours", "BrightnessMode"})
        QCOMPARE(basis.findChild<QComboBox*>(name)->currentIndex(), 0);
    QVERIFY(basis.findChild<QRadioButton*>("Local_UTC2")->isChecked());
    QCOMPARE(basis.windowState(), Qt::WindowNoState);
}

// A change reaches the file a moment after it is made, without waiting for the end; the end
// writes every setting, each to its own scope.
void TestBasis::changesAndShutdownWriteEverySettingWhereItBelongs()
{
    NavState nav;
    Registry registry(SettingsIn(*Dir));
    QVERIFY(registry.OpenSettingsKeys());
    const auto inFile = [this](bool machine, const char* subkey, const char* name) {
        Registry file(SettingsIn(*Dir));
        return !file.OpenSettingsKeys() ? QString() : machine ? file.ReadMachineSetting(subkey, name) : file.ReadUserSetting(subkey, name);
    };
    {
        Basis basis(nav, registry, 0);
        basis.StartUp();
        basis.findChild<QComboBox*>("Parity")->setCurrentIndex(4);
        basis.findChild<QComboBox*>("BrightnessMode")->setCurrentIndex(2);
        QTRY_COMPARE(inFile(true, "NMEA", "Parity"), QString("4"));
        QCOMPARE(inFile(false, "Local", "BrightnessMode"), QString("2"));
        basis.findChild<QComboBox*>("WordBits")->setCurrentIndex(2);
        basis.findChild<QCheckBox*>("Freeze")->setChecked(true);
        basis.close();
        QVERIFY(!basis.Receiver().Link().IsOpen());
    }
    QCOMPARE(inFile(true, "NMEA", "Wordbits"), QString("2"));
    QCOMPARE(inFile(false, "Views", "Freeze"), QString("True"));
    QCOMPARE(registry.ReadMachineSetting("NMEA", "COMport"), QString("0"));
    QCOMPARE(registry.ReadMachineSetting("Local", "TimeDisplay"), QString("2"));
    QCOMPARE(registry.ReadMachineSetting("Local", "DaylightSaving"), QString("False"));
    QCOMPARE(registry.ReadMachineSetting("Local", "UTChours"), QString("0"));
    QCOMPARE(registry.ReadUserSetting("Views", "AlwaysOnTop"), QString("False"));
    QCOMPARE(registry.ReadUserSetting("Views", "Base"), QString("0"));
    for (int n = 1; n <= 6; ++n)
        QCOMPARE(registry.ReadUserSetting("Views", QStringLiteral("Active%1").arg(n)), QString("False"));
    // Each value lives in its own scope only.
    QCOMPARE(registry.ReadUserSetting("NMEA", "Parity"), QString());
    QCOMPARE(registry.ReadMachineSetting("Local", "BrightnessMode"), QString());
}

QTEST_MAIN(TestBasis)
#include "tst_basis.moc"
