#include "control_look.h"

#include <QApplication>
#include <QFont>
#include <QPalette>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace versomat {
namespace {

constexpr double kReadableContrast = 4.5;
constexpr int kBorderDarkness = 160; // percent, as QColor::darker takes it
constexpr int kPressedDarkness = 120;

double relativeLuminance(const QColor& colour)
{
    const auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
}

} // namespace

QColor qtColour(std::optional<Rgb> colour)
{
    return colour ? QColor(colour->red, colour->green, colour->blue) : QColor();
}

QRect qtRect(const PixelRect& rect)
{
    return {rect.left, rect.top, rect.width, rect.height};
}

QSize qtSize(const PixelSize& size)
{
    return {size.width, size.height};
}

double contrastRatio(const QColor& a, const QColor& b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readableTextOn(const QColor& background, const QColor& systemText)
{
    if (contrastRatio(background, systemText) >= kReadableContrast)
        return systemText;
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    return contrastRatio(background, black) >= contrastRatio(background, white) ? black : white;
}

QString buttonStyleSheet(const QColor& background, const QColor& text)
{
    return QStringLiteral("QPushButton { color: %4; background-color: %1; border: 1px solid %2; border-radius: 2px; }"
                          "QPushButton:pressed { background-color: %3; }"
                          "QPushButton:focus { border: 2px solid %4; }")
        .arg(background.name(), background.darker(kBorderDarkness).name(), background.darker(kPressedDarkness).name(),
             text.name());
}

void paintBackground(QWidget* widget, ControlKind kind, const QColor& background)
{
    if (!background.isValid())
        return;
    const QPalette system = QApplication::palette(widget);
    if (kind == ControlKind::Button) {
        widget->setStyleSheet(
            buttonStyleSheet(background, readableTextOn(background, system.color(QPalette::ButtonText))));
        return;
    }
    const bool label = kind == ControlKind::Label;
    const QPalette::ColorRole backgroundRole = label ? QPalette::Window : QPalette::Base;
    const QPalette::ColorRole textRole = label ? QPalette::WindowText : QPalette::Text;
    QPalette palette = widget->palette();
    palette.setColor(backgroundRole, background);
    palette.setColor(textRole, readableTextOn(background, system.color(textRole)));
    widget->setPalette(palette);
    // Labels and the window draw nothing behind their content unless asked to.
    widget->setAutoFillBackground(label);
}

void applyFont(QWidget* widget, const FontChoice& choice)
{
    if (choice.face == Face::SystemDefault)
        return;
    // The Liberation faces carry every weight and slant the controls use; the
    // style hint picks a face of the same kind where they are missing.
    const bool sans = choice.face == Face::Sans;
    QFont font(sans ? QStringLiteral("Liberation Sans") : QStringLiteral("Liberation Serif"));
    font.setStyleHint(sans ? QFont::SansSerif : QFont::Serif);
    font.setPointSizeF(choice.points);
    font.setBold(choice.bold);
    font.setItalic(choice.italic);
    widget->setFont(font);
}

} // namespace versomat
