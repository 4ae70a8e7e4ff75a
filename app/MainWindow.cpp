#include "MainWindow.h"

#include "InstrumentWindow.h"
#include "NavState.h"
#include "PathLine.h"
#include "ReceptionIndicator.h"
#include "SettingsStore.h"
#include "Twips.h"
#include "WindowBand.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QToolTip>

namespace {

constexpr int ClientWidthTwips = 6855;
// The version line at the bottom reaches 4927 twips; the window is as tall as that, so that the
// line is not cut off.
constexpr int ClientHeightTwips = 4927;
// How long the bottom line says that the settings are written again.
constexpr int SettingsNewsMs = 15000;

} // namespace

MainWindow::MainWindow(NavState& nav, SettingsStore& store, ServerPorts ports, QWidget* parent)
    : QWidget(parent), Nav(nav), Settings(store), Serving(nav, store, ports), Windows(nav, *this, store, *this)
{
    setWindowTitle(QStringLiteral("Quarvel Vexo Devozora"));
    DaylightMenuPalette = QApplication::palette("QMenu");
    DaylightToolTipPalette = QToolTip::palette();
    if (const QScreen* screen = this->screen()) {
        TwipsPerPixelX = TwipsPerPixel(screen->logicalDotsPerInchX());
        TwipsPerPixelY = TwipsPerPixel(screen->logicalDotsPerInchY());
    }
    setFixedSize(TwipsToPixels(ClientWidthTwips, TwipsPerPixelX),
                 TwipsToPixels(ClientHeightTwips, TwipsPerPixelY));

    Tabs = new QTabWidget(this);
    Tabs->setObjectName(QStringLiteral("Tabs"));
    QFont tabFont(QStringLiteral("Arial"));
    tabFont.setPointSizeF(9.75);
    Tabs->setFont(tabFont);
    Place(Tabs, 120, 120, 6615, 4575);
    auto* windowsTab = new QWidget;
    auto* nmeaTab = new QWidget;
    auto* localTab = new QWidget;
    Tabs->addTab(windowsTab, QStringLiteral("Windows"));
    Tabs->addTab(nmeaTab, QStringLiteral("NMEA"));
    Tabs->addTab(localTab, QStringLiteral("Local"));
    BuildWindowsTab(windowsTab);
    BuildNmeaTab(nmeaTab);
    BuildLocalTab(localTab);

    StatusLine = new QLabel(this);
    StatusLine->setObjectName(QStringLiteral("StatusLine"));
    QFont statusFont(QStringLiteral("Arial"));
    statusFont.setPointSizeF(8.25);
    StatusLine->setFont(statusFont);
    StatusLine->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Place(StatusLine, 0, 4672, 6855, 255);
    SettingsNewsTimer.setSingleShot(true);
    SettingsNewsTimer.setInterval(SettingsNewsMs);
    connect(&SettingsNewsTimer, &QTimer::timeout, this, [this] {
        SettingsNews.clear();
        ShowStatusLine();
    });
    Settings.SetWriteReport([this](const QString& message) {
        SettingsNews = Settings.WriteProblem().isEmpty() ? message : QString();
        SettingsNewsTimer.start();
        ShowStatusLine();
    });
    ShowStatusLine();

    Serving.SetOnScreen(true);
    SerialLink& link = Serving.Receiver().Link();
    connect(&Serving, &Station::ReceptionColourChanged, Reception, &ReceptionIndicator::SetColour);
    connect(&link, &SerialLink::InputScreeningChanged, this, &MainWindow::ShowInputScreening);
    InputScreening->installEventFilter(this);
    connect(&Serving, &Station::DeviceChanged, this, &MainWindow::ShowPortDevice);
    connect(&Serving, &Station::ServersChanged, this, &MainWindow::ShowStatusLine);
    connect(&link, &SerialLink::FoundBaudRateChanged, this, &MainWindow::ShowFoundBaudRate);
    for (QComboBox* list : {PortNumber, Baudrate, WordBits, StopBits, Parity, HandShake})
        connect(list, &QComboBox::currentIndexChanged, this, &MainWindow::SerialListChanged);
    WatchScreens();
    connect(BrightnessMode, &QComboBox::currentIndexChanged, this, &MainWindow::ApplyBrightness);
    connect(NightRed, &QCheckBox::toggled, this, &MainWindow::ApplyBrightness);
    connect(UtcDifference, &QComboBox::currentIndexChanged, this, &MainWindow::TellLook);
    for (QAbstractButton* box : std::initializer_list<QAbstractButton*>{DaylightSaving, TimeDisplay[1]})
        connect(box, &QAbstractButton::toggled, this, &MainWindow::TellLook);
    connect(&link, &SerialLink::LineReceived, this, [this](const LineResult& result) {
        if (result.FixAccepted)
            FollowSun();
    });
    connect(Freeze, &QCheckBox::toggled, this, &MainWindow::FreezeChanged);
    connect(AlwaysOnTop, &QCheckBox::toggled, this, &MainWindow::AlwaysOnTopChanged);
    for (int n = 1; n <= InstrumentWindows::Count; ++n)
        connect(ActiveWindow[static_cast<std::size_t>(n)], &QCheckBox::toggled, this, [this, n] { ActiveWindowClicked(n); });

    // Every control that holds a setting has it written shortly after it changes.
    SaveTimer.setSingleShot(true);
    SaveTimer.setInterval(SaveDelayMs);
    connect(&SaveTimer, &QTimer::timeout, this, &MainWindow::SaveSettings);
    for (QComboBox* list : {PortNumber, Baudrate, WordBits, StopBits, Parity, HandShake, BrightnessMode, UtcDifference})
        connect(list, &QComboBox::currentIndexChanged, this, &MainWindow::SettingChanged);
    std::vector<QAbstractButton*> boxes{TimeDisplay[1]};
    boxes.insert(boxes.end(), ActiveWindow.begin() + 1, ActiveWindow.begin() + 1 + InstrumentWindows::Count);
    for (const FlagSetting& flag : FlagSettings())
        boxes.push_back(flag.Box);
    for (QAbstractButton* box : boxes)
        connect(box, &QAbstractButton::toggled, this, &MainWindow::SettingChanged);
}

