#include "controls/packed_fields.h"

#include <algorithm>
#include <limits>

namespace versomat {
namespace {

constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

// The text's 16-bit units, low byte first.
std::string bytesOf(std::u16string_view text)
{
    std::string bytes;
    bytes.reserve(2 * text.size());
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFFu);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
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

std::string base64url(std::string_view text)
{
    const auto bytes = [text](std::size_t i) -> std::uint32_t { return static_cast<unsigned char>(text[i]); };
    const std::size_t size = text.size();
    std::string out;
    out.reserve(size / 3 * 4 + 4);
    for (std::size_t i = 0; i < size; i += 3) {
        const std::uint32_t chunk =
            (bytes(i) << 16) | (i + 1 < size ? bytes(i + 1) << 8 : 0) | (i + 2 < size ? bytes(i + 2) : 0);
        const std::size_t digits = std::min<std::size_t>(4, (size - i) * 4 / 3 + 1);
        for (std::size_t d = 0; d < digits; ++d)
            out += kDigits[(chunk >> (18 - 6 * d)) & 63];
    }
    return out;
}

std::optional<std::string> bytesOfBase64url(std::string_view text)
{
    std::string bytes;
    bytes.reserve(text.size() * 3 / 4);
    std::uint32_t bits = 0;
    int count = 0;
    for (const char c : text) {
        const char* at = std::char_traits<char>::find(kDigits, 64, c);
        if (!at || c == '\0')
            return std::nullopt;
        bits = (bits << 6) | static_cast<std::uint32_t>(at - kDigits);
        if ((count += 6) >= 8) {
            count -= 8;
            bytes += static_cast<char>((bits >> count) & 0xFFu);
        }
    }
    // Leftover bits must be the zero padding the encoder writes.
    if (count >= 6 || (bits & ((1u << count) - 1)) != 0)
        return std::nullopt;
    return bytes;
}

std::u16string fieldsPayload(std::u16string_view format, std::span<const std::u16string> fields)
{
    std::u16string payload(format);
    for (const std::u16string& field : fields)
        addField(payload, field);
    addField(payload, hexField(checkSum(payload)));
    return payload;
}

std::string packFields(std::u16string_view format, std::span<const std::u16string> fields)
{
    return base64url(bytesOf(fieldsPayload(format, fields)));
}

std::optional<std::vector<std::u16string>> unpackFields(std::string_view packed, std::u16string_view format)
{
    const std::optional<std::string> bytes = bytesOfBase64url(packed);
    if (!bytes || bytes->size() % 2 != 0)
        return std::nullopt;
    std::u16string payload(bytes->size() / 2, u'\0');
    for (std::size_t i = 0; i < payload.size(); ++i) {
        payload[i] = static_cast<char16_t>(static_cast<unsigned char>((*bytes)[2 * i]) |
                                           (static_cast<unsigned char>((*bytes)[2 * i + 1]) << 8));
    }
    return fieldsOfPayload(payload, format);
}

std::optional<std::vector<std::u16string>> fieldsOfPayload(std::u16string_view payload, std::u16string_view format)
{
    if (!payload.starts_with(format))
        return std::nullopt;
    std::u16string_view rest = payload.substr(format.size());
    std::vector<std::u16string> fields;
    std::size_t summed = 0; // the units before the check sum's field
    while (!rest.empty()) {
        summed = payload.size() - rest.size();
        const std::optional<std::size_t> length = takeLength(rest);
        if (!length)
            return std::nullopt;
        fields.emplace_back(rest.substr(0, *length));
        rest.remove_prefix(*length);
    }
    if (fields.empty() || fields.back() != hexField(checkSum(payload.substr(0, summed))))
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
