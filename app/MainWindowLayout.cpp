// The controls of the main window, placed in twips as the window was designed.
#include "MainWindow.h"

#include "AtAGlance.h"
#include "ReceptionIndicator.h"
#include "StationGlance.h"

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

void MainWindow::Place(QWidget* widget, int left, int top, int width, int height) const
{
    widget->setGeometry(TwipsToPixels(left, TwipsPerPixelX), TwipsToPixels(top, TwipsPerPixelY),
                        TwipsToPixels(width, TwipsPerPixelX), TwipsToPixels(height, TwipsPerPixelY));
}

QGroupBox* MainWindow::AddFrame(QWidget* tab, const QString& title, int top, int height)
{
    auto* frame = new QGroupBox(title, tab);
    frame->setFont(LabelFont());
    Place(frame, 240, top - TabStripTwips, 6135, height);
    return frame;
}

// Labels stand right-aligned before what they name.
QLabel* MainWindow::AddCaption(QWidget* parent, const QString& text, int left, int top, int width)
{
    auto* caption = new QLabel(text, parent);
    caption->setFont(LabelFont());
    caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Place(caption, left, top, width, 300);
    return caption;
}

QCheckBox* MainWindow::AddCheckBox(QWidget* parent, const QString& name, const QString& caption, int left,
                              int top, int width)
{
    auto* check = new QCheckBox(caption, parent);
    check->setObjectName(name);
    check->setFont(ControlFont());
    Place(check, left, top, width, 375);
    return check;
}

QComboBox* MainWindow::AddList(QWidget* parent, const QString& name, const QString& label, int left,
                          int top, int width, int labelLeft, int labelWidth)
{
    QLabel* caption = AddCaption(parent, label, labelLeft, top, labelWidth);
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->setFont(ControlFont());
    list->setMaxVisibleItems(12);
    caption->setBuddy(list);
    Place(list, left, top, width, 300);
    return list;
}

void MainWindow::BuildWindowsTab(QWidget* tab)
{
    QGroupBox* active = AddFrame(tab, QStringLiteral("Active "), 480, 2295);
    for (const WindowBox& box : WindowBoxes) {
        ActiveWindow[static_cast<std::size_t>(box.Number)] =
            AddCheckBox(active, QStringLiteral("ActiveWindow%1").arg(box.Number),
                        QString::fromLatin1(box.Caption), box.Left, box.Top, box.Width);
    }
    // There never was an analog speed window; its box shows what could come.
    ActiveWindow[7]->setEnabled(false);

    QGroupBox* behaviour = AddFrame(tab, QStringLiteral("Behaviour"), 2880, 855);
    AlwaysOnTop = AddCheckBox(behaviour, QStringLiteral("AlwaysOnTop"), QStringLiteral("Always on top"), 120, 360, 2775);
    Freeze = AddCheckBox(behaviour, QStringLiteral("Freeze"), QStringLiteral("Freeze position"), 2880, 360, 2775);

    // Whether the station works, where it opens: the receiver and the servers in two lines.
    auto* glance = new AtAGlance(Nav, Receiver(), [this](StationGlance& shown) { FillServerGlance(shown); }, tab);
    glance->setObjectName(QStringLiteral("AtAGlance"));
    glance->setFont(LabelFont());
    Place(glance, 240, 3840 - TabStripTwips, 6135, 540);
}

