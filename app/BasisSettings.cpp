// Start-up and shutdown of the main window: the lists are filled, every setting is restored by
// setting its control (which runs the control's own handler), and written back at the end.
#include "Basis.h"

#include "FlagText.h"
#include "NavState.h"
#include "OptionLists.h"
#include "Registry.h"

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

QString FlagText(bool flag)
{
    return QString::fromLatin1(Bool2Text(flag).data());
}

// Fills a list and selects its stored position; a position outside the list (a hand-edited file,
// or the "-1" of a list that had no selection) falls back to the first entry.
void FillAndSelect(QComboBox* list, const QStringList& entries, const QString& stored)
{
    {
        const QSignalBlocker quiet(list);
        list->clear();
        list->addItems(entries);
        list->setCurrentIndex(-1);
    }
    const int position = Registry::SettingNumber(stored);
    list->setCurrentIndex(position >= 0 && position < list->count() ? position : 0);
}

} // namespace

void Basis::StartUp()
{
    Nav.SetGpsdPlaceholders();
    // Machine-wide: how many plotters and programs on board may take the position at once.
    Gpsd.SetMaxClients(Registry::SettingNumber(
        Settings.ReadMachineSetting(QStringLiteral("GPSD"), QStringLiteral("MaxClients"), QStringLiteral("1"))));
    // Machine-wide: "True" reads the GPS talker only, for a receiver whose other talkers mislead.
    Input.Link().Interpreter().SetTalkersGpOnly(
        Registry::ReadFlag(Settings.ReadMachineSetting(Nmea, QStringLiteral("TalkersGPOnly"))));
    for (int port = 1; port <= SerialPortCount; ++port) {
        const QString device = Settings.ReadMachineSetting(Nmea, QStringLiteral("Device%1").arg(port));
        Input.Link().Devices().SetOverride(port, device);
    }
    RestoreSettings();
    Input.Start();
    RestoreWindows();
    TabBladen->setCurrentIndex(0);
}

void Basis::RestoreSettings()
{
    FillAndSelect(LocalUTChours, UtcDifferenceEntries(), Settings.ReadMachineSetting(Local, QStringLiteral("UTChours")));
    DaylightSaving->setChecked(Registry::ReadFlag(Settings.ReadMachineSetting(Local, QStringLiteral("DaylightSaving"))));
    const int display = Registry::SettingNumber(Settings.ReadMachineSetting(Local, QStringLiteral("TimeDisplay"), QStringLiteral("2")));
    Local_UTC[display == 1 ? 1 : 2]->setChecked(true);
    FillAndSelect(BrightnessMode, BrightnessEntries(), Settings.ReadUserSetting(Local, QStringLiteral("BrightnessMode")));

    QStringList ports;
    for (int index = 0; index < SerialPortCount; ++index)
        ports << QString::fromStdString(PortText(index));
    FillAndSelect(Portnumber, ports, Settings.ReadMachineSetting(Nmea, QStringLiteral("COMport")));
    FillAndSelect(Baudrate, Texts(BaudRateTexts), Settings.ReadMachineSetting(Nmea, QStringLiteral("Baudrate")));
    FillAndSelect(WordBits, Texts(WordBitsTexts), Settings.ReadMachineSetting(Nmea, QStringLiteral("Wordbits")));
    FillAndSelect(StopBits, Texts(StopBitsTexts), Settings.ReadMachineSetting(Nmea, QStringLiteral("StopBits")));
    FillAndSelect(Parity, Texts(ParityTexts), Settings.ReadMachineSetting(Nmea, QStringLiteral("Parity")));
    FillAndSelect(HandShake, Texts(HandShakeTexts), Settings.ReadMachineSetting(Nmea, QStringLiteral("HandShake")));

}

// The windows open at the last exit come back first, so that "Freeze position" and "Always on top"
// then act on them.
void Basis::RestoreWindows()
{
    for (int n = 1; n <= InstrumentWindows::Count; ++n) {
        if (Registry::ReadFlag(Settings.ReadUserSetting(Views, QStringLiteral("Active%1").arg(n))))
            ActiveWindow[static_cast<std::size_t>(n)]->setChecked(true);
    }
    Freeze->setChecked(Registry::ReadFlag(Settings.ReadUserSetting(Views, QStringLiteral("Freeze"))));
    AlwaysOnTop->setChecked(Registry::ReadFlag(Settings.ReadUserSetting(Views, QStringLiteral("AlwaysOnTop"))));
    switch (Registry::SettingNumber(Settings.ReadUserSetting(Views, QStringLiteral("Base")))) {
    case 1: setWindowState(Qt::WindowMinimized); break;
    case 2: setWindowState(Qt::WindowMaximized); break;
    default: setWindowState(Qt::WindowNoState); break;
    }
}

void Basis::ShutDown()
{
    if (ShutDownDone)
        return;
    ShutDownDone = true;
    Input.Stop();
    SaveSettings();
}

void Basis::SaveSettings()
{
    // Each open window's flag is written before it closes, because closing unticks its box.
    for (int n = 1; n <= InstrumentWindows::Count; ++n) {
        const bool open = Windows.IsOpen(n);
        Settings.WriteUserSetting(Views, QStringLiteral("Active%1").arg(n), FlagText(open));
        Windows.Close(n);
    }
    Settings.WriteUserSetting(Views, QStringLiteral("Freeze"), FlagText(Freeze->isChecked()));
    Settings.WriteUserSetting(Views, QStringLiteral("AlwaysOnTop"), FlagText(AlwaysOnTop->isChecked()));
    const int state = windowState() & Qt::WindowMinimized ? 1 : windowState() & Qt::WindowMaximized ? 2 : 0;
    Settings.WriteUserSetting(Views, QStringLiteral("Base"), QString::number(state));
    Settings.WriteUserSetting(Local, QStringLiteral("BrightnessMode"), QString::number(BrightnessMode->currentIndex()));
    Settings.WriteMachineSetting(Local, QStringLiteral("UTChours"), QString::number(LocalUTChours->currentIndex()));
    Settings.WriteMachineSetting(Local, QStringLiteral("DaylightSaving"), FlagText(DaylightSaving->isChecked()));
    if (Local_UTC[1]->isChecked())
        Settings.WriteMachineSetting(Local, QStringLiteral("TimeDisplay"), QStringLiteral("1"));
    if (Local_UTC[2]->isChecked())
        Settings.WriteMachineSetting(Local, QStringLiteral("TimeDisplay"), QStringLiteral("2"));
    const std::pair<const char*, QComboBox*> serialLists[] = {
        {"COMport", Portnumber}, {"Baudrate", Baudrate}, {"WordBits", WordBits},
        {"StopBits", StopBits},  {"Parity", Parity},     {"HandShake", HandShake}};
    for (const auto& [name, list] : serialLists)
        Settings.WriteMachineSetting(Nmea, QString::fromLatin1(name), QString::number(list->currentIndex()));
}
