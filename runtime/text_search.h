#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace versomat {

// The one line break of every text the program reads or writes.
inline constexpr std::u16string_view kLineBreak = u"\r\n";

// The text with kLineBreak appended unless it already ends with one, so that
// a last line without a break still counts as a line and a text that has one
// gains no empty line. "" becomes "\r\n".
std::u16string withFinalLineBreak(std::u16string_view text);

// 1-based position of the first occurrence of sought in text at or after the
// 1-based position start; 0 when there is none (also for start beyond the end).
std::size_t findFrom(std::size_t start, std::u16string_view text, std::u16string_view sought);

// The same text with A-Z lowered to a-z; every other character stays as it is.
std::u16string lowerAscii(std::u16string_view text);

} // namespace versomat
