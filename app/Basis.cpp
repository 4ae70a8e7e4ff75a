#include "Basis.h"

#include "IndicatorLed.h"
#include "NavState.h"
#include "Twips.h"
#include "WindowBand.h"
#include "InstrumentWindow.h"
#include "PortDescription.h"
#include "Registry.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>

#include <cstdio>

namespace {

constexpr int ClientWidthTwips = 6855;
// The version line at the bottom reaches 4927 twips; the window is as tall as that, so that the
// line is not cut off.
constexpr int ClientHeightTwips = 4927;

} // namespace

Basis::Basis(NavState& nav, Registry& registry, ServerPorts ports, QWidget* parent)
    : QWidget(parent), Nav(nav), Settings(registry), Input(nav), DefaultPorts(ports), Gpsd(nav, ports.Gpsd),
      Windows(nav, *this, registry)
{
    setWindowTitle(QStringLiteral("Quarvel Vexo Devozora"));
    if (const QScreen* screen = this->screen()) {
        TwipsPerPixelX = TwipsPerPixel(screen->logicalDotsPerInchX());
        TwipsPerPixelY = TwipsPerPixel(screen->logicalDotsPerInchY());
    }
    setFixedSize(TwipsToPixels(ClientWidthTwips, TwipsPerPixelX),
                 TwipsToPixels(ClientHeightTwips, TwipsPerPixelY));

    TabBladen = new QTabWidget(this);
    TabBladen->setObjectName(QStringLiteral("TabBladen"));
    QFont tabFont(QStringLiteral("Arial"));
    tabFont.setPointSizeF(9.75);
    TabBladen->setFont(tabFont);
    Place(TabBladen, 120, 120, 6615, 4575);
    auto* windowsTab = new QWidget;
    auto* nmeaTab = new QWidget;
    auto* localTab = new QWidget;
    TabBladen->addTab(windowsTab, QStringLiteral("Windows"));
    TabBladen->addTab(nmeaTab, QStringLiteral("NMEA"));
    TabBladen->addTab(localTab, QStringLiteral("Local"));
    BuildWindowsTab(windowsTab);
    BuildNmeaTab(nmeaTab);
    BuildLocalTab(localTab);

    License = new QLabel(this);
    License->setObjectName(QStringLiteral("License"));
    QFont licenseFont(QStringLiteral("Arial"));
    licenseFont.setPointSizeF(8.25);
    License->setFont(licenseFont);
    License->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Place(License, 0, 4672, 6855, 255);
    ShowStatusLine();

    SerialLink& link = Input.Link();
    connect(&link, &SerialLink::OntvangstLEDChanged, OntvangstLED, &IndicatorLed::SetColour);
    connect(&link, &SerialLink::InputScreeningChanged, this, &Basis::ShowInputScreening);
    InputScreening->installEventFilter(this);
    connect(&link, &SerialLink::PortProblemChanged, this, [this](const QString& problem) {
        ShowPortDevice();
        if (!problem.isEmpty())
            std::fprintf(stderr, "devozora: %s\n", qPrintable(PortDevice->toolTip()));
    });
    connect(&Input.Watchdog(), &ReceptionWatchdog::ListenerCheckDue, &Gpsd, &GpsdServer::CheckListener);
    connect(&link, &SerialLink::LineReceived, &Gpsd, &GpsdServer::LineProcessed);
    connect(&link, &SerialLink::EpochEnded, &Gpsd, &GpsdServer::EpochEnded);
    connect(&link, &SerialLink::PortOpened, this, [this] { Gpsd.SetDevice(Input.Link().SelectedDevice()); });
    connect(&link, &SerialLink::PortClosed, &Gpsd, &GpsdServer::DeviceClosed);
    for (QComboBox* list : {Portnumber, Baudrate, WordBits, StopBits, Parity, HandShake})
        connect(list, &QComboBox::currentIndexChanged, this, &Basis::SerialListChanged);
    connect(BrightnessMode, &QComboBox::currentIndexChanged, this, &Basis::ApplyBrightness);
    connect(NightRed, &QCheckBox::toggled, this, &Basis::ApplyBrightness);
    connect(&link, &SerialLink::LineReceived, this, [this](const LineResult& result) {
        if (result.FixAccepted)
            FollowSun();
    });
    connect(Freeze, &QCheckBox::toggled, this, &Basis::FreezeChanged);
    connect(AlwaysOnTop, &QCheckBox::toggled, this, &Basis::AlwaysOnTopChanged);
    for (int n = 1; n <= InstrumentWindows::Count; ++n)
        connect(ActiveWindow[static_cast<std::size_t>(n)], &QCheckBox::toggled, this, [this, n] { ActiveWindowClicked(n); });

    // Every control that holds a setting has it written shortly after it changes.
    SaveTimer.setSingleShot(true);
    SaveTimer.setInterval(SaveDelayMs);
    connect(&SaveTimer, &QTimer::timeout, this, &Basis::SaveSettings);
    for (QComboBox* list : {Portnumber, Baudrate, WordBits, StopBits, Parity, HandShake, BrightnessMode, LocalUTChours})
        connect(list, &QComboBox::currentIndexChanged, this, &Basis::SettingChanged);
    std::vector<QAbstractButton*> boxes{Local_UTC[1]};
    boxes.insert(boxes.end(), ActiveWindow.begin() + 1, ActiveWindow.begin() + 1 + InstrumentWindows::Count);
    for (const FlagSetting& flag : FlagSettings())
        boxes.push_back(flag.Box);
    for (QAbstractButton* box : boxes)
        connect(box, &QAbstractButton::toggled, this, &Basis::SettingChanged);
}

