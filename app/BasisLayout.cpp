// The controls of the main window, placed in twips as the window was designed.
#include "Basis.h"

#include "IndicatorLed.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QRadioButton>
#include <QTabWidget>

#include "Twips.h"

namespace {

// The design placed tab contents from the top of the tab control, tab strip included; a Qt tab
// page starts below its strip.
constexpr int TabStripTwips = 360;

struct WindowBox {
    int Number;
    const char* Caption;
    int Left, Top, Width;
};

// Two columns: analog and digital compass, sky view and position, (analog speed) and digital
// speed, date and time.
constexpr WindowBox WindowBoxes[] = {
    {1, "Satelite View", 120, 840, 2775},   {2, "Analog Compass", 120, 360, 2775},
    {3, "Digital Compass", 2880, 360, 2055}, {4, "Date + time", 120, 1800, 2775},
    {5, "Digital Speed", 2880, 1320, 2055},  {6, "Position", 2880, 840, 2775},
    {7, "Analog Speed", 120, 1320, 2775},
};

QFont ArialFont(double points)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    return font;
}

const QFont& ControlFont()
{
    static const QFont font = ArialFont(9.75);
    return font;
}

const QFont& LabelFont()
{
    static const QFont font = ArialFont(8.25);
    return font;
}

} // namespace

void Basis::Place(QWidget* widget, int left, int top, int width, int height) const
{
    widget->setGeometry(TwipsToPixels(left, TwipsPerPixelX), TwipsToPixels(top, TwipsPerPixelY),
                        TwipsToPixels(width, TwipsPerPixelX), TwipsToPixels(height, TwipsPerPixelY));
}

QComboBox* Basis::AddList(QWidget* parent, const QString& label, int left, int top, int width,
                          int labelLeft, int labelWidth)
{
    auto* caption = new QLabel(label, parent);
    caption->setFont(LabelFont());
    caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Place(caption, labelLeft, top, labelWidth, 300);
    auto* list = new QComboBox(parent);
    list->setFont(ControlFont());
    list->setMaxVisibleItems(12);
    caption->setBuddy(list);
    Place(list, left, top, width, 300);
    return list;
}

void Basis::BuildWindowsTab(QWidget* tab)
{
    auto* active = new QGroupBox(QStringLiteral("Active "), tab);
    active->setFont(LabelFont());
    Place(active, 240, 480 - TabStripTwips, 6135, 2415);
    for (const WindowBox& box : WindowBoxes) {
        auto* check = new QCheckBox(QString::fromLatin1(box.Caption), active);
        check->setFont(ControlFont());
        Place(check, box.Left, box.Top, box.Width, 375);
        check->setObjectName(QStringLiteral("ActiveWindow%1").arg(box.Number));
        ActiveWindow[static_cast<std::size_t>(box.Number)] = check;
    }
    // There never was an analog speed window; its box shows what could come.
    ActiveWindow[7]->setEnabled(false);

    auto* behaviour = new QGroupBox(QStringLiteral("Behaviour"), tab);
    behaviour->setFont(LabelFont());
    Place(behaviour, 240, 3120 - TabStripTwips, 6135, 975);
    AlwaysOnTop = new QCheckBox(QStringLiteral("Always on top"), behaviour);
    AlwaysOnTop->setObjectName(QStringLiteral("AlwaysOnTop"));
    AlwaysOnTop->setFont(ControlFont());
    Place(AlwaysOnTop, 120, 360, 2775, 375);
    Freeze = new QCheckBox(QStringLiteral("Freeze position"), behaviour);
    Freeze->setObjectName(QStringLiteral("Freeze"));
    Freeze->setFont(ControlFont());
    Place(Freeze, 2880, 360, 2775, 375);
}

