#include "control_look.h"

#include <QApplication>
#include <QFont>
#include <QPalette>
#include <QWidget>

#include "controls/readable_colour.h"

namespace versomat {
namespace {

constexpr int kBorderDarkness = 160; // percent, as QColor::darker takes it
constexpr int kPressedDarkness = 120;

Rgb rgbOf(const QColor& colour)
{
    return {static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
            static_cast<std::uint8_t>(colour.blue())};
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
    return contrastRatio(rgbOf(a), rgbOf(b));
}

QColor readableTextOn(const QColor& background, const QColor& systemText)
{
    return qtColour(readableTextOn(rgbOf(background), rgbOf(systemText)));
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
