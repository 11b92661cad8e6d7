#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace versomat::fuzz {

// The input as 16-bit text, two bytes per character, low byte first; an odd
// last byte is dropped. Every code unit can occur, lone surrogates included.
inline std::u16string textFromBytes(const std::uint8_t* data, std::size_t size)
{
    std::u16string text(size / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    return text;
}

// A broken invariant aborts, which libFuzzer records as a crash together with
// the input that caused it.
[[noreturn]] inline void fail(const char* what)
{
    std::fprintf(stderr, "broken invariant: %s\n", what);
    std::abort();
}

inline void check(bool ok, const char* what)
{
    if (!ok)
        fail(what);
}

// Values must come back bit for bit: -0.0 and 0.0 compare equal otherwise.
template <typename T>
bool sameBits(const T& a, const T& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace versomat::fuzz