void MainWindow::BuildNmeaTab(QWidget* tab)
{
    QGroupBox* input = AddFrame(tab, QStringLiteral("Input"), 480, 2745);
    // The left column is wider than the right one, for the rate "Auto" found ("Auto: 115200").
    PortNumber = AddList(input, QStringLiteral("PortNumber"), QStringLiteral("Port:"), 1200, 360, 1695, 120, 1000);
    Baudrate = AddList(input, QStringLiteral("Baudrate"), QStringLiteral("Baudrate:"), 1200, 840, 1695, 120, 1000);
    WordBits = AddList(input, QStringLiteral("WordBits"), QStringLiteral("Bits:"), 1200, 1320, 1695, 120, 1000);
    StopBits = AddList(input, QStringLiteral("StopBits"), QStringLiteral("Stop:"), 1200, 1800, 1695, 120, 1000);
    HandShake = AddList(input, QStringLiteral("HandShake"), QStringLiteral("Handshake:"), 4200, 360, 1335, 3120, 1000);
    Parity = AddList(input, QStringLiteral("Parity"), QStringLiteral("Parity:"), 4200, 840, 1335, 3120, 1000);

    // The device that the selected port number opens, so a person can see what "COM9" means here,
    // whether it is there and why it does not open: below the lists, room for two lines so that
    // the advice is never cut.
    AddCaption(input, QStringLiteral("Device:"), 120, 2250, 1000);
    PortDevice = new QLabel(input);
    PortDevice->setObjectName(QStringLiteral("PortDevice"));
    PortDevice->setFont(LabelFont());
    PortDevice->setTextInteractionFlags(Qt::TextSelectableByMouse);
    PortDevice->setWordWrap(true);
    PortDevice->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Place(PortDevice, 1200, 2250, 4815, 405);

    AddCaption(input, QStringLiteral("Active:"), 3120, 1680, 1000);
    Reception = new ReceptionIndicator(input);
    Reception->setObjectName(QStringLiteral("ReceptionIndicator"));
    Place(Reception, 4200, 1680, 300, 300);

    InputScreening = new QPlainTextEdit(tab);
    InputScreening->setObjectName(QStringLiteral("InputScreening"));
    InputScreening->setFont(LabelFont());
    InputScreening->setReadOnly(true);
    InputScreening->setLineWrapMode(QPlainTextEdit::NoWrap);
    InputScreening->document()->setDocumentMargin(2);
    InputScreening->setAccessibleName(QStringLiteral("Received lines"));
    Place(InputScreening, 240, 3240 - TabStripTwips, 6135, 1215);
}

void MainWindow::BuildLocalTab(QWidget* tab)
{
    QGroupBox* time = AddFrame(tab, QStringLiteral("Time"), 480, 1695);
    UtcDifference = AddList(time, QStringLiteral("UtcDifference"), QStringLiteral("UTC difference:"), 1680, 360, 1095, 120, 1440);
    AddCaption(time, QStringLiteral("Display:"), 120, 1080, 900);
    auto* group = new QButtonGroup(this);
    const char* options[] = {nullptr, "Local Time", "UTC"};
    for (int n = 1; n <= 2; ++n) {
        auto* option = new QRadioButton(QString::fromLatin1(options[n]), time);
        option->setObjectName(QStringLiteral("TimeDisplay%1").arg(n));
        option->setFont(ControlFont());
        Place(option, 1080, 840 + (n - 1) * 360, 1935, 375);
        group->addButton(option, n);
        TimeDisplay[static_cast<std::size_t>(n)] = option;
    }
    DaylightSaving = AddCheckBox(time, QStringLiteral("DaylightSaving"), QStringLiteral("Daylightsaving"), 3720, 960, 2055);

    QGroupBox* colours = AddFrame(tab, QStringLiteral("Colors"), 2400, 1695);
    BrightnessMode = AddList(colours, QStringLiteral("BrightnessMode"), QStringLiteral("Brightness:"), 1680, 360, 1095, 120, 1440);
    // What "Auto" chose, beside the list, so that nobody has to guess why the windows dimmed.
    AutoChoice = new QLabel(colours);
    AutoChoice->setObjectName(QStringLiteral("AutoChoice"));
    AutoChoice->setFont(LabelFont());
    Place(AutoChoice, 2880, 360, 3135, 300);
    NightRed = AddCheckBox(colours, QStringLiteral("NightRed"), QStringLiteral("Red at dusk and night"), 1680, 840, 4335);
}
