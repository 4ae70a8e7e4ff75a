#pragma once

#include "DrumScale.h"
#include "InstrumentWindow.h"

#include <QColor>

// The analog compass, window 2: the course over ground on a horizontal drum scale behind a fixed
// red index line. The scale does not jump to a new course; every 300 ms it glides a quarter of the
// remaining difference, the shorter way round. Without a fix it stands still under "No reception".
class DrumCompassWindow : public InstrumentWindow {
    Q_OBJECT

public:
    explicit DrumCompassWindow(const NavState& nav, InstrumentHost& host, QWidget* parent = nullptr);

    void AdjustColors(const Brightness& brightness) override;

    // Tenths of a degree under the index line, 0..3599.
    int ShownHeading() const { return Heading; }

protected:
    void Tick() override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    double ClientWidthTwips() const;
    double ClientHeightTwips() const;
    void PaintScale(QPainter& painter) const;
    void PaintNumbers(QPainter& painter) const;
    void PaintNoReception(QPainter& painter) const;
    void PaintIndexLine(QPainter& painter) const;

    // 343 degrees until the first fix arrives.
    int Heading = 3430;
    DrumLayout Layout;
    DrumPicture Picture;
    bool NoReception = false;
    QColor ScaleColour = Qt::black;
    QColor IndexColour = Qt::black;
};
