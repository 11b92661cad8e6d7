#include "controls/qr_code.h"

#include <qrcodegen.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "controls/readable_colour.h"

namespace versomat {

namespace {

// Written out: printf's formatting would outweigh the rest of the module.
void appendNumber(std::string& out, int number)
{
    const std::size_t first = out.size();
    do {
        out += static_cast<char>('0' + number % 10);
        number /= 10;
    } while (number > 0);
    std::reverse(out.begin() + static_cast<std::ptrdiff_t>(first), out.end());
}

} // namespace

std::optional<std::string> qrCodeSvg(std::string_view text)
{
    std::array<std::uint8_t, qrcodegen_BUFFER_LEN_MAX> data{};
    std::array<std::uint8_t, qrcodegen_BUFFER_LEN_MAX> code{};
    if (text.size() > data.size())
        return std::nullopt;
    std::copy(text.begin(), text.end(), data.begin());
    // The lowest correction gives the fewest, and so the largest, modules,
    // which a camera across a classroom needs more than repair of damage;
    // the library raises it wherever that costs no modules.
    if (!qrcodegen_encodeBinary(data.data(), text.size(), code.data(), qrcodegen_Ecc_LOW, qrcodegen_VERSION_MIN,
                                qrcodegen_VERSION_MAX, qrcodegen_Mask_AUTO, true))
        return std::nullopt;

    const int size = qrcodegen_getSize(code.data());
    const int across = size + 2 * kQrQuietZone;
    std::string svg = R"(<svg xmlns="http://www.w3.org/2000/svg" width=")";
    appendNumber(svg, across * kQrModulePixels);
    svg += R"(" height=")";
    appendNumber(svg, across * kQrModulePixels);
    svg += R"(" viewBox="0 0 )";
    appendNumber(svg, across);
    svg += ' ';
    appendNumber(svg, across);
    svg += R"(" shape-rendering="crispEdges"><rect width="100%" height="100%" fill=")";
    svg += hexColour(kQrLight);
    svg += R"("/><path fill=")";
    svg += hexColour(kQrDark);
    svg += R"(" d=")";
    // Each row's runs of dark modules as one rectangle apiece.
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size;) {
            if (!qrcodegen_getModule(code.data(), x, y)) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < size && qrcodegen_getModule(code.data(), x, y))
                ++x;
            svg += 'M';
            appendNumber(svg, start + kQrQuietZone);
            svg += ' ';
            appendNumber(svg, y + kQrQuietZone);
            svg += 'h';
            appendNumber(svg, x - start);
            svg += "v1h-";
            appendNumber(svg, x - start);
            svg += 'z';
        }
    }
    svg += R"("/></svg>)";
    return svg;
}

} // namespace versomat
