#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace versomat {

// Shortest decimal text that reads back to exactly the same value of the
// argument's own type: 0.7 -> "0.7", 2.0 -> "2", 1e-05 -> "1e-05".
std::u16string numberToText(double value);
std::u16string numberToText(float value);
std::u16string numberToText(std::int16_t value);

// The number written at the start of text after any blanks and tabs: an
// optional sign, digits with an optional decimal mark, "." or ",", and
// fraction (".5" and ",5" count) and an optional exponent. 0 when there is
// none; never inf or NaN: a value beyond the double range reads as the
// nearest finite double.
double textToNumber(std::u16string_view text);

// As textToNumber, rounded once to the nearest single; beyond the single
// range the nearest finite single.
float textToSingle(std::u16string_view text);

// How many characters at the start of text the two readers above take as
// the number, leading blanks included; 0 when they find none.
std::size_t numberTextLength(std::u16string_view text);

// The same conversions by exact integer arithmetic alone: what the functions
// above use where the standard library lacks floating-point <charconv>
// (WebAssembly). Tests hold both to the same results.
namespace exact {
std::u16string numberToText(double value);
std::u16string numberToText(float value);
double textToNumber(std::u16string_view text);
float textToSingle(std::u16string_view text);
} // namespace exact

} // namespace versomat
