// The brightness of the instrument windows and of the main window itself: the list on the "Local"
// tab, "Auto", which follows the sun at the received position and time, and the red night palette.
#include "MainWindow.h"

#include "InstrumentWindow.h"
#include "NightLook.h"
#include "OptionLists.h"
#include "ReceptionIndicator.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTabWidget>
#include <QToolTip>

namespace {

QString Text(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

Brightness MainWindow::CurrentBrightness() const
{
    const QString mode = BrightnessMode->currentIndex() == AutoBrightnessEntry ? Text(Sun.Mode()) : BrightnessMode->currentText();
    return {mode, NightRed->isChecked() && IsRedMode(mode.toStdString())};
}

// From the level the windows are lit at now, "Auto"'s choice included: a step darker never
// lights them up, whatever "Auto" chose.
void MainWindow::StepBrightness(int steps)
{
    const QString shown = CurrentBrightness().Mode;
    const std::string_view mode = SteppedBrightness(shown.toStdString(), steps);
    BrightnessMode->setCurrentText(Text(mode));
}

void MainWindow::ApplyBrightness()
{
    ShowAutoChoice();
    TellLook();
    const Brightness now = CurrentBrightness();
    if (now == Applied)
        return;
    Applied = now;
    Windows.ForEachOpen([&now](InstrumentWindow& window) { window.AdjustColors(now); });
    ApplyLook(now);
    emit BrightnessApplied(now.Mode);
}

void MainWindow::TellLook()
{
    Serving.SetLook({CurrentBrightness().Mode, NightRed->isChecked(),
                     {LocalTimeSelected(), DaylightSavingTicked(), UtcDifferenceText()}});
}

void MainWindow::ApplyLook(const Brightness& brightness)
{
    const QPalette palette = PaletteFor(brightness);
    setPalette(palette);
    // The lists' popups and the text box's menu are windows of their own that take the
    // application's menu palette, and tooltips take the tooltip palette; the main window is the
    // only one that has any.
    const bool byDay = brightness.Mode == QStringLiteral("Daylight");
    QApplication::setPalette(byDay ? DaylightMenuPalette : palette, "QMenu");
    QToolTip::setPalette(byDay ? DaylightToolTipPalette : palette);
    // The style shades some parts in colours of its own; in red they are made red as well.
    for (QWidget* part : std::initializer_list<QWidget*>{Tabs, StatusLine})
        part->setGraphicsEffect(brightness.Red ? new RedOnlyEffect(BrightnessLevel(brightness)) : nullptr);
    Reception->SetBrightness(brightness);
    ShowStatusLine();
}

// "Auto" keeps choosing while another entry is selected, so that choosing it takes effect at once.
void MainWindow::FollowSun()
{
    if (Sun.Follow(Nav))
        ApplyBrightness();
}

void MainWindow::ShowAutoChoice()
{
    if (BrightnessMode->currentIndex() != AutoBrightnessEntry)
        AutoChoice->clear();
    else if (const auto elevation = Sun.SunElevation())
        AutoChoice->setText(QStringLiteral("Now %1, the sun at %2\u00B0").arg(Text(Sun.Mode())).arg(*elevation, 0, 'f', 1));
    else
        AutoChoice->setText(QStringLiteral("%1 until a fix with a date").arg(Text(Sun.Mode())));
}
