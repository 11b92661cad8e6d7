#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "controls/control_table.h"

namespace versomat {

// A QR code is read by its contrast, whatever the screen's colour scheme:
// always dark modules on a light ground.
inline constexpr Rgb kQrDark{0, 0, 0};
inline constexpr Rgb kQrLight{255, 255, 255};
// The light margin around the code, in modules, that a reader needs to find it.
inline constexpr int kQrQuietZone = 4;
// The picture's own size, in pixels per module: a whole number keeps every
// module sharp when the page turns the picture into a PNG.
inline constexpr int kQrModulePixels = 8;

// The text (UTF-8, taken byte for byte) as a QR code in SVG, quiet zone
// included, as small as its error correction allows; none for a text too
// long for any QR code.
std::optional<std::string> qrCodeSvg(std::string_view text);

} // namespace versomat
