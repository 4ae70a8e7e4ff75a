#include "DigitalWindow.h"

#include "InstrumentTexts.h"
#include "NavState.h"
#include "ScaledColour.h"
#include "Twips.h"

#include <QColor>
#include <QFont>
#include <QPalette>

#include <algorithm>

namespace {

void SetTextColour(QLabel* label, const QColor& colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

} // namespace

DigitalWindow::DigitalWindow(int number, const QString& caption, QSize initialClientTwips,
                             Arrangement arrangement, const NavState& nav, InstrumentHost& host,
                             QWidget* parent)
    : InstrumentWindow(number, caption, initialClientTwips, nav, host, parent),
      LabelArrangement(arrangement)
{
    Timer1.start(500);
}

QLabel* DigitalWindow::AddLabel(const char* name, const LabelStyle& style, const QString& text)
{
    auto* label = new QLabel(this);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignCenter);
    // Glyphs are drawn from the outline at every size, so even the largest digits stay sharp.
    QFont font(QStringLiteral("Arial"), 12, QFont::Bold);
    font.setStyleHint(QFont::SansSerif);
    // Colour fringes of subpixel smoothing would put green and blue into red text.
    font.setStyleStrategy(QFont::NoSubpixelAntialias);
    label->setFont(font);
    SetTextColour(label, ToQColor(style.BaseColour));
    SetLabelText(label, text);
    Labels.push_back({label, style});
    return label;
}

void DigitalWindow::SetLabelText(QLabel* label, const QString& text)
{
    label->setText(DisplayText(text));
    label->adjustSize();
}

void DigitalWindow::AdjustColors(const Brightness& brightness)
{
    for (const StyledLabel& styled : Labels)
        SetTextColour(styled.Label, ScaledColour(styled.Style.BaseColour, brightness));
}

void DigitalWindow::ShowNoFix()
{
    for (const StyledLabel& styled : Labels) {
        if (styled.Style.Role == LabelRole::Value)
            SetLabelText(styled.Label, NoReceptionText());
    }
}

// The layout follows the text: whenever a label's size changes with its text, or the fix comes or
// goes (which switches the value font rule), the labels are laid out again in the same tick.
// Every label counts, not just the value: a heading or date that changes width must be centred
// again too. Unchanged texts cost no layout.
void DigitalWindow::Tick()
{
    if (Nav.FixValid)
        ShowFix();
    else
        ShowNoFix();
    if (LabelSizes() != LaidOutSizes || Nav.FixValid != LaidOutWithFix)
        Layout();
}

void DigitalWindow::resizeEvent(QResizeEvent* event)
{
    InstrumentWindow::resizeEvent(event);
    Layout();
}

void DigitalWindow::Layout()
{
    const double sw = PixelsToTwips(width(), TwipsPerPixelX());
    const double sh = PixelsToTwips(height(), TwipsPerPixelY());
    std::vector<int> ruleSizes;
    for (const StyledLabel& styled : Labels)
        ruleSizes.push_back(LabelFontSize(styled.Style, sw, sh));
    // The rules' sizes where the texts fit, smaller where they would be cut off. Qt refuses sizes
    // below one point; the smallest windows get the smallest legal size.
    const std::vector<int> sizes = FittedStack(sw, sh, ruleSizes, [this](std::size_t label, int points) {
        SetPointSize(Labels[label].Label, points);
        return ExtentOf(Labels[label].Label);
    });
    std::vector<TwipsExtent> extents;
    for (std::size_t i = 0; i < Labels.size(); ++i) {
        SetPointSize(Labels[i].Label, sizes[i]);
        extents.push_back(ExtentOf(Labels[i].Label));
    }
    const std::vector<TwipsPlace> places = LabelArrangement == Arrangement::Centred && extents.size() == 1
        ? std::vector<TwipsPlace>{CentredPlace(sw, sh, extents.front())}
        : StackedPlaces(sw, sh, extents);
    for (std::size_t i = 0; i < places.size(); ++i) {
        Labels[i].Label->move(TwipsToPixels(places[i].Left, TwipsPerPixelX()),
                              TwipsToPixels(places[i].Top, TwipsPerPixelY()));
    }
    LaidOutSizes = LabelSizes();
    LaidOutWithFix = Nav.FixValid;
}

void DigitalWindow::SetPointSize(QLabel* label, int points)
{
    QFont font = label->font();
    if (font.pointSize() != points) {
        font.setPointSize(points);
        label->setFont(font);
    }
    label->adjustSize();
}

int DigitalWindow::LabelFontSize(const LabelStyle& style, double clientWidth, double clientHeight) const
{
    if (style.Role == LabelRole::Value && !Nav.FixValid)
        return NoFixFontSize(clientHeight);
    return FontSize(clientWidth, clientHeight, style.HeightDivisor, style.WidthDivisor);
}

TwipsExtent DigitalWindow::ExtentOf(const QLabel* label) const
{
    return {PixelsToTwips(label->width(), TwipsPerPixelX()),
            PixelsToTwips(label->height(), TwipsPerPixelY())};
}

std::vector<QSize> DigitalWindow::LabelSizes() const
{
    std::vector<QSize> sizes;
    sizes.reserve(Labels.size());
    for (const StyledLabel& styled : Labels)
        sizes.push_back(styled.Label->size());
    return sizes;
}
