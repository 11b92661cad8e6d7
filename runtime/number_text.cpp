#include "runtime/number_text.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

// The C library's conversions follow the C locale (the window sets the
// user's, where "." may be ","), so they are not used. Both directions have
// two kernels: floating-point <charconv> where the standard library has it,
// and exact arithmetic with a small big-integer type where it has not
// (WebAssembly). Both give the nearest value and the shortest exact digits,
// so the text and the values are the same on every platform; the scanner
// and the layout around them are shared. The exact kernel is the slower by
// far (a long division per digit count), too slow for the fuzzers.

namespace versomat {
namespace {

// Unsigned integer of any size, 32-bit limbs, least significant first; just
// what exact decimal <-> binary conversion needs.
class BigUnsigned {
public:
    explicit BigUnsigned(std::uint64_t value = 0)
    {
        for (; value != 0; value >>= 32)
            m_limbs.push_back(static_cast<std::uint32_t>(value));
    }

    bool isZero() const { return m_limbs.empty(); }

    long bitLength() const
    {
        if (m_limbs.empty())
            return 0;
        return 32 * static_cast<long>(m_limbs.size() - 1) + std::bit_width(m_limbs.back());
    }

    void multiplyAdd(std::uint32_t factor, std::uint32_t addend)
    {
        std::uint64_t carry = addend;
        for (std::uint32_t& limb : m_limbs) {
            const std::uint64_t product = std::uint64_t{limb} * factor + carry;
            limb = static_cast<std::uint32_t>(product);
            carry = product >> 32;
        }
        if (carry != 0)
            m_limbs.push_back(static_cast<std::uint32_t>(carry));
    }

