#include "controls/json_string.h"

namespace versomat {
namespace {

constexpr bool isHighSurrogate(char16_t unit) { return unit >= 0xd800 && unit < 0xdc00; }
constexpr bool isLowSurrogate(char16_t unit) { return unit >= 0xdc00 && unit < 0xe000; }

template <typename Char>
void appendEscaped(std::basic_string<Char>& json, unsigned unit)
{
    constexpr char kDigits[] = "0123456789abcdef";
    json += Char('\\');
    json += Char('u');
    for (const int shift : {12, 8, 4, 0})
        json += Char(kDigits[(unit >> shift) & 15]);
}

template <typename Char>
void appendQuoted(std::basic_string<Char>& json, std::basic_string_view<Char> text)
{
    json += Char('"');
    for (std::size_t i = 0; i < text.size(); ++i) {
        const Char c = text[i];
        const auto unit = static_cast<std::make_unsigned_t<Char>>(c);
        switch (unit) {
        case '"': json += Char('\\'), json += Char('"'); break;
        case '\\': json += Char('\\'), json += Char('\\'); break;
        case '\n': json += Char('\\'), json += Char('n'); break;
        case '\r': json += Char('\\'), json += Char('r'); break;
        case '\t': json += Char('\\'), json += Char('t'); break;
        default:
            if (unit < 0x20) {
                appendEscaped(json, unit);
            } else if constexpr (sizeof(Char) == 2) {
                if (isHighSurrogate(c) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
                    json += c;
                    json += text[++i];
                } else if (isHighSurrogate(c) || isLowSurrogate(c)) {
                    appendEscaped(json, unit);
                } else {
                    json += c;
                }
            } else {
                json += c;
            }
        }
    }
    json += Char('"');
}

} // namespace

void appendJsonString(std::string& json, std::string_view utf8) { appendQuoted(json, utf8); }

void appendJsonString(std::u16string& json, std::u16string_view text) { appendQuoted(json, text); }

} // namespace versomat
