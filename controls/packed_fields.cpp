#include "controls/packed_fields.h"

#include <algorithm>
#include <limits>

namespace versomat {
namespace {

constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

// Base64url without padding, over the text's 16-bit units (little-endian).
std::string encode(std::u16string_view text)
{
    const auto byte = [text](std::size_t i) -> std::uint32_t {
        const char16_t unit = text[i / 2];
        return i % 2 == 0 ? unit & 0xFFu : unit >> 8;
    };
    const std::size_t size = 2 * text.size();
    std::string out;
    out.reserve(size / 3 * 4 + 4);
    for (std::size_t i = 0; i < size; i += 3) {
        const std::uint32_t chunk =
            (byte(i) << 16) | (i + 1 < size ? byte(i + 1) << 8 : 0) | (i + 2 < size ? byte(i + 2) : 0);
        const std::size_t digits = std::min<std::size_t>(4, (size - i) * 4 / 3 + 1);
        for (std::size_t d = 0; d < digits; ++d)
            out += kDigits[(chunk >> (18 - 6 * d)) & 63];
    }
    return out;
}

std::optional<std::u16string> decode(std::string_view packed)
{
    std::u16string text;
    text.reserve(packed.size() * 3 / 8);
    std::uint32_t bits = 0;
    int count = 0;
    std::uint32_t low = 0;
    bool haveLow = false;
    for (const char c : packed) {
        const char* at = std::char_traits<char>::find(kDigits, 64, c);
        if (!at || c == '\0')
            return std::nullopt;
        bits = (bits << 6) | static_cast<std::uint32_t>(at - kDigits);
        if ((count += 6) >= 8) {
            count -= 8;
            const std::uint32_t byte = (bits >> count) & 0xFFu;
            if (haveLow)
                text += static_cast<char16_t>(low | (byte << 8));
            else
                low = byte;
            haveLow = !haveLow;
        }
    }
    // Leftover bits must be the zero padding the encoder writes.
    if (count >= 6 || (bits & ((1u << count) - 1)) != 0 || haveLow)
        return std::nullopt;
    return text;
}

// FNV-1a over the 16-bit units.
std::uint64_t checkSum(std::u16string_view text)
{
    std::uint64_t sum = 14695981039346656037u;
    for (const char16_t unit : text) {
        sum = (sum ^ (unit & 0xFFu)) * 1099511628211u;
        sum = (sum ^ (unit >> 8)) * 1099511628211u;
    }
    return sum;
}

std::u16string digitsOf(std::uint64_t value, unsigned base)
{
    std::u16string digits;
    do {
        digits.insert(digits.begin(), u"0123456789abcdef"[value % base]);
        value /= base;
    } while (value != 0);
    return digits;
}

// Each field as its length in units, ":" and the field.
void addField(std::u16string& payload, std::u16string_view field)
{
    payload += decimalField(field.size());
    payload += u':';
    payload += field;
}

// Takes the length and its ":" off the front. None for a length that is
// missing, has a leading zero or runs past what follows it: it is checked
// digit by digit, so no number of digits can overflow a 32-bit size.
std::optional<std::size_t> takeLength(std::u16string_view& rest)
{
    std::size_t length = 0;
    std::size_t digits = 0;
    for (; digits < rest.size() && rest[digits] != u':'; ++digits) {
        const char16_t c = rest[digits];
        if (c < u'0' || c > u'9' || (digits > 0 && rest[0] == u'0') || length > rest.size() / 10)
            return std::nullopt;
        length = length * 10 + static_cast<std::size_t>(c - u'0');
    }
    if (digits == 0 || digits == rest.size())
        return std::nullopt;
    rest.remove_prefix(digits + 1);
    if (length > rest.size())
        return std::nullopt;
    return length;
}

} // namespace

std::string packFields(std::u16string_view format, std::span<const std::u16string> fields)
{
    std::u16string payload(format);
    for (const std::u16string& field : fields)
        addField(payload, field);
    addField(payload, hexField(checkSum(payload)));
    return encode(payload);
}

std::optional<std::vector<std::u16string>> unpackFields(std::string_view packed, std::u16string_view format)
{
    const std::optional<std::u16string> payload = decode(packed);
    if (!payload || !payload->starts_with(format))
        return std::nullopt;
    std::u16string_view rest = std::u16string_view(*payload).substr(format.size());
    std::vector<std::u16string> fields;
    std::size_t summed = 0; // the units before the check sum's field
    while (!rest.empty()) {
        summed = payload->size() - rest.size();
        const std::optional<std::size_t> length = takeLength(rest);
        if (!length)
            return std::nullopt;
        fields.emplace_back(rest.substr(0, *length));
        rest.remove_prefix(*length);
    }
    if (fields.empty() || fields.back() != hexField(checkSum(std::u16string_view(*payload).substr(0, summed))))
        return std::nullopt;
    fields.pop_back();
    return fields;
}

std::u16string hexField(std::uint64_t value)
{
    return digitsOf(value, 16);
}

std::u16string decimalField(std::uint64_t value)
{
    return digitsOf(value, 10);
}

std::optional<std::uint64_t> numberOf(std::u16string_view field, unsigned base)
{
    if (field.empty() || (field.size() > 1 && field[0] == u'0'))
        return std::nullopt;
    std::uint64_t value = 0;
    for (const char16_t c : field) {
        const unsigned digit = c >= u'0' && c <= u'9' ? c - u'0' : c >= u'a' && c <= u'f' ? c - u'a' + 10 : base;
        if (digit >= base || value > (std::numeric_limits<std::uint64_t>::max() - digit) / base)
            return std::nullopt;
        value = value * base + digit;
    }
    return value;
}

} // namespace versomat
