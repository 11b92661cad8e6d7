// Feeds any text to each of the four word-list readers. The reader must keep
// every last index inside its list, store only text that stands in the box,
// and leave older entries above the new last index alone.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "runtime/text_search.h"
#include "wordlists/word_lists.h"

namespace versomat {
namespace {

using fuzz::check;

constexpr std::size_t kMinPlainEntryLength = 3;

// A state whose lists all hold the examples, so that slots the new text does
// not reach still carry something to compare against.
GeneratorState stateWithExamples()
{
    GeneratorState state;
    for (const WordListKind kind : kAllWordLists)
        acceptWordList(state, kind, fillExample(state, kind));
    return state;
}

bool sameListsExcept(const GeneratorState& a, const GeneratorState& b, WordListKind changed)
{
    const bool actors =
        changed == WordListKind::Actors || (a.ActorList == b.ActorList && a.ActorCounts == b.ActorCounts);
    const bool objects =
        changed == WordListKind::Objects || (a.ObjectList == b.ObjectList && a.ObjectCounts == b.ObjectCounts);
    const bool verbs = changed == WordListKind::Verbs || (a.VerbList == b.VerbList && a.VerbLast == b.VerbLast);
    const bool adjectives = changed == WordListKind::Adjectives ||
                            (a.AdjectiveList == b.AdjectiveList && a.AdjectiveLast == b.AdjectiveLast);
    return actors && objects && verbs && adjectives;
}

// A plain list is the text's leading run of lines of at least three
// characters, cut at 51: entry i+1 starts right after entry i's line break.
void checkPlainList(std::u16string_view text, const PlainList& entries, std::int16_t last, const PlainList& before)
{
    check(last >= -1 && last < static_cast<int>(kPlainSlots), "plain last index out of range");
    std::size_t at = 0;
    for (int i = 0; i <= last; ++i) {
        const std::u16string& entry = entries[static_cast<std::size_t>(i)];
        check(entry.size() >= kMinPlainEntryLength, "plain entry shorter than three characters");
        check(text.substr(at, entry.size()) == entry, "plain entry is not the next line of the text");
        at += entry.size();
        check(text.substr(at, 2) == kLineBreak, "plain entry does not end at a line break");
        at += 2;
    }
    if (last + 1 < static_cast<int>(kPlainSlots) && at < text.size()) {
        const std::size_t nextLineLength = text.find(kLineBreak, at) - at;
        check(nextLineLength < kMinPlainEntryLength, "plain list stopped before a usable line");
    }
    for (std::size_t i = static_cast<std::size_t>(last + 1); i < kPlainSlots; ++i)
        check(entries[i] == before[i], "plain slot above the last index was changed");
}

// Each noun stands in the text after a blank and before a line break, the
// nouns of one class in the order of their lines.
void checkNounList(std::u16string_view text, const NounList& nouns, const NounLasts& lasts, const NounList& before)
{
    int stored = 0;
    for (std::size_t k = 0; k < kNounClasses; ++k) {
        check(lasts[k] >= -1 && lasts[k] < static_cast<int>(kNounSlots), "noun last index out of range");
        stored += lasts[k] + 1;
        std::size_t searchFrom = 0;
        for (int i = 0; i <= lasts[k]; ++i) {
            const std::u16string& noun = nouns[k][static_cast<std::size_t>(i)];
            check(noun.find(kLineBreak) == std::u16string::npos, "noun holds a line break");
            std::u16string framed = u" ";
            framed += noun;
            framed += kLineBreak;
            const std::size_t at = text.find(framed, searchFrom);
            check(at != std::u16string_view::npos, "noun is not a line's text after a blank");
            searchFrom = at + 1;
        }
        for (std::size_t i = static_cast<std::size_t>(lasts[k] + 1); i < kNounSlots; ++i)
            check(nouns[k][i] == before[k][i], "noun slot above the last index was changed");
    }
    check(stored <= static_cast<int>(kNounSlots), "more nouns stored than lines read");
}

bool holdsSomething(std::u16string_view line)
{
    return line.find_first_not_of(u" \t") != std::u16string_view::npos;
}

// The lines of a text that ends in a line break.
std::vector<std::u16string_view> linesOf(std::u16string_view text)
{
    std::vector<std::u16string_view> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find(kLineBreak, start);
        lines.push_back(text.substr(start, end - start));
        start = end + kLineBreak.size();
    }
    return lines;
}

// Every line that holds something is stored or told about; only a short
// last line of a plain list may pass untold.
void checkReport(std::u16string_view text, const GeneratorState& state, WordListKind kind, const IntakeReport& report)
{
    const std::vector<std::u16string_view> lines = linesOf(text);
    int holding = 0;
    for (const std::u16string_view line : lines)
        holding += holdsSomething(line) ? 1 : 0;
    check((report.skippedLines == 0) == (report.firstSkippedLine == 0), "first skipped line without a count");
    if (report.firstSkippedLine != 0)
        check(report.firstSkippedText == lines.at(static_cast<std::size_t>(report.firstSkippedLine - 1)),
              "first skipped text is not its line");
    if (kind == WordListKind::Actors || kind == WordListKind::Objects) {
        int stored = 0;
        for (const std::int16_t last : kind == WordListKind::Actors ? state.ActorCounts : state.ObjectCounts)
            stored += last + 1;
        check(holding == stored + report.skippedLines + report.linesPastLimit, "a noun line passed untold");
        check(report.endingLine == 0, "a noun list reports an ending line");
        return;
    }
    const std::int16_t last = kind == WordListKind::Verbs ? state.VerbLast : state.AdjectiveLast;
    const PlainList& entries = kind == WordListKind::Verbs ? state.VerbList : state.AdjectiveList;
    int stored = 0;
    for (int i = 0; i <= last; ++i)
        stored += holdsSomething(entries[static_cast<std::size_t>(i)]) ? 1 : 0;
    const int untold = holding - stored - report.linesAfterEnding - report.linesPastLimit -
                       (report.endingLine != 0 && holdsSomething(lines.at(static_cast<std::size_t>(last + 1))) ? 1 : 0);
    check(untold == 0 || (untold == 1 && report.endingLine == 0), "a plain line passed untold");
    check(report.endingLine == 0 || report.endingLine == last + 2, "the ending line is not the one after the list");
    check(report.skippedLines == 0, "a plain list reports skipped lines");
}

void checkOneList(std::u16string_view boxText, WordListKind kind)
{
    const GeneratorState before = stateWithExamples();
    GeneratorState state = before;
    const IntakeReport report = acceptWordList(state, kind, boxText);
    check(state.ReadyFlags[static_cast<std::size_t>(kind)] == 1, "accepted list not marked ready");
    check(sameListsExcept(state, before, kind), "another list changed");

    const std::u16string text = withFinalLineBreak(boxText);
    switch (kind) {
    case WordListKind::Actors: checkNounList(text, state.ActorList, state.ActorCounts, before.ActorList); break;
    case WordListKind::Objects: checkNounList(text, state.ObjectList, state.ObjectCounts, before.ObjectList); break;
    case WordListKind::Verbs: checkPlainList(text, state.VerbList, state.VerbLast, before.VerbList); break;
    case WordListKind::Adjectives:
        checkPlainList(text, state.AdjectiveList, state.AdjectiveLast, before.AdjectiveList);
        break;
    }

    checkReport(text, state, kind, report);

    GeneratorState again = state;
    acceptWordList(again, kind, boxText);
    check(again.ActorList == state.ActorList && again.ActorCounts == state.ActorCounts &&
              again.ObjectList == state.ObjectList && again.ObjectCounts == state.ObjectCounts &&
              again.VerbList == state.VerbList && again.VerbLast == state.VerbLast &&
              again.AdjectiveList == state.AdjectiveList && again.AdjectiveLast == state.AdjectiveLast,
          "accepting the same text twice gave different lists");
}

} // namespace
} // namespace versomat

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::u16string boxText = versomat::fuzz::textFromBytes(data, size);
    for (const versomat::WordListKind kind : versomat::kAllWordLists)
        versomat::checkOneList(boxText, kind);
    return 0;
}
