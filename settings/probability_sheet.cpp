#include "settings/probability_sheet.h"

#include <utility>

#include "runtime/number_text.h"
#include "runtime/text_search.h"

namespace versomat {
namespace {

constexpr std::u16string_view kLabels[kProbabilityCount] = {u"w1=", u"w2 = ", u"w3=",  u"w4=",  u"w5=",  u"w6=", u"w7=",
                                                            u"w8=", u"w9=",   u"w10=", u"w11=", u"w12=", u"w13="};

// 1-based line of a 1-based position.
int lineOf(std::u16string_view text, std::size_t position)
{
    int line = 1;
    for (std::size_t at = findFrom(1, text, kLineBreak); at != 0 && at < position;
         at = findFrom(at + kLineBreak.size(), text, kLineBreak))
        ++line;
    return line;
}

// The first line after firstLine that holds something but no "=": where a
// sheet that ran out of "=" most likely lost one, since the search for the
// next "=" passes over such lines. Its line is 0 when there is none.
struct LostLine {
    int line = 0;
    int linesWithEquals = 0; // above it
};

LostLine firstLineWithoutEquals(std::u16string_view text, int firstLine)
{
    int withEquals = 0;
    int line = 1;
    for (std::size_t start = 0; start < text.size(); ++line) {
        std::size_t end = text.find(kLineBreak, start);
        if (end == std::u16string_view::npos)
            end = text.size();
        const std::u16string_view content = text.substr(start, end - start);
        const bool hasEquals = content.find(u'=') != std::u16string_view::npos;
        if (line > firstLine && !hasEquals && content.find_first_not_of(u" \t") != std::u16string_view::npos)
            return {line, withEquals};
        withEquals += hasEquals ? 1 : 0;
        start = end + kLineBreak.size();
    }
    return {};
}

} // namespace

ProbabilityValues startProbabilityValues()
{
    GeneratorState state;
    InitTables(state);
    return probabilityValuesOf(state);
}

ProbabilityValues probabilityValuesOf(const GeneratorState& state)
{
    ProbabilityValues values;
    for (std::size_t i = 0; i < kDoubleProbabilityCount; ++i)
        values.w[i] = state.*kDoubleProbabilities[i];
    values.w13 = state.w13;
    return values;
}

void applyProbabilityValues(GeneratorState& state, const ProbabilityValues& values)
{
    for (std::size_t i = 0; i < kDoubleProbabilityCount; ++i)
        state.*kDoubleProbabilities[i] = values.w[i];
    state.w13 = values.w13;
}

std::u16string writeProbabilitySheet(const ProbabilityValues& values)
{
    std::u16string sheet;
    for (std::size_t i = 0; i < kProbabilityCount; ++i) {
        sheet += kLabels[i];
        sheet += i < kDoubleProbabilityCount ? numberToText(values.w[i]) : numberToText(values.w13);
        sheet += kLineBreak;
    }
    return sheet;
}

std::variant<ProbabilityValues, SheetRefusal> readProbabilitySheet(std::u16string_view sheet, SheetPieces* pieces)
{
    const std::u16string text = withFinalLineBreak(sheet);

    // Positions are 1-based, as findFrom gives them. The value's piece runs
    // from just after its "=" to the next line break.
    ProbabilityValues values;
    SheetPieces read;
    std::size_t lineBreak = 1;
    std::size_t previousEquals = 0;
    std::size_t firstEquals = 0;
    for (std::size_t k = 0; k < kProbabilityCount; ++k) {
        const int value = static_cast<int>(k) + 1;
        const std::size_t equals = findFrom(lineBreak, text, u"=");
        if (equals == 0 && k == 0)
            return SheetRefusal{value, 1, SheetFault::NoEquals};
        if (equals == 0) {
            const LostLine lost = firstLineWithoutEquals(text, lineOf(text, firstEquals));
            if (lost.line != 0)
                return SheetRefusal{value, lost.line, SheetFault::LineLostEquals, lost.linesWithEquals + 1};
            return SheetRefusal{value, lineOf(text, previousEquals) + 1, SheetFault::ValuesMissing};
        }
        if (k == 0)
            firstEquals = equals;
        // The first value's line break is sought from the start; a break
        // before its "=" leaves no piece to read.
        lineBreak = findFrom(k == 0 ? 1 : equals, text, kLineBreak);
        if (lineBreak < equals)
            return SheetRefusal{value, 1, SheetFault::NoEqualsOnFirstLine};
        const std::u16string_view piece = std::u16string_view(text).substr(equals, lineBreak - equals - 1);
        if (k < kDoubleProbabilityCount)
            values.w[k] = textToNumber(piece);
        else
            values.w13 = textToSingle(piece);
        read[k] = piece;
        previousEquals = equals;
    }
    if (pieces)
        *pieces = std::move(read);
    return values;
}

std::u16string showProbabilitySheet(GeneratorState& state)
{
    ensureTables(state);
    std::u16string sheet = writeProbabilitySheet(probabilityValuesOf(state));
    state.TablesReady = 1;
    return sheet;
}

std::optional<SheetRefusal> acceptProbabilitySheet(GeneratorState& state, std::u16string_view sheet,
                                                   SheetPieces* pieces)
{
    const std::variant<ProbabilityValues, SheetRefusal> reading = readProbabilitySheet(sheet, pieces);
    if (const SheetRefusal* refusal = std::get_if<SheetRefusal>(&reading))
        return *refusal;
    // Tables still unfilled would be filled by the next poem, defaults and
    // all, over the values taken here.
    ensureTables(state);
    applyProbabilityValues(state, std::get<ProbabilityValues>(reading));
    return std::nullopt;
}

} // namespace versomat
