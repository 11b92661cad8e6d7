#include "settings/probability_sheet.h"

#include "runtime/number_text.h"
#include "runtime/text_search.h"

namespace versomat {
namespace {

constexpr std::u16string_view kLineBreak = u"\r\n";
constexpr std::u16string_view kLabels[13] = {u"w1=", u"w2 = ", u"w3=",  u"w4=",  u"w5=",  u"w6=", u"w7=",
                                             u"w8=", u"w9=",   u"w10=", u"w11=", u"w12=", u"w13="};

} // namespace

ProbabilityValues probabilityValuesOf(const GeneratorState& state)
{
    ProbabilityValues values;
    for (std::size_t i = 0; i < kDoubleProbabilities.size(); ++i)
        values.w[i] = state.*kDoubleProbabilities[i];
    values.w13 = state.w13;
    return values;
}

void applyProbabilityValues(GeneratorState& state, const ProbabilityValues& values)
{
    for (std::size_t i = 0; i < kDoubleProbabilities.size(); ++i)
        state.*kDoubleProbabilities[i] = values.w[i];
    state.w13 = values.w13;
}

std::u16string writeProbabilitySheet(const ProbabilityValues& values)
{
    std::u16string sheet;
    for (std::size_t i = 0; i < values.w.size(); ++i) {
        sheet += kLabels[i];
        sheet += numberToText(values.w[i]);
        sheet += kLineBreak;
    }
    sheet += kLabels[12];
    sheet += numberToText(values.w13);
    sheet += kLineBreak;
    return sheet;
}

std::optional<ProbabilityValues> readProbabilitySheet(std::u16string_view sheet)
{
    std::u16string text(sheet);
    if (!text.ends_with(kLineBreak))
        text += kLineBreak;

    // Positions are 1-based, as findFrom gives them. The value's piece runs
    // from just after its "=" to the next line break.
    ProbabilityValues values;
    std::size_t lineBreak = 1;
    for (std::size_t k = 0; k < 13; ++k) {
        const std::size_t equals = findFrom(lineBreak, text, u"=");
        if (equals == 0)
            return std::nullopt;
        // The first value's line break is sought from the start; a break
        // before its "=" leaves no piece to read.
        lineBreak = findFrom(k == 0 ? 1 : equals, text, kLineBreak);
        if (lineBreak < equals)
            return std::nullopt;
        const std::u16string_view piece = std::u16string_view(text).substr(equals, lineBreak - equals - 1);
        if (k < values.w.size())
            values.w[k] = textToNumber(piece);
        else
            values.w13 = textToSingle(piece);
    }
    return values;
}

std::u16string showProbabilitySheet(GeneratorState& state)
{
    ensureTables(state);
    std::u16string sheet = writeProbabilitySheet(probabilityValuesOf(state));
    state.TablesReady = 1;
    return sheet;
}

bool acceptProbabilitySheet(GeneratorState& state, std::u16string_view sheet)
{
    const std::optional<ProbabilityValues> values = readProbabilitySheet(sheet);
    if (!values)
        return false;
    applyProbabilityValues(state, *values);
    return true;
}

} // namespace versomat
