#include "controls/json_string.h"

#include <type_traits>

namespace versomat {
namespace {

constexpr bool isHighSurrogate(char16_t unit)
{
    return unit >= 0xd800 && unit < 0xdc00;
}
constexpr bool isLowSurrogate(char16_t unit)
{
    return unit >= 0xdc00 && unit < 0xe000;
}

template <typename Char>
void appendEscaped(std::basic_string<Char>& json, unsigned unit)
{
    constexpr char kDigits[] = "0123456789abcdef";
    json += Char('\\');
    json += Char('u');
    for (const int shift : {12, 8, 4, 0})
        json += Char(kDigits[(unit >> shift) & 15]);
}

// Whether a unit needs more than itself: quotes, backslashes, control
// characters and surrogates (which are written as they are when paired).
template <typename Char>
bool needsCare(Char c)
{
    const auto unit = static_cast<std::make_unsigned_t<Char>>(c);
    return unit < 0x20 || unit == '"' || unit == '\\' || (unit >= 0xd800 && unit < 0xe000 && sizeof(Char) == 2);
}

template <typename Char>
void appendCared(std::basic_string<Char>& json, std::basic_string_view<Char> text, std::size_t& i)
{
    const auto unit = static_cast<std::make_unsigned_t<Char>>(text[i]);
    const auto pair = [&json](char escape) {
        json += Char('\\');
        json += Char(escape);
    };
    switch (unit) {
    case '"': pair('"'); return;
    case '\\': pair('\\'); return;
    case '\n': pair('n'); return;
    case '\r': pair('r'); return;
    case '\t': pair('t'); return;
    default: break;
    }
    if constexpr (sizeof(Char) == 2) {
        if (isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            json += text[i];
            json += text[++i];
            return;
        }
    }
    appendEscaped(json, unit);
}

// Units written as they are go in runs, not one by one: a poem's answer is
// mostly such units, and the page waits for it.
template <typename Char>
void appendQuoted(std::basic_string<Char>& json, std::basic_string_view<Char> text)
{
    json += Char('"');
    std::size_t run = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!needsCare(text[i]))
            continue;
        json.append(text.substr(run, i - run));
        appendCared(json, text, i);
        run = i + 1;
    }
    json.append(text.substr(run));
    json += Char('"');
}

} // namespace

void appendJsonString(std::string& json, std::string_view utf8)
{
    appendQuoted(json, utf8);
}

void appendJsonString(std::u16string& json, std::u16string_view text)
{
    appendQuoted(json, text);
}

} // namespace versomat
