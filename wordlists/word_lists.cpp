#include "wordlists/word_lists.h"

#include <span>

#include "runtime/text_search.h"

namespace versomat {
namespace {

constexpr std::size_t kMinPlainEntryLength = 3;
constexpr std::size_t kClassPrefixLength = 2;

constexpr std::u16string_view kActorLines[] = {u"der Mann", u"die Frau",    u"das Kind", u"der Esel",   u"viele Bäume",
                                               u"der Tor",  u"die Tochter", u"der Sohn", u"viele Enkel"};
constexpr std::u16string_view kObjectLines[] = {
    u"das Obst",     u"das Radio", u"Der Topf",   u"viele Früchte", u"das Geld",  u"das Haus",  u"der Hof",
    u"das Geschirr", u"Der Tisch", u"die Kleine", u"die Freude",    u"das Kleid", u"der Freund"};
constexpr std::u16string_view kVerbLines[] = {u"besitzt", u"küsst",    u"kauft",  u"trinkt", u"hört",
                                              u"liebt",   u"verliert", u"erlebt", u"lobt"};
// The leading blank belongs to each adjective: the poem joins it directly
// after an article.
constexpr std::u16string_view kAdjectiveLines[] = {u" alt",  u" jung", u" schön", u" braun",  u" lieb",
                                                   u" treu", u" gut",  u" dumm",  u" häßlich"};

// One row per list; the accept and example routines are driven by it.
struct WordListRow {
    bool isNounList;
    NounList GeneratorState::*nouns;
    NounLasts GeneratorState::*nounLasts;
    PlainList GeneratorState::*entries;
    std::int16_t GeneratorState::*last;
    std::u16string GeneratorState::*example;
    std::span<const std::u16string_view> exampleLines;
};

const WordListRow kRows[kWordLists] = {
    {true, &GeneratorState::ActorList, &GeneratorState::ActorCounts, nullptr, nullptr, &GeneratorState::ActorExample,
     kActorLines},
    {true, &GeneratorState::ObjectList, &GeneratorState::ObjectCounts, nullptr, nullptr, &GeneratorState::ObjectExample,
     kObjectLines},
    {false, nullptr, nullptr, &GeneratorState::VerbList, &GeneratorState::VerbLast, &GeneratorState::VerbExample,
     kVerbLines},
    {false, nullptr, nullptr, &GeneratorState::AdjectiveList, &GeneratorState::AdjectiveLast,
     &GeneratorState::AdjectiveExample, kAdjectiveLines},
};

bool holdsSomething(std::u16string_view line)
{
    return line.find_first_not_of(u" \t") != std::u16string_view::npos;
}

// Calls visit(line, number) for each line from the 1-based position start
// on, the first numbered firstLine.
template <typename Visit>
void forEachLineFrom(std::u16string_view text, std::size_t start, int firstLine, Visit visit)
{
    for (int line = firstLine; start < text.size(); ++line) {
        const std::size_t lineEnd = findFrom(start, text, kLineBreak);
        visit(text.substr(start - 1, lineEnd - start), line);
        start = lineEnd + kLineBreak.size();
    }
}

int linesHoldingSomethingFrom(std::u16string_view text, std::size_t start)
{
    int count = 0;
    forEachLineFrom(text, start, 0, [&](std::u16string_view line, int) { count += holdsSomething(line) ? 1 : 0; });
    return count;
}

// Positions are 1-based, as findFrom returns them. The text ends with a line
// break, so the search for one from any position inside it succeeds.
std::int16_t readPlainList(std::u16string_view text, PlainList& entries, IntakeReport& report)
{
    const std::size_t length = text.size();
    std::size_t start = 1;
    std::int16_t last = -1;
    for (std::size_t i = 0; i < kPlainSlots; ++i) {
        const std::size_t lineEnd = findFrom(start, text, kLineBreak);
        const std::size_t lineLength = lineEnd - start;
        if (lineLength < kMinPlainEntryLength) {
            // Empty lines at the end are how many texts end: only lines
            // that hold something make the short line worth a word.
            const int after = linesHoldingSomethingFrom(text, lineEnd + kLineBreak.size());
            if (after > 0) {
                report.endingLine = static_cast<int>(i) + 1;
                report.linesAfterEnding = after;
            }
            return last;
        }
        entries[i] = text.substr(start - 1, lineLength);
        last = static_cast<std::int16_t>(i);
        start = lineEnd + kLineBreak.size();
        if (start >= length)
            return last;
    }
    report.linesPastLimit = linesHoldingSomethingFrom(text, start);
    return last;
}

void noteSkipped(IntakeReport& report, std::u16string_view line, int number)
{
    if (!holdsSomething(line))
        return;
    if (report.skippedLines++ == 0) {
        report.firstSkippedLine = number;
        report.firstSkippedText = line;
    }
}

int classOfFirstWord(std::u16string_view firstWord)
{
    static constexpr std::u16string_view kPrefixes[kNounClasses] = {u"de", u"di", u"da", u"vi"};
    const std::u16string prefix = lowerAscii(firstWord.substr(0, kClassPrefixLength));
    for (std::size_t k = 0; k < kNounClasses; ++k) {
        if (prefix == kPrefixes[k])
            return static_cast<int>(k);
    }
    return -1;
}

NounLasts readNounList(std::u16string_view text, NounList& nouns, IntakeReport& report)
{
    constexpr int kLinesRead = static_cast<int>(kNounSlots);
    const std::size_t length = text.size();
    std::array<std::int16_t, kNounClasses> stored{};
    std::size_t start = 1;
    bool textLeft = true;
    for (std::size_t i = 0; i < kNounSlots; ++i) {
        const int line = static_cast<int>(i) + 1;
        // The blank is sought in the whole rest of the text: once none is
        // left, no later line can hold a noun and the list ends.
        const std::size_t blank = findFrom(start, text, u" ");
        const std::size_t lineEnd = findFrom(start, text, kLineBreak);
        if (blank == 0) {
            // To the user these lines are skipped like any other of no class.
            forEachLineFrom(text, start, line, [&](std::u16string_view rest, int number) {
                if (number <= kLinesRead)
                    noteSkipped(report, rest, number);
                else
                    report.linesPastLimit += holdsSomething(rest) ? 1 : 0;
            });
            textLeft = false;
            break;
        }
        // A blank only on a later line leaves this line without a first word;
        // it is skipped like any line of unknown class.
        int k = -1;
        if (blank < lineEnd) {
            const std::u16string_view firstWord = text.substr(start - 1, blank - start);
            k = classOfFirstWord(firstWord);
            if (k >= 0) {
                nouns[k][stored[k]] = text.substr(blank, lineEnd - blank - 1);
                ++stored[k];
            }
        }
        if (k < 0)
            noteSkipped(report, text.substr(start - 1, lineEnd - start), line);
        start = lineEnd + kLineBreak.size();
        if (start >= length) {
            textLeft = false;
            break;
        }
    }
    if (textLeft)
        report.linesPastLimit = linesHoldingSomethingFrom(text, start);
    NounLasts lasts{};
    for (std::size_t k = 0; k < kNounClasses; ++k)
        lasts[k] = static_cast<std::int16_t>(stored[k] - 1);
    return lasts;
}

const WordListRow& rowOf(WordListKind list)
{
    return kRows[static_cast<std::size_t>(list)];
}

} // namespace

IntakeReport acceptWordList(GeneratorState& state, WordListKind list, std::u16string_view boxText)
{
    const WordListRow& row = rowOf(list);
    const std::u16string text = withFinalLineBreak(boxText);
    IntakeReport report;
    if (row.isNounList)
        state.*row.nounLasts = readNounList(text, state.*row.nouns, report);
    else
        state.*row.last = readPlainList(text, state.*row.entries, report);
    state.ReadyFlags[static_cast<std::size_t>(list)] = 1;
    return report;
}

const std::u16string& fillExample(GeneratorState& state, WordListKind list)
{
    const WordListRow& row = rowOf(list);
    std::u16string text;
    for (const std::u16string_view line : row.exampleLines) {
        text += line;
        text += kLineBreak;
    }
    state.*row.example = std::move(text);
    return state.*row.example;
}

} // namespace versomat
