// Feeds any text to the probability sheet reader, and the same bytes, taken
// as raw numbers, through the writer and back.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <variant>

#include "fuzz/fuzz_support.h"
#include "runtime/text_search.h"
#include "runtime/number_text.h"
#include "settings/probability_sheet.h"

namespace versomat {
namespace {

using fuzz::check;
using fuzz::sameBits;

bool sameValues(const ProbabilityValues& a, const ProbabilityValues& b)
{
    for (std::size_t i = 0; i < a.w.size(); ++i) {
        if (!sameBits(a.w[i], b.w[i]))
            return false;
    }
    return sameBits(a.w13, b.w13);
}

bool allFinite(const ProbabilityValues& values)
{
    for (const double w : values.w) {
        if (!std::isfinite(w))
            return false;
    }
    return std::isfinite(values.w13);
}

// Values nobody would type, so that a reader which wrongly touches some of
// them is seen.
ProbabilityValues earlierValues()
{
    ProbabilityValues values;
    for (std::size_t i = 0; i < values.w.size(); ++i)
        values.w[i] = -1234.5 - static_cast<double>(i);
    values.w13 = -98.25f;
    return values;
}

// The sheet read line by line: the values stand after the first "=" of the
// first thirteen lines holding one, and the very first line must hold one.
// When there are fewer, the line to mend is the first one holding text but
// no "=", or else the line after the last value found.
std::variant<ProbabilityValues, SheetRefusal> readByLines(std::u16string_view sheet)
{
    const std::u16string text = withFinalLineBreak(sheet);
    ProbabilityValues values;
    int found = 0;
    int lastValueLine = 0;
    int firstLost = 0;
    int firstLostValue = 0;
    int line = 1;
    for (std::size_t start = 0; start < text.size() && found < 13; ++line) {
        const std::size_t end = text.find(kLineBreak, start);
        const std::u16string_view piece = std::u16string_view(text).substr(start, end - start);
        const std::size_t equals = piece.find(u'=');
        if (equals == std::u16string_view::npos && start == 0)
            return SheetRefusal{
                1, 1, text.find(u'=') == std::u16string::npos ? SheetFault::NoEquals : SheetFault::NoEqualsOnFirstLine};
        if (equals != std::u16string_view::npos) {
            const std::u16string_view number = piece.substr(equals + 1);
            if (found < 12)
                values.w[static_cast<std::size_t>(found)] = textToNumber(number);
            else
                values.w13 = textToSingle(number);
            ++found;
            lastValueLine = line;
        } else if (firstLost == 0 && piece.find_first_not_of(u" \t") != std::u16string_view::npos) {
            firstLost = line;
            firstLostValue = found + 1;
        }
        start = end + kLineBreak.size();
    }
    if (found < 13 && firstLost != 0)
        return SheetRefusal{found + 1, firstLost, SheetFault::LineLostEquals, firstLostValue};
    if (found < 13)
        return SheetRefusal{found + 1, lastValueLine + 1, SheetFault::ValuesMissing};
    return values;
}

void checkReader(std::u16string_view sheet)
{
    const std::variant<ProbabilityValues, SheetRefusal> reading = readProbabilitySheet(sheet);
    const ProbabilityValues* read = std::get_if<ProbabilityValues>(&reading);
    const std::variant<ProbabilityValues, SheetRefusal> byLines = readByLines(sheet);
    check(reading.index() == byLines.index(), "reader and line-by-line reading disagree on readability");
    check(read ? sameValues(*read, std::get<ProbabilityValues>(byLines))
               : std::get<SheetRefusal>(reading) == std::get<SheetRefusal>(byLines),
          read ? "reader and line-by-line reading disagree on a value"
               : "reader and line-by-line reading disagree on where the sheet fails");

    GeneratorState state;
    InitTables(state);
    applyProbabilityValues(state, earlierValues());
    const std::int16_t counter = state.PoemCounter;
    const std::optional<SheetRefusal> refusal = acceptProbabilitySheet(state, sheet);
    check(refusal.has_value() == (read == nullptr), "accepting disagrees with reading");
    check(sameValues(probabilityValuesOf(state), read ? *read : earlierValues()),
          read ? "accepted values differ from the values read" : "an unreadable sheet changed a value");
    check(state.PoemCounter == counter && state.TablesReady == 1, "accepting a sheet touched other state");
    if (!read)
        return;

    check(allFinite(*read), "a value read from a sheet is not finite");
    if (!sheet.ends_with(kLineBreak)) {
        const auto closed = readProbabilitySheet(withFinalLineBreak(sheet));
        check(std::holds_alternative<ProbabilityValues>(closed) &&
                  sameValues(std::get<ProbabilityValues>(closed), *read),
              "a final line break changed what the sheet reads as");
    }
    const auto again = readProbabilitySheet(writeProbabilitySheet(*read));
    check(std::holds_alternative<ProbabilityValues>(again) && sameValues(std::get<ProbabilityValues>(again), *read),
          "values read from a sheet do not survive writing");
}

// Twelve doubles and a single, straight from the bytes; non-finite ones are
// replaced, since the reader never yields them.
ProbabilityValues valuesFromBytes(const std::uint8_t* data, std::size_t size)
{
    std::uint8_t raw[sizeof(double) * 12 + sizeof(float)] = {};
    std::memcpy(raw, data, size < sizeof raw ? size : sizeof raw);
    ProbabilityValues values;
    for (std::size_t i = 0; i < values.w.size(); ++i) {
        std::memcpy(&values.w[i], raw + i * sizeof(double), sizeof(double));
        if (!std::isfinite(values.w[i]))
            values.w[i] = static_cast<double>(i);
    }
    std::memcpy(&values.w13, raw + 12 * sizeof(double), sizeof(float));
    if (!std::isfinite(values.w13))
        values.w13 = 0.5f;
    return values;
}

void checkWriter(const ProbabilityValues& values)
{
    std::u16string sheet = writeProbabilitySheet(values);
    for (int mark = 0; mark < 2; ++mark) {
        const auto read = readProbabilitySheet(sheet);
        check(std::holds_alternative<ProbabilityValues>(read), "a written sheet cannot be read");
        check(sameValues(std::get<ProbabilityValues>(read), values), "a written sheet reads back to other values");
        // A German decimal comma typed in place of every point reads the same.
        std::replace(sheet.begin(), sheet.end(), u'.', u',');
    }
}

} // namespace
} // namespace versomat

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    versomat::checkReader(versomat::fuzz::textFromBytes(data, size));
    versomat::checkWriter(versomat::valuesFromBytes(data, size));
    return 0;
}
