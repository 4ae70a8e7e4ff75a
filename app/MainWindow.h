#pragma once

#include "AutoBrightness.h"
#include "InstrumentHost.h"
#include "InstrumentWindows.h"
#include "Station.h"

#include <QPalette>
#include <QTimer>
#include <QWidget>

#include <array>
#include <vector>

class ReceptionIndicator;
class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QRadioButton;
class QTabWidget;
class SettingsStore;
struct NavState;
struct StationGlance;

// The main window: carries every setting on three tabs ("Windows", "NMEA", "Local"), holds the
// station (the input with its watchdog and the servers for plotters) and shows it, restores the
// settings at start-up and writes them back shortly after every change and when it closes. It
// shows no navigation data itself, only how the station is doing at a glance and which
// brightness "Auto" chose from the sun; it is dimmed with the instruments.
class MainWindow : public QWidget, public InstrumentHost {
    Q_OBJECT

public:
    // Check boxes of the "Windows" tab; box 7, "Analog Speed", has no window and stays disabled.
    static constexpr int ActiveWindowCount = 7;

    MainWindow(NavState& nav, SettingsStore& store, ServerPorts ports = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Restores every setting, starts the watchdog and opens the serial port once.
    void StartUp();
    // Stops the input, closes the instrument windows and writes every setting back. Runs once,
    // when the window closes.
    void ShutDown();

    // A change reaches the settings file this long after the last change before it: a burst of
    // changes (a window dragged across the screen) costs one write, and an ending that nobody
    // announces (a power cut, kill -9, a lost display) loses at most that much.
    static constexpr int SaveDelayMs = 1000;

    ::Station& Station() { return Serving; }
    NmeaReceiver& Receiver() { return Serving.Receiver(); }
    GpsdServer& Server() { return Serving.Gpsd(); }
    // Null while "NMEA"/"TcpPort" is 0.
    NmeaTcpServer* NmeaServer() { return Serving.NmeaServer(); }
    const InstrumentWindows& Instruments() const { return Windows; }

    // What the instrument windows read from the main window.
    Brightness CurrentBrightness() const override;
    void StepBrightness(int steps) override;
    QString UtcDifferenceText() const override;
    bool DaylightSavingTicked() const override;
    bool LocalTimeSelected() const override;
    void InstrumentWindowClosed(int number) override;
    void WriteUserSetting(const QString& subkey, const QString& name, const QString& text) override;

signals:
    // The windows are lit in another mode now ("Daylight", "Shade", "Dusk" or "Night"), chosen in
    // the list or by "Auto".
    void BrightnessApplied(const QString& mode);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildWindowsTab(QWidget* tab);
    void BuildNmeaTab(QWidget* tab);
    void BuildLocalTab(QWidget* tab);
    // Builders of the controls, placed in twips within their frame.
    QGroupBox* AddFrame(QWidget* tab, const QString& title, int top, int height);
    QLabel* AddCaption(QWidget* parent, const QString& text, int left, int top, int width);
    QCheckBox* AddCheckBox(QWidget* parent, const QString& name, const QString& caption, int left,
                           int top, int width);
    QComboBox* AddList(QWidget* parent, const QString& name, const QString& label, int left, int top,
                       int width, int labelLeft, int labelWidth);
    // Positions a control in twips relative to its parent, as the window was designed.
    void Place(QWidget* widget, int left, int top, int width, int height) const;

    // A list setting: where it is kept, its list and the list's entries.
    struct ListSetting {
        bool Machine;
        QString Subkey;
        QString Name;
        QComboBox* List;
        QStringList Entries;
        int Default = 0; // the position of a first run, and of a stored one outside the list
    };
    std::vector<ListSetting> ListSettings() const;
    // A check box setting; those of the window behaviour come back after the windows, so that
    // they act on them.
    struct FlagSetting {
        bool Machine;
        QString Subkey;
        QString Name;
        QAbstractButton* Box;
        bool AfterWindows;
    };
    std::vector<FlagSetting> FlagSettings() const;
    void RestoreFlags(bool afterWindows);
    QString ReadSetting(bool machine, const QString& subkey, const QString& name, const QString& defaultText = {}) const;
    void StoreSetting(bool machine, const QString& subkey, const QString& name, const QString& text);

    void RestoreSettings();
    void RestoreWindows();
    void SettingChanged();
    void WriteSettings();
    void SaveSettings();
    void ActiveWindowClicked(int number);
    void AlwaysOnTopChanged();
    void SerialListChanged();
    // Lights every open window as the brightness list, "Auto" and the red night palette say, when
    // that has changed; windows opened later are lit so when they open.
    void ApplyBrightness();
    // The station's web page is shown as the windows are: their level, red palette and time.
    void TellLook();
    void FollowSun();
    void ShowAutoChoice();
    // The window itself, lit as the instruments are (MainWindowBrightness.cpp).
    void ApplyLook(const Brightness& brightness);
    // The entry "Auto" of the baud-rate list says which rate it found.
    void ShowFoundBaudRate();
    void FreezeChanged();
    WindowBehaviour Behaviour() const;
    void WatchScreens();
    void ShowInputScreening();
    void ShowPortDevice();
    // The servers' part of the at-a-glance lines (MainWindowServers.cpp).
    void FillServerGlance(StationGlance& glance);
    // The bottom line: the version, or what keeps the settings from being written or a server from
    // listening, or for a while that the settings are written again.
    void ShowStatusLine();

    NavState& Nav;
    SettingsStore& Settings;
    ::Station Serving;
    InstrumentWindows Windows;
    double TwipsPerPixelX = 15;
    double TwipsPerPixelY = 15;
    QTimer SaveTimer;
    AutoBrightness Sun;
    Brightness Applied;
    bool StartedUp = false;
    bool ShutDownDone = false;
    bool ScreeningStale = false; // lines came while the box could not be seen
    QString SettingsNews;        // that the settings are written again, shown for a while
    QTimer SettingsNewsTimer;

    QTabWidget* Tabs = nullptr;
    std::array<QCheckBox*, ActiveWindowCount + 1> ActiveWindow{}; // 1..7; slot 0 unused
    QCheckBox* AlwaysOnTop = nullptr;
    QCheckBox* Freeze = nullptr;
    QComboBox* PortNumber = nullptr;
    QComboBox* Baudrate = nullptr;
    QComboBox* WordBits = nullptr;
    QComboBox* StopBits = nullptr;
    QComboBox* Parity = nullptr;
    QComboBox* HandShake = nullptr;
    QLabel* PortDevice = nullptr;
    ReceptionIndicator* Reception = nullptr;
    QPlainTextEdit* InputScreening = nullptr;
    QComboBox* UtcDifference = nullptr;
    std::array<QRadioButton*, 3> TimeDisplay{}; // 1 "Local Time", 2 "UTC"; slot 0 unused
    QCheckBox* DaylightSaving = nullptr;
    QComboBox* BrightnessMode = nullptr;
    QLabel* AutoChoice = nullptr;
    QCheckBox* NightRed = nullptr;
    QLabel* StatusLine = nullptr;
    // The desktop's own look of popups and tooltips, which they have by day.
    QPalette DaylightMenuPalette;
    QPalette DaylightToolTipPalette;
};
