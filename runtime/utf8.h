#pragma once

#include <string>
#include <string_view>

namespace versomat {

// UTF-8 form of a core text, for whatever leaves the program as bytes (the
// control table for the scripts and the web page). A lone surrogate, which
// UTF-8 cannot carry, comes out as U+FFFD.
std::string toUtf8(std::u16string_view text);

} // namespace versomat
