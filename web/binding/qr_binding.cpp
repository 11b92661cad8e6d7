// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Versomat developers
// The page's QR code module, apart from the core so that the page loads it
// only when a QR code is first asked for. Texts cross as UTF-8; qr_binding.js
// wraps the call.

#include <emscripten/emscripten.h>

#include <cstddef>
#include <optional>
#include <string>

#include "controls/qr_code.h"

// The SVG of the text's QR code, kept until the next call; null for a text
// too long for any QR code.
extern "C" EMSCRIPTEN_KEEPALIVE const char* versomat_qr_svg(const char* text, std::size_t length)
{
    static std::string svg;
    const std::optional<std::string> made = versomat::qrCodeSvg({text, length});
    if (!made)
        return nullptr;
    svg = *made;
    return svg.c_str();
}