Basis::~Basis()
{
    ShutDown();
}

void Basis::closeEvent(QCloseEvent* event)
{
    ShutDown();
    event->accept();
}

void Basis::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowStateChange) {
        SettingChanged();
        if (ScreeningStale)
            ShowInputScreening();
    }
    QWidget::changeEvent(event);
}

bool Basis::eventFilter(QObject* watched, QEvent* event)
{
    // Its tab comes to the front, or the window is shown.
    if (watched == InputScreening && event->type() == QEvent::Show && ScreeningStale)
        ShowInputScreening();
    return QWidget::eventFilter(watched, event);
}

void Basis::SerialListChanged()
{
    SerialSettings selected;
    selected.PortIndex = Portnumber->currentIndex();
    selected.BaudIndex = Baudrate->currentIndex();
    selected.WordBitsIndex = WordBits->currentIndex();
    selected.StopBitsIndex = StopBits->currentIndex();
    selected.ParityIndex = Parity->currentIndex();
    selected.HandShakeIndex = HandShake->currentIndex();
    Input.Link().ChangeSettings(selected);
    ShowPortDevice();
}

// What "COM9" means here, and why it does not open when it does not.
void Basis::ShowPortDevice()
{
    const SerialLink& link = Input.Link();
    const QString line = DeviceLine(link.SelectedDevice(), link.PortProblem());
    PortDevice->setToolTip(line);
    PortDevice->setText(PortDevice->fontMetrics().elidedText(line, Qt::ElideMiddle, PortDevice->width()));
}

// Acts on the windows open now; a window opened later keeps its frame until the box changes.
void Basis::FreezeChanged()
{
    const bool frozen = Freeze->isChecked();
    Windows.ForEachOpen([frozen](InstrumentWindow& window) { SetWindowFrozen(&window, frozen); });
}

// The main window and the windows open now; a window opened later starts in the normal band.
void Basis::AlwaysOnTopChanged()
{
    const bool onTop = AlwaysOnTop->isChecked();
    SetTopMost(this, onTop);
    Windows.ForEachOpen([onTop](InstrumentWindow& window) { SetTopMost(&window, onTop); });
}

void Basis::ActiveWindowClicked(int number)
{
    if (ActiveWindow[static_cast<std::size_t>(number)]->isChecked())
        Windows.Open(number, CurrentBrightness());
    else
        Windows.Close(number);
}

QString Basis::UtcDifferenceText() const
{
    return LocalUTChours->currentText();
}

bool Basis::DaylightSavingTicked() const
{
    return DaylightSaving->isChecked();
}

bool Basis::LocalTimeSelected() const
{
    return Local_UTC[1]->isChecked();
}

void Basis::InstrumentWindowClosed(int number)
{
    if (number >= 1 && number <= InstrumentWindows::Count)
        ActiveWindow[static_cast<std::size_t>(number)]->setChecked(false);
}

void Basis::WriteUserSetting(const QString& subkey, const QString& name, const QString& text)
{
    Settings.WriteUserSetting(subkey, name, text);
    SettingChanged();
}

void Basis::ShowInputScreening()
{
    // Laying out the box's text for every received line costs a good share of the program's
    // time: it is done only where the box can be seen, and brought up to date when it is shown.
    ScreeningStale = !InputScreening->isVisible() || isMinimized();
    if (ScreeningStale)
        return;
    // The received lines end in CR LF; the text box wants plain line feeds and no empty line after
    // the last one, so that all five lines fit.
    QString lines = Input.Link().InputScreeningText();
    lines.remove(QLatin1Char('\r'));
    if (lines.endsWith(QLatin1Char('\n')))
        lines.chop(1);
    InputScreening->setPlainText(lines);
    InputScreening->moveCursor(QTextCursor::End);
}
