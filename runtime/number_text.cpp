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

bool isDecimalMark(char16_t c)
{
    // German writes a decimal comma; both marks read alike.
    return c == u'.' || c == u',';
}

// Reads a number's parts left to right; each step starts where the last one
// stopped.
class NumberScanner {
public:
    NumberScanner(std::u16string_view text, NumberPrefix& out) : m_text(text), m_out(out) {}

    // Returns false when the text holds no number at its start.
    bool scan()
    {
        skipBlanksAndSign();
        if (!scanMantissa())
            return false;
        const long long exponent = scanExponent();
        // The first significant digit d at index p (0-based from the first
        // digit) stands for d * 10^(integerDigits - 1 - p + exponent).
        m_out.leadingExponent = saturatingAdd(exponent, m_integerDigits - 1 - m_firstSignificant);
        return true;
    }

private:
    bool more() const { return m_at < m_text.size(); }
    char16_t here() const { return m_text[m_at]; }

    void skipBlanksAndSign()
    {
        while (more() && (here() == u' ' || here() == u'\t'))
            ++m_at;
        if (more() && (here() == u'+' || here() == u'-')) {
            m_out.negative = here() == u'-';
            ++m_at;
        }
    }

    // Appends the digits from m_at on to the magnitude; `before` counts the
    // digits of the number that precede them. Returns how many were read.
    long long takeDigits(long long before)
    {
        long long count = 0;
        for (; more() && isDigit(here()); ++m_at, ++count) {
            if (!m_out.hasNonZeroDigit && here() != u'0') {
                m_out.hasNonZeroDigit = true;
                m_firstSignificant = before + count;
            }
            m_out.magnitude.push_back(static_cast<char>(here()));
        }
        return count;
    }

    // Digits with an optional decimal mark and fraction; a lone mark is no
    // number, so the scan then stops before it.
    bool scanMantissa()
    {
        m_integerDigits = takeDigits(0);
        if (more() && isDecimalMark(here())) {
            const std::size_t mark = m_at;
            const std::size_t magnitudeBefore = m_out.magnitude.size();
            m_out.magnitude += '.';
            ++m_at;
            const long long fractionDigits = takeDigits(m_integerDigits);
            if (m_integerDigits == 0 && fractionDigits == 0) {
                m_at = mark;
                m_out.magnitude.resize(magnitudeBefore);
            }
        }
        return m_out.magnitude.size() > 0;
    }

    // "e" or "E", an optional sign and digits; anything less is not an
    // exponent and is left unread. Returns the exponent, saturated.
    long long scanExponent()
    {
        if (!more() || (here() != u'e' && here() != u'E'))
            return 0;
        std::size_t at = m_at + 1;
        bool negative = false;
        if (at < m_text.size() && (m_text[at] == u'+' || m_text[at] == u'-')) {
            negative = m_text[at] == u'-';
            ++at;
        }
        if (at >= m_text.size() || !isDigit(m_text[at]))
            return 0;
        m_at = at;
        m_out.magnitude += negative ? "e-" : "e";
        long long exponent = 0;
        for (; more() && isDigit(here()); ++m_at) {
            m_out.magnitude.push_back(static_cast<char>(here()));
            exponent =
                saturatingAdd(exponent * 10 > kExponentSaturation ? kExponentSaturation : exponent * 10, here() - u'0');
        }
        return negative ? -exponent : exponent;
    }

    std::u16string_view m_text;
    NumberPrefix& m_out;
    std::size_t m_at = 0;
    long long m_integerDigits = 0;
    long long m_firstSignificant = 0; // digits before the first non-zero one
};

template <typename T>
T parseNumber(std::u16string_view text)
{
    NumberPrefix prefix;
    if (!NumberScanner(text, prefix).scan())
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
