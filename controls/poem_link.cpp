#include "controls/poem_link.h"

#include <limits>
#include <variant>
#include <vector>

#include "generator/poem_generator.h"

namespace versomat {
namespace {

// Bumped whenever the fields change, so an old link is refused, not misread.
constexpr std::u16string_view kFormat = u"VM1";
// Lists, sheet, state, increment, counter, prefix, and a check sum of all
// before it, so that a link damaged on its way is refused, not misread.
constexpr std::size_t kFields = kWordLists + 6;

constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

// Base64url without padding, over the text's 16-bit units (little-endian):
// the lists may hold any unit, a lone surrogate included, and must come back
// exactly.
std::string encode(std::u16string_view text)
{
    const auto byte = [text](std::size_t i) -> std::uint32_t {
        const char16_t unit = text[i / 2];
        return i % 2 == 0 ? unit & 0xFFu : unit >> 8;
    };
    const std::size_t size = 2 * text.size();
    std::string out;
    for (std::size_t i = 0; i < size; i += 3) {
        const std::uint32_t chunk =
            (byte(i) << 16) | (i + 1 < size ? byte(i + 1) << 8 : 0) | (i + 2 < size ? byte(i + 2) : 0);
        const std::size_t digits = std::min<std::size_t>(4, (size - i) * 4 / 3 + 1);
        for (std::size_t d = 0; d < digits; ++d)
            out += kDigits[(chunk >> (18 - 6 * d)) & 63];
    }
    return out;
}

std::optional<std::u16string> decode(std::string_view link)
{
    std::string bytes;
    std::uint32_t bits = 0;
    int count = 0;
    for (const char c : link) {
        const char* at = std::char_traits<char>::find(kDigits, 64, c);
        if (!at || c == '\0')
            return std::nullopt;
        bits = (bits << 6) | static_cast<std::uint32_t>(at - kDigits);
        if ((count += 6) >= 8) {
            count -= 8;
            bytes += static_cast<char>(bits >> count);
        }
    }
    // Leftover bits must be the zero padding the encoder writes.
    if (count >= 6 || (bits & ((1u << count) - 1)) != 0 || bytes.size() % 2 != 0)
        return std::nullopt;
    std::u16string text;
    for (std::size_t i = 0; i < bytes.size(); i += 2)
        text += static_cast<char16_t>(static_cast<std::uint8_t>(bytes[i]) | (static_cast<std::uint8_t>(bytes[i + 1]) << 8));
    return text;
}

std::u16string asciiText(std::string_view ascii)
{
    return std::u16string(ascii.begin(), ascii.end());
}

std::string hex(std::uint64_t value)
{
    std::string digits;
    do {
        digits.insert(digits.begin(), "0123456789abcdef"[value & 15]);
        value >>= 4;
    } while (value != 0);
    return digits;
}

// Each field as its length in units, ":" and the field.
void addField(std::u16string& payload, std::u16string_view field)
{
    payload += asciiText(std::to_string(field.size()));
    payload += u':';
    payload += field;
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

std::optional<std::vector<std::u16string_view>> fieldsOf(std::u16string_view payload)
{
    const std::u16string_view whole = payload;
    if (!payload.starts_with(kFormat))
        return std::nullopt;
    payload.remove_prefix(kFormat.size());
    std::vector<std::u16string_view> fields;
    while (!payload.empty()) {
        const std::size_t colon = payload.find(u':');
        if (colon == 0 || colon == std::u16string_view::npos || colon > 12)
            return std::nullopt;
        std::size_t length = 0;
        for (const char16_t c : payload.substr(0, colon)) {
            if (c < u'0' || c > u'9')
                return std::nullopt;
            length = length * 10 + static_cast<std::size_t>(c - u'0');
        }
        payload.remove_prefix(colon + 1);
        if (length > payload.size())
            return std::nullopt;
        fields.push_back(payload.substr(0, length));
        payload.remove_prefix(length);
    }
    if (fields.size() != kFields)
        return std::nullopt;
    const std::u16string_view sum = fields.back();
    const std::size_t summed = whole.size() - sum.size() - asciiText(std::to_string(sum.size())).size() - 1;
    if (sum != asciiText(hex(checkSum(whole.substr(0, summed)))))
        return std::nullopt;
    return fields;
}

// A whole number in the given base (10 or 16, lower-case digits), all of
// the field; none for anything else or more than 64 bits.
std::optional<std::uint64_t> numberOf(std::u16string_view field, unsigned base)
{
    if (field.empty() || field.size() > (base == 16 ? 16u : 19u))
        return std::nullopt;
    std::uint64_t value = 0;
    for (const char16_t c : field) {
        const unsigned digit = c >= u'0' && c <= u'9' ? c - u'0' : c >= u'a' && c <= u'f' ? c - u'a' + 10 : base;
        if (digit >= base)
            return std::nullopt;
        value = value * base + digit;
    }
    return value;
}

} // namespace

std::string poemLinkOf(const PoemOrigin& origin)
{
    std::u16string payload(kFormat);
    for (const std::u16string& list : origin.lists)
        addField(payload, list);
    addField(payload, writeProbabilitySheet(origin.values));
    addField(payload, asciiText(hex(origin.random.state)));
    addField(payload, asciiText(hex(origin.random.increment)));
    addField(payload, asciiText(std::to_string(origin.counter)));
    addField(payload, origin.randomStart ? kRandomStartPrefix : u"");
    addField(payload, asciiText(hex(checkSum(payload))));
    return encode(payload);
}

std::optional<PoemOrigin> readPoemLink(std::string_view link)
{
    const std::optional<std::u16string> payload = decode(link);
    if (!payload)
        return std::nullopt;
    const auto fields = fieldsOf(*payload);
    if (!fields)
        return std::nullopt;
    PoemOrigin origin;
    for (std::size_t i = 0; i < kWordLists; ++i)
        origin.lists[i] = (*fields)[i];
    const auto values = readProbabilitySheet((*fields)[kWordLists]);
    const auto state = numberOf((*fields)[kWordLists + 1], 16);
    const auto increment = numberOf((*fields)[kWordLists + 2], 16);
    const auto counter = numberOf((*fields)[kWordLists + 3], 10);
    const std::u16string_view prefix = (*fields)[kWordLists + 4];
    if (!std::holds_alternative<ProbabilityValues>(values) || !state || !increment || (*increment & 1u) == 0 ||
        !counter || *counter < 1 || *counter > static_cast<std::uint64_t>(std::numeric_limits<std::int16_t>::max()) ||
        (!prefix.empty() && prefix != kRandomStartPrefix))
        return std::nullopt;
    origin.values = std::get<ProbabilityValues>(values);
    origin.random = {*state, *increment};
    origin.counter = static_cast<std::int16_t>(*counter);
    origin.randomStart = !prefix.empty();
    return origin;
}

} // namespace versomat