    void multiplyByPowerOfTen(long exponent)
    {
        static constexpr std::uint32_t kPowers[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};
        for (; exponent >= 9; exponent -= 9)
            multiplyAdd(1'000'000'000, 0);
        multiplyAdd(kPowers[exponent], 0);
    }

    void shiftLeft(long bits)
    {
        if (isZero())
            return;
        m_limbs.insert(m_limbs.begin(), static_cast<std::size_t>(bits / 32), 0);
        const int rest = static_cast<int>(bits % 32);
        if (rest == 0)
            return;
        std::uint32_t carry = 0;
        for (std::uint32_t& limb : m_limbs) {
            const std::uint32_t next = limb >> (32 - rest);
            limb = (limb << rest) | carry;
            carry = next;
        }
        if (carry != 0)
            m_limbs.push_back(carry);
    }

    friend int compare(const BigUnsigned& a, const BigUnsigned& b)
    {
        if (a.m_limbs.size() != b.m_limbs.size())
            return a.m_limbs.size() < b.m_limbs.size() ? -1 : 1;
        for (std::size_t i = a.m_limbs.size(); i-- > 0;) {
            if (a.m_limbs[i] != b.m_limbs[i])
                return a.m_limbs[i] < b.m_limbs[i] ? -1 : 1;
        }
        return 0;
    }

    // *this -= other, where other <= *this.
    void subtract(const BigUnsigned& other)
    {
        std::int64_t borrow = 0;
        for (std::size_t i = 0; i < m_limbs.size(); ++i) {
            std::int64_t difference =
                std::int64_t{m_limbs[i]} - borrow - (i < other.m_limbs.size() ? other.m_limbs[i] : 0);
            borrow = difference < 0 ? 1 : 0;
            m_limbs[i] = static_cast<std::uint32_t>(difference + (borrow << 32));
        }
        trim();
    }

    // Divides *this by divisor, keeping the remainder in *this; the quotient
    // must fit in 63 bits.
    std::uint64_t divideBy(const BigUnsigned& divisor)
    {
        long bit = std::max(0L, bitLength() - divisor.bitLength());
        BigUnsigned shifted = divisor;
        shifted.shiftLeft(bit);
        std::uint64_t quotient = 0;
        for (; bit >= 0; --bit, shifted.halve()) {
            if (compare(*this, shifted) >= 0) {
                subtract(shifted);
                quotient |= std::uint64_t{1} << bit;
            }
        }
        return quotient;
    }

    std::string decimalDigits() const
    {
        BigUnsigned rest = *this;
        std::string digits;
        do {
            std::uint64_t remainder = 0;
            for (std::size_t i = rest.m_limbs.size(); i-- > 0;) {
                const std::uint64_t part = (remainder << 32) | rest.m_limbs[i];
                rest.m_limbs[i] = static_cast<std::uint32_t>(part / 10);
                remainder = part % 10;
            }
            rest.trim();
            digits.insert(digits.begin(), static_cast<char>('0' + remainder));
        } while (!rest.isZero());
        return digits;
    }

private:
    void halve()
    {
        for (std::size_t i = 0; i < m_limbs.size(); ++i)
            m_limbs[i] = (m_limbs[i] >> 1) | (i + 1 < m_limbs.size() ? m_limbs[i + 1] << 31 : 0);
        trim();
    }

    void trim()
    {
        while (!m_limbs.empty() && m_limbs.back() == 0)
            m_limbs.pop_back();
    }

    std::vector<std::uint32_t> m_limbs;
};

// A positive decimal: digits (the first not 0) times 10^scale.
struct Decimal {
    std::string digits;
    long scale = 0;
};

// The T nearest to a positive decimal, ties to even; beyond T's range
// infinity. The caller keeps the decimal within a few hundred powers
// of ten of T's range, so the integers stay a few thousand bits long.
template <typename T>
T nearestBinary(const Decimal& decimal)
{
    constexpr int kPrecision = std::numeric_limits<T>::digits;
    // Exponent of the lowest bit of the smallest subnormal.
    constexpr long kLowestBit = std::numeric_limits<T>::min_exponent - kPrecision;

    BigUnsigned numerator;
    for (const char digit : decimal.digits)
        numerator.multiplyAdd(10, static_cast<std::uint32_t>(digit - '0'));
    BigUnsigned denominator(1);
    if (decimal.scale >= 0)
        numerator.multiplyByPowerOfTen(decimal.scale);
    else
        denominator.multiplyByPowerOfTen(-decimal.scale);

    // Scale by 2^-exponent so the quotient has kPrecision + 2 or + 3 bits:
    // the kept bits, a rounding bit and one more; the remainder is the rest.
    const long exponent = numerator.bitLength() - denominator.bitLength() - (kPrecision + 2);
    if (exponent < 0)
        numerator.shiftLeft(-exponent);
    else
        denominator.shiftLeft(exponent);
    const std::uint64_t quotient = numerator.divideBy(denominator);
    const bool inexact = !numerator.isZero();

    const long topBit = std::bit_width(quotient) - 1 + exponent;
    const long lowestKept = std::max(topBit - kPrecision + 1, kLowestBit);
    const long dropped = lowestKept - exponent;
    std::uint64_t kept = 0;
    if (dropped < 64) {
        kept = quotient >> dropped;
        const std::uint64_t rest = quotient & ((std::uint64_t{1} << dropped) - 1);
        const std::uint64_t half = std::uint64_t{1} << (dropped - 1);
        if (rest > half || (rest == half && (inexact || (kept & 1) != 0)))
            ++kept;
    }
    // Not the largest finite T beyond the range: the reader takes such a
    // decimal as that, but it is no text of it.
    return std::ldexp(static_cast<T>(kept), static_cast<int>(lowestKept));
}

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

bool isDecimalMark(char16_t c)
{
    // German writes a decimal comma; both marks read alike.
    return c == u'.' || c == u',';
}

// More significant digits than any value's exact decimal form or halfway
// point needs (a double's have at most 767); the digits beyond only matter
// as "some are not zero", which one more digit 1 keeps.
constexpr std::size_t kKeptDigits = 800;

constexpr long long kExponentSaturation = 1'000'000'000;

long long saturatingAdd(long long a, long long b)
{
    return std::clamp(a + b, -kExponentSaturation, kExponentSaturation);
}

// The number-shaped prefix of a text: its significant digits and the
// decimal exponent of the first one.
struct NumberPrefix {
    std::string digits; // at most kKeptDigits + 1, the first not 0
    bool negative = false;
    long long leadingExponent = 0; // saturated; meaningful when digits is not empty
};

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

    // Where the number ends: the characters scan() took.
    std::size_t end() const { return m_at; }

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

    // Takes the digits from m_at on; `before` counts the digits of the
    // number that precede them. Returns how many were read.
    long long takeDigits(long long before)
    {
        long long count = 0;
        for (; more() && isDigit(here()); ++m_at, ++count) {
            std::string& digits = m_out.digits;
            if (digits.empty() && here() == u'0')
                continue;
            if (digits.empty())
                m_firstSignificant = before + count;
            if (digits.size() < kKeptDigits)
                digits.push_back(static_cast<char>(here()));
            else if (here() != u'0' && digits.size() == kKeptDigits)
                digits.push_back('1');
        }
        return count;
    }

    // Digits with an optional decimal mark and fraction; a lone mark is no
    // number, so the scan then stops before it.
    bool scanMantissa()
    {
        m_integerDigits = takeDigits(0);
        long long fractionDigits = 0;
        if (more() && isDecimalMark(here())) {
            ++m_at;
            fractionDigits = takeDigits(m_integerDigits);
            if (m_integerDigits == 0 && fractionDigits == 0)
                --m_at;
        }
        return m_integerDigits + fractionDigits > 0;
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
        long long exponent = 0;
        for (; more() && isDigit(here()); ++m_at)
            exponent = saturatingAdd(std::min(exponent * 10, kExponentSaturation), here() - u'0');
        return negative ? -exponent : exponent;
    }

