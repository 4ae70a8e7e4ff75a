#include "NightLook.h"

#include <QPainter>

#include <algorithm>

namespace {

struct RoleColour {
    QPalette::ColorRole Role;
    std::int32_t Base;
};

// The instruments' look: black wells for lists and text, a dark ground, light text. The grounds
// stay well below white so that the shading a style derives from them stays below the level too.
constexpr RoleColour NightRoles[] = {
    {QPalette::Window, Rgb(32, 32, 32)},         {QPalette::WindowText, Rgb(255, 255, 255)},
    {QPalette::Base, Rgb(0, 0, 0)},              {QPalette::AlternateBase, Rgb(24, 24, 24)},
    {QPalette::Text, Rgb(255, 255, 255)},        {QPalette::Button, Rgb(56, 56, 56)},
    {QPalette::ButtonText, Rgb(255, 255, 255)},  {QPalette::BrightText, Rgb(255, 255, 255)},
    {QPalette::Light, Rgb(112, 112, 112)},       {QPalette::Midlight, Rgb(80, 80, 80)},
    {QPalette::Mid, Rgb(56, 56, 56)},            {QPalette::Dark, Rgb(24, 24, 24)},
    {QPalette::Shadow, Rgb(0, 0, 0)},            {QPalette::Highlight, Rgb(112, 112, 112)},
    {QPalette::HighlightedText, Rgb(255, 255, 255)}, {QPalette::Link, Rgb(160, 176, 255)},
    {QPalette::LinkVisited, Rgb(192, 160, 255)}, {QPalette::ToolTipBase, Rgb(32, 32, 32)},
    {QPalette::ToolTipText, Rgb(255, 255, 255)}, {QPalette::PlaceholderText, Rgb(128, 128, 128)},
};

// Texts of controls that cannot be used now (the box without a window) are grey.
constexpr QPalette::ColorRole TextRoles[] = {QPalette::WindowText, QPalette::Text, QPalette::ButtonText};
constexpr std::int32_t DisabledText = Rgb(128, 128, 128);

} // namespace

int BrightnessLevel(const Brightness& brightness)
{
    return ScaledColour(Rgb(255, 255, 255), brightness).value();
}

QPalette PaletteFor(const Brightness& brightness)
{
    if (brightness.Mode == QStringLiteral("Daylight"))
        return {};
    QPalette palette;
    for (const RoleColour& role : NightRoles)
        palette.setColor(role.Role, ScaledColour(role.Base, brightness));
    for (const QPalette::ColorRole role : TextRoles)
        palette.setColor(QPalette::Disabled, role, ScaledColour(DisabledText, brightness));
    return palette;
}

void RedOnlyEffect::draw(QPainter* painter)
{
    QPoint offset;
    const QPixmap source = sourcePixmap(Qt::DeviceCoordinates, &offset, QGraphicsEffect::NoPad);
    QImage image = source.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = line[x];
            // Premultiplied: a channel never exceeds alpha, and neither does the result.
            const int red = std::min({std::max({qRed(c), qGreen(c), qBlue(c)}), Level, qAlpha(c)});
            line[x] = qRgba(red, 0, 0, qAlpha(c));
        }
    }
    painter->save();
    painter->setWorldTransform(QTransform());
    painter->drawImage(offset, image);
    painter->restore();
}
