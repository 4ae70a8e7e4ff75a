// The brightness of the instrument windows: the list on the "Local" tab, "Auto", which follows
// the sun at the received position and time, and the red night palette.
#include "MainWindow.h"

#include "InstrumentWindow.h"
#include "OptionLists.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

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

// Round the list, "Auto" included, as a person stepping through it would; from "Night" the
// next step is "Auto", which at night stays dark.
void MainWindow::StepBrightness()
{
    BrightnessMode->setCurrentIndex((BrightnessMode->currentIndex() + 1) % BrightnessMode->count());
}

void MainWindow::ApplyBrightness()
{
    ShowAutoChoice();
    const Brightness now = CurrentBrightness();
    if (now == Applied)
        return;
    Applied = now;
    Windows.ForEachOpen([&now](InstrumentWindow& window) { window.AdjustColors(now); });
    emit BrightnessApplied(now.Mode);
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