void Basis::BuildNmeaTab(QWidget* tab)
{
    auto* input = new QGroupBox(QStringLiteral("Input"), tab);
    input->setFont(LabelFont());
    Place(input, 240, 480 - TabStripTwips, 6135, 2415);
    Portnumber = AddList(input, QStringLiteral("Port:"), 1200, 360, 1335, 120, 1000);
    Portnumber->setObjectName(QStringLiteral("Portnumber"));
    Baudrate = AddList(input, QStringLiteral("Baudrate:"), 1200, 840, 1335, 120, 1000);
    Baudrate->setObjectName(QStringLiteral("Baudrate"));
    WordBits = AddList(input, QStringLiteral("Bits:"), 1200, 1320, 1335, 120, 1000);
    WordBits->setObjectName(QStringLiteral("WordBits"));
    StopBits = AddList(input, QStringLiteral("Stop:"), 1200, 1800, 1335, 120, 1000);
    StopBits->setObjectName(QStringLiteral("StopBits"));
    HandShake = AddList(input, QStringLiteral("Handshake:"), 4200, 360, 1335, 3120, 1000);
    HandShake->setObjectName(QStringLiteral("HandShake"));
    Parity = AddList(input, QStringLiteral("Parity:"), 4200, 840, 1335, 3120, 1000);
    Parity->setObjectName(QStringLiteral("Parity"));

    // The device that the selected port number opens, so a person can see what "COM1" means here.
    auto* deviceCaption = new QLabel(QStringLiteral("Device:"), input);
    deviceCaption->setFont(LabelFont());
    deviceCaption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Place(deviceCaption, 3120, 1320, 1000, 300);
    PortDevice = new QLabel(input);
    PortDevice->setFont(LabelFont());
    PortDevice->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Place(PortDevice, 4200, 1320, 1875, 300);

    auto* activeCaption = new QLabel(QStringLiteral("Active:"), input);
    activeCaption->setFont(LabelFont());
    activeCaption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Place(activeCaption, 3120, 1680, 1000, 300);
    OntvangstLED = new IndicatorLed(input);
    OntvangstLED->setObjectName(QStringLiteral("OntvangstLED"));
    Place(OntvangstLED, 4200, 1680, 300, 300);

    InputScreening = new QPlainTextEdit(tab);
    InputScreening->setObjectName(QStringLiteral("InputScreening"));
    InputScreening->setFont(LabelFont());
    InputScreening->setReadOnly(true);
    InputScreening->setLineWrapMode(QPlainTextEdit::NoWrap);
    InputScreening->document()->setDocumentMargin(2);
    InputScreening->setAccessibleName(QStringLiteral("Received lines"));
    Place(InputScreening, 240, 3120 - TabStripTwips, 6135, 1215);
}

void Basis::BuildLocalTab(QWidget* tab)
{
    auto* time = new QGroupBox(QStringLiteral("Time"), tab);
    time->setFont(LabelFont());
    Place(time, 240, 480 - TabStripTwips, 6135, 1695);
    LocalUTChours = AddList(time, QStringLiteral("UTC difference:"), 1680, 360, 1095, 120, 1440);
    LocalUTChours->setObjectName(QStringLiteral("LocalUTChours"));
    auto* display = new QLabel(QStringLiteral("Display:"), time);
    display->setFont(LabelFont());
    display->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Place(display, 120, 1080, 900, 300);
    auto* group = new QButtonGroup(this);
    const char* options[] = {nullptr, "Local Time", "UTC"};
    for (int n = 1; n <= 2; ++n) {
        Local_UTC[static_cast<std::size_t>(n)] = new QRadioButton(QString::fromLatin1(options[n]), time);
        Local_UTC[static_cast<std::size_t>(n)]->setObjectName(QStringLiteral("Local_UTC%1").arg(n));
        Local_UTC[static_cast<std::size_t>(n)]->setFont(ControlFont());
        Place(Local_UTC[static_cast<std::size_t>(n)], 1080, 840 + (n - 1) * 360, 1935, 375);
        group->addButton(Local_UTC[static_cast<std::size_t>(n)], n);
    }
    DaylightSaving = new QCheckBox(QStringLiteral("Daylightsaving"), time);
    DaylightSaving->setObjectName(QStringLiteral("DaylightSaving"));
    DaylightSaving->setFont(ControlFont());
    Place(DaylightSaving, 3720, 960, 2055, 375);

    auto* colours = new QGroupBox(QStringLiteral("Colors"), tab);
    colours->setFont(LabelFont());
    Place(colours, 240, 2400 - TabStripTwips, 6135, 1695);
    BrightnessMode = AddList(colours, QStringLiteral("Brightness:"), 1680, 360, 1095, 120, 1440);
    BrightnessMode->setObjectName(QStringLiteral("BrightnessMode"));
}
