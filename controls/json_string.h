#pragma once

#include <string>
#include <string_view>

namespace versomat {

// Appends a text to JSON as one quoted string that JSON.parse gives back
// exactly: quotes, backslashes and control characters (NUL included) are
// escaped. In UTF-16, a lone surrogate is escaped too, as a decoder of the
// JSON's own units would replace it.
void appendJsonString(std::string& json, std::string_view utf8);
void appendJsonString(std::u16string& json, std::u16string_view text);

} // namespace versomat
