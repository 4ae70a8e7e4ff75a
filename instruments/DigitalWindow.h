#pragma once

#include "InstrumentWindow.h"
#include "LabelLayout.h"

#include <QLabel>

#include <cstdint>
#include <vector>

// A window of large text labels: the position, speed, compass and date-and-time windows. It owns
// its labels, refreshes them every 500 ms, sizes their fonts from the client size (shrinking a
// text that would not fit, so that nothing is ever cut off) and colours them for the brightness
// mode. The value label shows "No" above "reception" while there is no fix, in a font that
// follows the window's height only.
class DigitalWindow : public InstrumentWindow {
    Q_OBJECT

public:
    void AdjustColors(const Brightness& brightness) override;

protected:
    enum class LabelRole { Heading, Value, SecondValue };
    enum class Arrangement { Stacked, Centred };

    struct LabelStyle {
        LabelRole Role = LabelRole::Heading;
        std::int32_t BaseColour = 0xFFFFFF; // red in the low byte
        int HeightDivisor = 1;
        int WidthDivisor = 1;
    };

    DigitalWindow(int number, const QString& caption, QSize initialClientTwips, Arrangement arrangement,
                  const NavState& nav, InstrumentHost& host, QWidget* parent);

    // Labels are added top to bottom; name is the label's object name.
    QLabel* AddLabel(const char* name, const LabelStyle& style, const QString& text = {});
    // text may hold CR LF line breaks; the label takes the size of its new text.
    static void SetLabelText(QLabel* label, const QString& text);

    // Sets the label texts from a valid fix.
    virtual void ShowFix() = 0;
    // Without a fix the value label reads "No" / "reception"; a window may empty more labels.
    virtual void ShowNoFix();

    void Tick() final;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct StyledLabel {
        QLabel* Label = nullptr;
        LabelStyle Style;
    };

    void Layout();
    static void SetPointSize(QLabel* label, int points);
    int LabelFontSize(const LabelStyle& style, double clientWidth, double clientHeight) const;
    TwipsExtent ExtentOf(const QLabel* label) const;
    std::vector<QSize> LabelSizes() const;

    Arrangement LabelArrangement = Arrangement::Stacked;
    std::vector<StyledLabel> Labels;
    // What the last layout was made for: the labels' sizes and whether there was a fix.
    std::vector<QSize> LaidOutSizes;
    bool LaidOutWithFix = false;
};
