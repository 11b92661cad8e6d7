#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace versomat {

// 1-based position of the first occurrence of sought in text at or after the
// 1-based position start; 0 when there is none (also for start beyond the end).
std::size_t findFrom(std::size_t start, std::u16string_view text, std::u16string_view sought);

// The same text with A-Z lowered to a-z; every other character stays as it is.
std::u16string lowerAscii(std::u16string_view text);

} // namespace versomat
