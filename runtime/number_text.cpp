#include "runtime/number_text.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace versomat {
namespace {

std::u16string widen(const char* first, const char* last)
{
    return std::u16string(first, last);
}

template <typename T>
std::u16string shortestText(T value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return widen(buffer, result.ptr);
}

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// The number-shaped prefix of a text, unsigned and narrowed to ASCII so the
// standard parser can read it, plus what is needed to tell an overflow from an
// underflow when that parser gives up.
struct NumberPrefix {
    std::string magnitude;
    bool negative = false;
    // Decimal exponent of the first significant digit, saturated; only
    // meaningful when hasNonZeroDigit.
    long long leadingExponent = 0;
    bool hasNonZeroDigit = false;
};

constexpr long long kExponentSaturation = 1'000'000'000;

long long saturatingAdd(long long a, long long b)
{
    const long long sum = a + b;
    if (sum > kExponentSaturation)
        return kExponentSaturation;
    if (sum < -kExponentSaturation)
        return -kExponentSaturation;
    return sum;
}

// Returns false when the text holds no number at its start.
bool scanNumber(std::u16string_view text, NumberPrefix& out)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        out.negative = text[i] == u'-';
        ++i;
    }

    long long digitsBeforeFirstSignificant = 0; // position of the first non-zero digit relative to the point
    long long integerDigits = 0;
    bool anyDigit = false;
    while (i < n && isDigit(text[i])) {
        if (!out.hasNonZeroDigit && text[i] != u'0') {
            out.hasNonZeroDigit = true;
            digitsBeforeFirstSignificant = integerDigits;
        }
        out.magnitude.push_back(static_cast<char>(text[i]));
        ++integerDigits;
        anyDigit = true;
        ++i;
    }
    long long fractionDigits = 0;
    if (i < n && text[i] == u'.') {
        std::size_t j = i + 1;
        std::string fraction;
        while (j < n && isDigit(text[j])) {
            if (!out.hasNonZeroDigit && text[j] != u'0') {
                out.hasNonZeroDigit = true;
                digitsBeforeFirstSignificant = integerDigits + fractionDigits;
            }
            fraction.push_back(static_cast<char>(text[j]));
            ++fractionDigits;
            ++j;
        }
        if (anyDigit || fractionDigits > 0) {
            out.magnitude += '.';
            out.magnitude += fraction;
            anyDigit = true;
            i = j;
        }
    }
    if (!anyDigit)
        return false;

    long long exponent = 0;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        std::size_t j = i + 1;
        bool negativeExponent = false;
        if (j < n && (text[j] == u'+' || text[j] == u'-')) {
            negativeExponent = text[j] == u'-';
            ++j;
        }
        if (j < n && isDigit(text[j])) {
            out.magnitude += negativeExponent ? "e-" : "e";
            while (j < n && isDigit(text[j])) {
                out.magnitude.push_back(static_cast<char>(text[j]));
                exponent = saturatingAdd(exponent * 10 > kExponentSaturation ? kExponentSaturation : exponent * 10,
                                         text[j] - u'0');
                ++j;
            }
            if (negativeExponent)
                exponent = -exponent;
        }
    }
    // The first significant digit d at index p (0-based from the first
    // digit) stands for d * 10^(integerDigits - 1 - p + exponent).
    out.leadingExponent = saturatingAdd(exponent, integerDigits - 1 - digitsBeforeFirstSignificant);
    return true;
}

template <typename T>
T parseNumber(std::u16string_view text)
{
    NumberPrefix prefix;
    if (!scanNumber(text, prefix))
        return T{0};
    T value{};
    const char* first = prefix.magnitude.data();
    const char* last = first + prefix.magnitude.size();
    const auto result = std::from_chars(first, last, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large or too small for T: the nearest finite value is the
        // largest one or zero.
        const bool overflow = prefix.hasNonZeroDigit && prefix.leadingExponent > 0;
        value = overflow ? std::numeric_limits<T>::max() : T{0};
    } else if (result.ec != std::errc{}) {
        value = T{0};
    }
    return prefix.negative ? -value : value;
}

} // namespace

std::u16string numberToText(double value)
{
    return shortestText(value);
}

std::u16string numberToText(float value)
{
    return shortestText(value);
}

std::u16string numberToText(std::int16_t value)
{
    return shortestText(static_cast<int>(value));
}

double textToNumber(std::u16string_view text)
{
    return parseNumber<double>(text);
}

float textToSingle(std::u16string_view text)
{
    return parseNumber<float>(text);
}

} // namespace versomat
