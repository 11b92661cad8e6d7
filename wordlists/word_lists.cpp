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

// Positions are 1-based, as findFrom returns them. The text ends with a line
// break, so the search for one from any position inside it succeeds.
std::int16_t readPlainList(std::u16string_view text, PlainList& entries)
{
    const std::size_t length = text.size();
    std::size_t start = 1;
    std::int16_t last = -1;
    for (std::size_t i = 0; i < kPlainSlots; ++i) {
        const std::size_t lineEnd = findFrom(start, text, kLineBreak);
        const std::size_t lineLength = lineEnd - start;
        if (lineLength < kMinPlainEntryLength)
            break;
        entries[i] = text.substr(start - 1, lineLength);
        last = static_cast<std::int16_t>(i);
        start = lineEnd + kLineBreak.size();
        if (start >= length)
            break;
    }
    return last;
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

NounLasts readNounList(std::u16string_view text, NounList& nouns)
{
    const std::size_t length = text.size();
    std::array<std::int16_t, kNounClasses> stored{};
    std::size_t start = 1;
    for (std::size_t i = 0; i < kNounSlots; ++i) {
        // The blank is sought in the whole rest of the text: once none is
        // left, no later line can hold a noun and the list ends.
        const std::size_t blank = findFrom(start, text, u" ");
        const std::size_t lineEnd = findFrom(start, text, kLineBreak);
        if (blank == 0)
            break;
        // A blank only on a later line leaves this line without a first word;
        // it is skipped like any line of unknown class.
        if (blank < lineEnd) {
            const std::u16string_view firstWord = text.substr(start - 1, blank - start);
            const int k = classOfFirstWord(firstWord);
            if (k >= 0) {
                nouns[k][stored[k]] = text.substr(blank, lineEnd - blank - 1);
                ++stored[k];
            }
        }
        start = lineEnd + kLineBreak.size();
        if (start >= length)
            break;
    }
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

void acceptWordList(GeneratorState& state, WordListKind list, std::u16string_view boxText)
{
    const WordListRow& row = rowOf(list);
    const std::u16string text = withFinalLineBreak(boxText);
    if (row.isNounList)
        state.*row.nounLasts = readNounList(text, state.*row.nouns);
    else
        state.*row.last = readPlainList(text, state.*row.entries);
    state.ReadyFlags[static_cast<std::size_t>(list)] = 1;
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
