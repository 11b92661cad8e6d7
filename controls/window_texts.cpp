#include "controls/window_texts.h"

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "generator/poem_generator.h"
#include "runtime/number_text.h"
#include "runtime/text_search.h"

namespace versomat {
namespace {

constexpr int kValues = static_cast<int>(kProbabilityCount);

std::u16string numberText(int number)
{
    std::u16string text;
    for (const char c : std::to_string(number))
        text += static_cast<char16_t>(c);
    return text;
}

std::u16string join(std::initializer_list<std::u16string_view> pieces)
{
    std::u16string text;
    for (const std::u16string_view piece : pieces)
        text += piece;
    return text;
}

std::vector<std::u16string_view> linesOf(std::u16string_view text)
{
    std::vector<std::u16string_view> lines;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(kLineBreak, start);
        lines.push_back(text.substr(start, end == std::u16string_view::npos ? end : end - start));
        if (end == std::u16string_view::npos)
            return lines;
        start = end + kLineBreak.size();
    }
}

// The line for value k (1-based) as a sheet of the default values writes it,
// quoted.
std::u16string exampleLine(int value)
{
    GeneratorState state;
    InitTables(state);
    const std::u16string sheet = writeProbabilitySheet(probabilityValuesOf(state));
    const int line = std::clamp(value, 1, kValues);
    return join({u"„", linesOf(sheet)[static_cast<std::size_t>(line - 1)], u"“"});
}

std::u16string valueName(int value)
{
    return join({u"w", numberText(value)});
}

std::u16string foundText(int found)
{
    return join({u"(gefunden: ", numberText(found), u" von ", numberText(kValues), u" Werten)"});
}

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\u00a0';
}

std::u16string_view withoutBlanks(std::u16string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace

std::u16string quoted(std::u16string_view text)
{
    constexpr std::size_t kLongest = 40;
    std::u16string shown(text.substr(0, kLongest));
    if (text.size() > kLongest) {
        if (shown.size() > 1 && shown.back() >= 0xD800 && shown.back() <= 0xDBFF)
            shown.pop_back();
        shown += u"…";
    }
    return join({u"„", shown, u"“"});
}

const std::u16string_view kPoemCutMark = u"[Hier gekürzt: das Gedicht wäre länger als 131072 Zeichen geworden.]";
static_assert(kMaxPoemLength == 131072, "the cut mark names the limit");

std::u16string sheetValueNote(const SheetPieces& pieces, const ProbabilityValues& values)
{
    std::u16string note;
    for (std::size_t k = 0; k < kProbabilityCount; ++k) {
        const std::u16string_view piece = pieces[k];
        const std::size_t length = numberTextLength(piece);
        const std::u16string_view rest = withoutBlanks(piece.substr(length));
        if (rest.empty() && length > 0)
            continue;
        const std::u16string read = k < kDoubleProbabilityCount ? numberToText(values.w[k]) : numberToText(values.w13);
        if (note.empty())
            note = u"Übernommen, doch nicht jeder Wert war eine Zahl:";
        note += join({kLineBreak, valueName(static_cast<int>(k) + 1), u": "});
        if (length == 0 && rest.empty())
            note += join({u"kein Wert, gelesen als ", read});
        else if (length == 0)
            note += join({quoted(rest), u" ist keine Zahl, gelesen als ", read});
        else
            note += join({u"gelesen als ", read, u", ", quoted(rest), u" übergangen"});
    }
    // Each value is compared with a draw from 0 up to below 1, each in its own
    // direction; beyond 0 to 1 that comparison always comes out the same.
    bool rangeHeading = false;
    for (std::size_t k = 0; k < kProbabilityCount; ++k) {
        const bool single = k >= kDoubleProbabilityCount;
        const double value = single ? static_cast<double>(values.w13) : values.w[k];
        if (value >= 0 && value <= 1)
            continue;
        if (!rangeHeading) {
            note += note.empty() ? u"Übernommen, doch nicht jeder Wert liegt zwischen 0 und 1:"
                                 : u"\r\nNicht jeder Wert liegt zwischen 0 und 1:";
            rangeHeading = true;
        }
        note += join({kLineBreak, valueName(static_cast<int>(k) + 1), u": ",
                      single ? numberToText(values.w13) : numberToText(values.w[k]),
                      value > 1 ? u" liegt über 1 und zählt als Wahrscheinlichkeit 1"
                                : u" liegt unter 0 und zählt als Wahrscheinlichkeit 0",
                      u": die Entscheidung fällt immer gleich aus."});
    }
    return note;
}

std::u16string poemAnnouncement(std::u16string_view poem, bool cut)
{
    if (cut && poem.size() >= kPoemCutMark.size() + kLineBreak.size()) {
        const std::u16string_view lines = poem.substr(0, poem.size() - kPoemCutMark.size() - kLineBreak.size());
        return join({poemAnnouncement(lines, false), kLineBreak, kPoemCutMark});
    }
    if (poem.size() <= kAnnouncedPoemLength)
        return std::u16string(poem);
    // Whole lines only; the heading always fits.
    const std::size_t end = poem.rfind(kLineBreak, kAnnouncedPoemLength);
    const std::u16string_view lines = poem.substr(0, end == std::u16string_view::npos ? 0 : end);
    return join({lines, kLineBreak, u"Das Gedicht geht im Textfeld weiter."});
}

SheetHint sheetRefusalHint(const SheetRefusal& refusal)
{
    const std::u16string found = foundText(refusal.value - 1);
    switch (refusal.fault) {
    case SheetFault::NoEquals:
        return {join({u"Nicht übernommen: das Blatt enthält kein „=“.\r\nJede Zeile braucht die Form ", exampleLine(1),
                      u", eine Zeile je Wert von w1 bis w13."}),
                1};
    case SheetFault::NoEqualsOnFirstLine:
        return {join({u"Nicht übernommen: Zeile 1 enthält kein „=“, so fehlt der 1. Wert (w1).\r\n"
                      u"Die erste Zeile braucht die Form ",
                      exampleLine(1), u"."}),
                1};
    case SheetFault::LineLostEquals:
        return {join({u"Nicht übernommen: Zeile ", numberText(refusal.line), u" enthält kein „=“ ", found,
                      u".\r\nDie Zeile braucht die Form ", exampleLine(refusal.lineValue), u"."}),
                refusal.line};
    case SheetFault::ValuesMissing: break;
    }
    // The sheet simply ends too early: point at the last line that gave a
    // value.
    const int lastValueLine = std::max(refusal.line - 1, 1);
    const std::u16string after = join({u".\r\nNach Zeile ", numberText(lastValueLine)});
    if (refusal.value == kValues)
        return {join({u"Nicht übernommen: der ", numberText(refusal.value), u". Wert (", valueName(refusal.value),
                      u") fehlt ", found, after, u" fehlt die Zeile ", exampleLine(refusal.value), u"."}),
                lastValueLine};
    return {
        join({u"Nicht übernommen: die Werte ", valueName(refusal.value), u" bis ", valueName(kValues), u" fehlen ",
              found, after, u" fehlen die Zeilen ", exampleLine(refusal.value), u" bis ", exampleLine(kValues), u"."}),
        lastValueLine};
}

} // namespace versomat
