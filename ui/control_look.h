#pragma once

#include <QColor>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

#include "controls/control_table.h"

class QWidget;

namespace versomat {

// The table's colours, places and sizes as Qt takes them; no colour gives an
// invalid QColor, meaning the control keeps the toolkit's own background.
QColor qtColour(std::optional<Rgb> colour);
QRect qtRect(const PixelRect& rect);
QSize qtSize(const PixelSize& size);

// The core's contrast ratio and readable text colour, on Qt's colours.
double contrastRatio(const QColor& a, const QColor& b);
QColor readableTextOn(const QColor& background, const QColor& systemText);

// Buttons take their colour from a style sheet: styles shade a palette
// colour into a gradient, which made the blue and light-blue buttons look
// alike. The sheet also keeps a pressed and a focused look.
QString buttonStyleSheet(const QColor& background, const QColor& text);

// Paints a control's fixed background with readable text on it; an invalid
// colour leaves the toolkit's own colours alone.
void paintBackground(QWidget* widget, ControlKind kind, const QColor& background);

// Gives the control its face and size; Face::SystemDefault keeps the toolkit's.
void applyFont(QWidget* widget, const FontChoice& choice);

} // namespace versomat
