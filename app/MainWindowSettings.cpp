// Start-up and shutdown of the main window: the lists are filled, every setting is restored by
// setting its control (which runs the control's own handler), and written back: shortly after
// every change, and at the end.
#include "MainWindow.h"

#include "FlagText.h"
#include "OptionLists.h"
#include "SettingsStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>

namespace {

const QString Views = QStringLiteral("Views");
const QString Local = QStringLiteral("Local");
const QString Nmea = QStringLiteral("NMEA");

QStringList Texts(const auto& table)
{
    QStringList texts;
    for (std::string_view text : table)
        texts << QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    return texts;
}

QString FlagValue(bool flag)
{
    return QString::fromLatin1(FlagText(flag).data());
}

QStringList PortEntries()
{
    QStringList ports;
    for (int index = 0; index < SerialPortCount; ++index)
        ports << QString::fromStdString(PortText(index));
    return ports;
}

} // namespace

// Every list setting, in the order start-up restores it. Start-up reads the data bits as
// "Wordbits" and shutdown writes "WordBits": names match without regard to case. The serial lists
// start where a receiver is found without any setting.
std::vector<MainWindow::ListSetting> MainWindow::ListSettings() const
{
    const SerialSettings firstRun;
    return {{true, Local, QStringLiteral("UTChours"), UtcDifference, UtcDifferenceEntries()},
            {false, Local, QStringLiteral("BrightnessMode"), BrightnessMode, BrightnessEntries()},
            {true, Nmea, QStringLiteral("COMport"), PortNumber, PortEntries(), firstRun.PortIndex},
            {true, Nmea, QStringLiteral("Baudrate"), Baudrate, Texts(BaudRateTexts), firstRun.BaudIndex},
            {true, Nmea, QStringLiteral("WordBits"), WordBits, Texts(WordBitsTexts), firstRun.WordBitsIndex},
            {true, Nmea, QStringLiteral("StopBits"), StopBits, Texts(StopBitsTexts), firstRun.StopBitsIndex},
            {true, Nmea, QStringLiteral("Parity"), Parity, Texts(ParityTexts), firstRun.ParityIndex},
            {true, Nmea, QStringLiteral("HandShake"), HandShake, Texts(HandShakeTexts), firstRun.HandShakeIndex}};
}

// Every check box setting, each in its scope.
std::vector<MainWindow::FlagSetting> MainWindow::FlagSettings() const
{
    return {{true, Local, QStringLiteral("DaylightSaving"), DaylightSaving, false},
            {false, Local, QStringLiteral("NightRed"), NightRed, false},
            {false, Views, QStringLiteral("Freeze"), Freeze, true},
            {false, Views, QStringLiteral("AlwaysOnTop"), AlwaysOnTop, true}};
}

QString MainWindow::ReadSetting(bool machine, const QString& subkey, const QString& name, const QString& defaultText) const
{
    return machine ? Settings.ReadMachineSetting(subkey, name, defaultText) : Settings.ReadUserSetting(subkey, name, defaultText);
}

void MainWindow::StoreSetting(bool machine, const QString& subkey, const QString& name, const QString& text)
{
    if (machine)
        Settings.WriteMachineSetting(subkey, name, text);
    else
        Settings.WriteUserSetting(subkey, name, text);
}

void MainWindow::StartUp()
{
    Serving.Configure();
    RestoreSettings();
    Serving.Start();
    RestoreWindows();
    Tabs->setCurrentIndex(0);
    StartedUp = true;
}

// A stored position outside its list (a hand-edited file, or the "-1" of a list that had no
// selection) falls back to the list's first-run entry.
void MainWindow::RestoreSettings()
{
    for (const ListSetting& setting : ListSettings()) {
        {
            const QSignalBlocker quiet(setting.List);
            setting.List->clear();
            setting.List->addItems(setting.Entries);
            setting.List->setCurrentIndex(-1);
        }
        const QString stored = ReadSetting(setting.Machine, setting.Subkey, setting.Name);
        setting.List->setCurrentIndex(SettingsStore::SettingNumber(stored, 0, setting.List->count() - 1, setting.Default));
    }
    RestoreFlags(false);
    const QString display = Settings.ReadMachineSetting(Local, QStringLiteral("TimeDisplay"));
    TimeDisplay[static_cast<std::size_t>(SettingsStore::SettingNumber(display, 1, 2, 2))]->setChecked(true);
}

// The windows open at the last exit come back together, laid out as one, with the behaviour the
// boxes "Freeze position" and "Always on top" had. The main window never comes back minimised:
// without a taskbar nobody would find it again.
void MainWindow::RestoreWindows()
{
    RestoreFlags(true);
    QList<int> numbers;
    for (int n = 1; n <= InstrumentWindows::Count; ++n) {
        if (SettingsStore::ReadFlag(Settings.ReadUserSetting(Views, QStringLiteral("Active%1").arg(n))))
            numbers << n;
    }
    if (const std::optional<QPoint> place = Windows.Open(numbers, CurrentBrightness(), Behaviour()))
        move(*place);
    for (const int n : numbers)
        ActiveWindow[static_cast<std::size_t>(n)]->setChecked(true);
    const bool maximised = SettingsStore::SettingNumber(Settings.ReadUserSetting(Views, QStringLiteral("Base")), 0, 2, 0) == 2;
    setWindowState(maximised ? Qt::WindowMaximized : Qt::WindowNoState);
}

void MainWindow::RestoreFlags(bool afterWindows)
{
    for (const FlagSetting& flag : FlagSettings()) {
        if (flag.AfterWindows == afterWindows)
            flag.Box->setChecked(SettingsStore::ReadFlag(ReadSetting(flag.Machine, flag.Subkey, flag.Name)));
    }
}

void MainWindow::SettingChanged()
{
    if (StartedUp && !ShutDownDone)
        SaveTimer.start();
}

void MainWindow::SaveSettings()
{
    WriteSettings();
    Settings.Flush();
}

void MainWindow::ShutDown()
{
    if (ShutDownDone)
        return;
    ShutDownDone = true;
    SaveTimer.stop();
    Serving.Stop();
    // Each open window's flag is written before it closes, because closing unticks its box; a
    // closing window writes its own place and size.
    WriteSettings();
    for (int n = 1; n <= InstrumentWindows::Count; ++n)
        Windows.Close(n);
    Settings.Flush();
}

void MainWindow::WriteSettings()
{
    for (int n = 1; n <= InstrumentWindows::Count; ++n)
        Settings.WriteUserSetting(Views, QStringLiteral("Active%1").arg(n), FlagValue(Windows.IsOpen(n)));
    const int state = windowState() & Qt::WindowMinimized ? 1 : windowState() & Qt::WindowMaximized ? 2 : 0;
    Settings.WriteUserSetting(Views, QStringLiteral("Base"), QString::number(state));
    for (const ListSetting& setting : ListSettings())
        StoreSetting(setting.Machine, setting.Subkey, setting.Name, QString::number(setting.List->currentIndex()));
    for (const FlagSetting& flag : FlagSettings())
        StoreSetting(flag.Machine, flag.Subkey, flag.Name, FlagValue(flag.Box->isChecked()));
    Settings.WriteMachineSetting(Local, QStringLiteral("TimeDisplay"), TimeDisplay[1]->isChecked() ? QStringLiteral("1") : QStringLiteral("2"));
}
