// Feeds any text to the probability sheet reader, and the same bytes, taken
// as raw numbers, through the writer and back.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

#include "fuzz/fuzz_support.h"
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
std::optional<ProbabilityValues> readByLines(std::u16string_view sheet)
{
    const std::u16string text = fuzz::withFinalLineBreak(sheet);
    ProbabilityValues values;
    std::size_t found = 0;
    for (std::size_t start = 0; start < text.size() && found < 13;) {
        const std::size_t end = text.find(fuzz::kLineBreak, start);
        const std::u16string_view line = std::u16string_view(text).substr(start, end - start);
        const std::size_t equals = line.find(u'=');
        if (equals == std::u16string_view::npos && start == 0)
            return std::nullopt;
        if (equals != std::u16string_view::npos) {
            const std::u16string_view piece = line.substr(equals + 1);
            if (found < values.w.size())
                values.w[found] = textToNumber(piece);
            else
                values.w13 = textToSingle(piece);
            ++found;
        }
        start = end + fuzz::kLineBreak.size();
    }
    if (found < 13)
        return std::nullopt;
    return values;
}

void checkReader(std::u16string_view sheet)
{
    const std::optional<ProbabilityValues> read = readProbabilitySheet(sheet);
    const std::optional<ProbabilityValues> byLines = readByLines(sheet);
    check(read.has_value() == byLines.has_value(), "reader and line-by-line reading disagree on readability");
    check(!read || sameValues(*read, *byLines), "reader and line-by-line reading disagree on a value");

    GeneratorState state;
    InitTables(state);
    applyProbabilityValues(state, earlierValues());
    const std::int16_t counter = state.PoemCounter;
    const bool accepted = acceptProbabilitySheet(state, sheet);
    check(accepted == read.has_value(), "accepting disagrees with reading");
    check(sameValues(probabilityValuesOf(state), accepted ? *read : earlierValues()),
          accepted ? "accepted values differ from the values read" : "an unreadable sheet changed a value");
    check(state.PoemCounter == counter && state.TablesReady == 1, "accepting a sheet touched other state");
    if (!read)
        return;

    check(allFinite(*read), "a value read from a sheet is not finite");
    if (!sheet.ends_with(fuzz::kLineBreak)) {
        const std::optional<ProbabilityValues> closed = readProbabilitySheet(fuzz::withFinalLineBreak(sheet));
        check(closed && sameValues(*closed, *read), "a final line break changed what the sheet reads as");
    }
    const std::optional<ProbabilityValues> again = readProbabilitySheet(writeProbabilitySheet(*read));
    check(again && sameValues(*again, *read), "values read from a sheet do not survive writing");
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
    const std::u16string sheet = writeProbabilitySheet(values);
    const std::optional<ProbabilityValues> read = readProbabilitySheet(sheet);
    check(read.has_value(), "a written sheet cannot be read");
    check(sameValues(*read, values), "a written sheet reads back to other values");
}

} // namespace
} // namespace versomat

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    versomat::checkReader(versomat::fuzz::textFromBytes(data, size));
    versomat::checkWriter(versomat::valuesFromBytes(data, size));
    return 0;
}
