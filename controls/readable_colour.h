#pragma once

#include <string>

#include "controls/control_table.h"

namespace versomat {

// WCAG contrast ratio of two colours, from 1 (same luminance) to 21.
double contrastRatio(Rgb a, Rgb b);

// The text colour for a fixed background: the desktop's or browser's own
// text colour where it contrasts enough (4.5, WCAG AA), otherwise black or
// white, whichever contrasts more. A dark scheme's light text thus stays
// readable on the yellow headers and the pale buttons.
Rgb readableTextOn(Rgb background, Rgb systemText);

// "#rrggbb", as web pages write colours.
std::string hexColour(Rgb colour);

} // namespace versomat