    std::u16string_view m_text;
    NumberPrefix& m_out;
    std::size_t m_at = 0;
    long long m_integerDigits = 0;
    long long m_firstSignificant = 0; // digits before the first non-zero one
};

template <typename T, typename Kernel>
T parseNumber(std::u16string_view text)
{
    NumberPrefix prefix;
    if (!NumberScanner(text, prefix).scan())
        return T{0};
    T value{0};
    using Limits = std::numeric_limits<T>;
    if (prefix.digits.empty() || prefix.leadingExponent < Limits::min_exponent10 - Limits::max_digits10 - 2)
        value = T{0}; // far below half the smallest subnormal
    else if (prefix.leadingExponent > Limits::max_exponent10)
        value = Limits::max();
    else {
        while (prefix.digits.size() > 1 && prefix.digits.back() == '0')
            prefix.digits.pop_back();
        const long scale = static_cast<long>(prefix.leadingExponent) - static_cast<long>(prefix.digits.size() - 1);
        value = std::min(Kernel::template nearestBinary<T>({prefix.digits, scale}), Limits::max());
    }
    return prefix.negative ? -value : value;
}

// A positive finite double as mantissa * 2^exponent, exactly.
struct BinaryParts {
    std::uint64_t mantissa = 0;
    long exponent = 0;
};

BinaryParts binaryParts(double value)
{
    int exponent = 0;
    const double fraction = std::frexp(value, &exponent);
    constexpr int kBits = std::numeric_limits<double>::digits;
    return {static_cast<std::uint64_t>(std::ldexp(fraction, kBits)), exponent - kBits};
}

// All digits of a whole number.
std::string wholeNumberDigits(double value)
{
    const auto [mantissa, twos] = binaryParts(value);
    BigUnsigned whole(twos >= 0 ? mantissa : mantissa >> -twos);
    if (twos > 0)
        whole.shiftLeft(twos);
    return whole.decimalDigits();
}

// The decimal of `precision` significant digits nearest to a positive finite
// double, ties to even.
Decimal nearestDecimal(double value, int precision)
{
    const auto [mantissa, twos] = binaryParts(value);

    std::uint64_t limit = 1; // 10^precision
    for (int i = 0; i < precision; ++i)
        limit *= 10;
    // A first guess at the decimal exponent of the leading digit, corrected
    // below when the quotient has one digit too many or too few.
    long leading = static_cast<long>(std::floor(std::log10(value)));
    for (;;) {
        const long tens = precision - 1 - leading; // quotient = value * 10^tens
        BigUnsigned numerator(mantissa);
        BigUnsigned denominator(1);
        if (twos >= 0)
            numerator.shiftLeft(twos);
        else
            denominator.shiftLeft(-twos);
        if (tens >= 0)
            numerator.multiplyByPowerOfTen(tens);
        else
            denominator.multiplyByPowerOfTen(-tens);
        std::uint64_t quotient = numerator.divideBy(denominator);
        if (quotient >= limit) {
            ++leading;
            continue;
        }
        if (quotient < limit / 10) {
            --leading;
            continue;
        }
        numerator.shiftLeft(1);
        const int half = compare(numerator, denominator);
        if (half > 0 || (half == 0 && quotient % 2 != 0))
            ++quotient;
        long scale = -tens;
        if (quotient == limit) {
            quotient /= 10;
            ++scale;
        }
        return {std::to_string(quotient), scale};
    }
}

// The next decimal up with as many digits; may gain a digit ("99" -> "100").
Decimal nextUp(Decimal decimal)
{
    std::size_t at = decimal.digits.size();
    while (at > 0 && decimal.digits[at - 1] == '9')
        decimal.digits[--at] = '0';
    if (at == 0)
        decimal.digits.insert(decimal.digits.begin(), '1');
    else
        ++decimal.digits[at - 1];
    return decimal;
}

// Fewest significant digits that read back to the value, the nearest such
// decimal when several have that length.
template <typename T>
Decimal shortestDecimal(T value)
{
    for (int precision = 1;; ++precision) {
        const Decimal nearest = nearestDecimal(static_cast<double>(value), precision);
        const T reading = nearestBinary<T>(nearest);
        if (reading == value || precision >= std::numeric_limits<T>::max_digits10)
            return nearest;
        // Just below a power of two the values lie twice as close as just
        // above it, so a nearest decimal that fell below the value's range
        // may have a neighbour above that is within it; above the value the
        // range is never the narrower side.
        if (reading < value) {
            const Decimal above = nextUp(nearest);
            if (nearestBinary<T>(above) == value)
                return above;
        }
    }
}

// Fixed or exponent form, whichever is shorter in the fewest digits (fixed on
// a tie), as printf would write them in the "C" locale: 100, 0.001, 1e-05,
// 1e+16. A whole number in fixed form shows all its own digits, as printf
// does, rather than the fewest digits padded with zeros; both read back
// alike.
std::string layout(Decimal decimal, double value)
{
    while (decimal.digits.size() > 1 && decimal.digits.back() == '0') {
        decimal.digits.pop_back();
        ++decimal.scale;
    }
    const std::string& digits = decimal.digits;
    const long count = static_cast<long>(digits.size());
    const long leading = decimal.scale + count - 1;

    std::string scientific(1, digits[0]);
    if (count > 1)
        scientific.append(1, '.').append(digits, 1);
    const long magnitude = leading < 0 ? -leading : leading;
    scientific.append(leading < 0 ? "e-" : "e+").append(magnitude < 10 ? "0" : "").append(std::to_string(magnitude));

    const long fixedLength = decimal.scale >= 0 ? leading + 1 : leading >= 0 ? count + 1 : count + 1 - leading;
    if (fixedLength > static_cast<long>(scientific.size()))
        return scientific;
    if (decimal.scale >= 0)
        return wholeNumberDigits(value);
    std::string fixed;
    if (leading >= 0) {
        const auto point = static_cast<std::size_t>(leading + 1);
        fixed.append(digits, 0, point).append(1, '.').append(digits, point);
    } else {
        fixed.append("0.").append(static_cast<std::size_t>(-leading - 1), '0').append(digits);
    }
    return fixed;
}

// The exact kernel.
struct Exact {
    template <typename T>
    static T nearestBinary(const Decimal& decimal)
    {
        return versomat::nearestBinary<T>(decimal);
    }
    template <typename T>
    static Decimal shortestDecimal(T value)
    {
        return versomat::shortestDecimal(value);
    }
};

#if defined(__cpp_lib_to_chars)
// The standard library's kernel: from_chars rounds to nearest, to_chars
// gives the shortest digits that read back, the nearest such when several
// have that length, as the exact kernel does.
struct Standard {
    template <typename T>
    static T nearestBinary(const Decimal& decimal)
    {
        const std::string text = decimal.digits + 'e' + std::to_string(decimal.scale);
        T value{0};
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        (void)end;
        if (error == std::errc::result_out_of_range)
            return decimal.scale + static_cast<long>(decimal.digits.size()) > 0 ? std::numeric_limits<T>::infinity()
                                                                                : T{0};
        return value;
    }
    template <typename T>
    static Decimal shortestDecimal(T value)
    {
        char buffer[64];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
        const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
        const std::size_t e = text.find('e');
        Decimal decimal;
        for (const char c : text.substr(0, e))
            if (c != '.')
                decimal.digits.push_back(c);
        long exponent = 0;
        const std::string_view power = text.substr(e + 1);
        std::from_chars(power.data() + (power.front() == '+' ? 1 : 0), power.data() + power.size(), exponent);
        decimal.scale = exponent - static_cast<long>(decimal.digits.size() - 1);
        return decimal;
    }
};
using Fastest = Standard;
#else
using Fastest = Exact;
#endif

template <typename T, typename Kernel>
std::u16string shortestText(T value)
{
    std::string text = std::signbit(value) ? "-" : "";
    if (std::isnan(value))
        text += "nan";
    else if (std::isinf(value))
        text += "inf";
    else if (value == 0)
        text += "0";
    else
        text += layout(Kernel::shortestDecimal(std::fabs(value)), std::fabs(value));
    return std::u16string(text.begin(), text.end());
}

} // namespace

std::u16string numberToText(double value)
{
    return shortestText<double, Fastest>(value);
}

std::u16string numberToText(float value)
{
    return shortestText<float, Fastest>(value);
}

std::u16string numberToText(std::int16_t value)
{
    char buffer[8];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<int>(value));
    return std::u16string(buffer, result.ptr);
}

double textToNumber(std::u16string_view text)
{
    return parseNumber<double, Fastest>(text);
}

float textToSingle(std::u16string_view text)
{
    return parseNumber<float, Fastest>(text);
}

std::size_t numberTextLength(std::u16string_view text)
{
    NumberPrefix prefix;
    NumberScanner scanner(text, prefix);
    return scanner.scan() ? scanner.end() : 0;
}

namespace exact {

std::u16string numberToText(double value)
{
    return shortestText<double, Exact>(value);
}

std::u16string numberToText(float value)
{
    return shortestText<float, Exact>(value);
}

double textToNumber(std::u16string_view text)
{
    return parseNumber<double, Exact>(text);
}

float textToSingle(std::u16string_view text)
{
    return parseNumber<float, Exact>(text);
}

} // namespace exact

} // namespace versomat
