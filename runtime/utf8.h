#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace versomat {

// UTF-8 form of a core text, for whatever leaves the program as bytes (the
// control table for the scripts and the web page). A lone surrogate, which
// UTF-8 cannot carry, comes out as U+FFFD.
std::string toUtf8(std::u16string_view text);

// As toUtf8, but a lone surrogate is written as UTF-8 writes any other
// three-byte character, so that every core text comes back exactly (a
// link's lists may hold one, typed or pasted).
std::string toGeneralizedUtf8(std::u16string_view text);

// The text toGeneralizedUtf8 wrote those bytes from; none for bytes it never
// writes: a broken or overlong sequence, a character past U+10FFFF, or a
// surrogate pair written as two lone surrogates.
std::optional<std::u16string> fromGeneralizedUtf8(std::string_view bytes);

} // namespace versomat