MainWindow::~MainWindow()
{
    ShutDown();
    Settings.SetWriteReport({});
    // Popups and tooltips shown after this window are lit as the desktop's again.
    QApplication::setPalette(DaylightMenuPalette, "QMenu");
    QToolTip::setPalette(DaylightToolTipPalette);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    ShutDown();
    event->accept();
}

void MainWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowStateChange) {
        SettingChanged();
        if (ScreeningStale)
            ShowInputScreening();
    }
    QWidget::changeEvent(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Its tab comes to the front, or the window is shown.
    if (watched == InputScreening && event->type() == QEvent::Show && ScreeningStale)
        ShowInputScreening();
    return QWidget::eventFilter(watched, event);
}

// A monitor plugged in or out, a resolution changed, a panel added: the instrument windows are
// laid out again for the screens there are then, once the window system has told all of it.
void MainWindow::WatchScreens()
{
    auto* settle = new QTimer(this);
    settle->setSingleShot(true);
    connect(settle, &QTimer::timeout, this, [this] { Windows.FitScreens(); });
    const auto watch = [this, settle](const QScreen* screen) {
        connect(screen, &QScreen::availableGeometryChanged, settle, qOverload<>(&QTimer::start));
    };
    for (const QScreen* screen : QGuiApplication::screens())
        watch(screen);
    connect(qApp, &QGuiApplication::screenAdded, this, [watch, settle](const QScreen* screen) {
        watch(screen);
        settle->start();
    });
    connect(qApp, &QGuiApplication::screenRemoved, settle, qOverload<>(&QTimer::start));
}

void MainWindow::SerialListChanged()
{
    SerialSettings selected;
    selected.PortIndex = PortNumber->currentIndex();
    selected.BaudIndex = Baudrate->currentIndex();
    selected.WordBitsIndex = WordBits->currentIndex();
    selected.StopBitsIndex = StopBits->currentIndex();
    selected.ParityIndex = Parity->currentIndex();
    selected.HandShakeIndex = HandShake->currentIndex();
    Serving.SelectSerialSettings(selected);
    ShowPortDevice();
}

void MainWindow::ShowFoundBaudRate()
{
    const std::optional<int> found = Receiver().Link().FoundBaudRate();
    Baudrate->setItemText(AutoBaudIndex, found ? QStringLiteral("Auto: %1").arg(*found) : QStringLiteral("Auto"));
}

// What "COM9" means here, and why it does not open when it does not.
void MainWindow::ShowPortDevice()
{
    const QString line = Serving.DeviceLine();
    const QString device = Receiver().Link().SelectedDevice();
    PortDevice->setToolTip(line);
    // Only the path gives way; what is said of it stays whole, on a second line where it must.
    PortDevice->setText(line.startsWith(device) ? PathLine(PortDevice->fontMetrics(), PortDevice->width(), {}, device, line.mid(device.size()), true)
                                                : line);
}

WindowBehaviour MainWindow::Behaviour() const
{
    return {Freeze->isChecked(), AlwaysOnTop->isChecked()};
}

// Acts on the windows open now; a window opened later is given the behaviour as it opens.
void MainWindow::FreezeChanged()
{
    const bool frozen = Freeze->isChecked();
    Windows.ForEachOpen([frozen](InstrumentWindow& window) { SetWindowFrozen(&window, frozen); });
}

// The main window and the windows open now; a window opened later is given it as it opens.
void MainWindow::AlwaysOnTopChanged()
{
    const bool onTop = AlwaysOnTop->isChecked();
    SetTopMost(this, onTop);
    Windows.ForEachOpen([onTop](InstrumentWindow& window) { SetTopMost(&window, onTop); });
}

void MainWindow::ActiveWindowClicked(int number)
{
    if (ActiveWindow[static_cast<std::size_t>(number)]->isChecked())
        Windows.Open({number}, CurrentBrightness(), Behaviour());
    else
        Windows.Close(number);
}

QString MainWindow::UtcDifferenceText() const
{
    return UtcDifference->currentText();
}

bool MainWindow::DaylightSavingTicked() const
{
    return DaylightSaving->isChecked();
}

bool MainWindow::LocalTimeSelected() const
{
    return TimeDisplay[1]->isChecked();
}

void MainWindow::InstrumentWindowClosed(int number)
{
    if (number >= 1 && number <= InstrumentWindows::Count)
        ActiveWindow[static_cast<std::size_t>(number)]->setChecked(false);
}

void MainWindow::WriteUserSetting(const QString& subkey, const QString& name, const QString& text)
{
    Settings.WriteUserSetting(subkey, name, text);
    SettingChanged();
}

void MainWindow::ShowInputScreening()
{
    // Laying out the box's text for every received line costs a good share of the program's
    // time: it is done only where the box can be seen, and brought up to date when it is shown.
    ScreeningStale = !InputScreening->isVisible() || isMinimized();
    if (ScreeningStale)
        return;
    // The received lines end in CR LF; the text box wants plain line feeds and no empty line after
    // the last one, so that all five lines fit.
    QString lines = Serving.Receiver().Link().InputScreeningText();
    lines.remove(QLatin1Char('\r'));
    if (lines.endsWith(QLatin1Char('\n')))
        lines.chop(1);
    InputScreening->setPlainText(lines);
    InputScreening->moveCursor(QTextCursor::End);
}
