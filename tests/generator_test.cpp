#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "generator/poem_generator.h"
#include "settings/probability_sheet.h"
#include "wordlists/word_lists.h"
#include "test_text.h"
#include "tests/golden_sessions.h"

namespace versomat {
namespace {

using golden::acceptExamples;
using testing::utf8;

using Text = std::u16string;

std::vector<Text> splitLines(const Text& poem)
{
    std::vector<Text> lines;
    std::size_t start = 0;
    for (std::size_t at; (at = poem.find(u"\r\n", start)) != Text::npos; start = at + 2)
        lines.push_back(poem.substr(start, at - start));
    lines.push_back(poem.substr(start));
    return lines;
}

// The poem's lines without its heading.
std::vector<Text> verseLines(const Text& poem)
{
    std::vector<Text> lines = splitLines(poem);
    lines.erase(lines.begin());
    return lines;
}

struct Values {
    double w1 = 0.7, w2 = 0.9, w3 = 0.1, w4 = 0.15, w5 = 0.2, w6 = 0.3;
    double w7 = 0.35, w8 = 0.4, w9 = 0.3, w10 = 0.5, w11 = 0.85, w12 = 0.9;
    float w13 = 0.1f;
};

void setValues(GeneratorState& state, const Values& v)
{
    ensureTables(state);
    state.w1 = v.w1, state.w2 = v.w2, state.w3 = v.w3, state.w4 = v.w4, state.w5 = v.w5, state.w6 = v.w6;
    state.w7 = v.w7, state.w8 = v.w8, state.w9 = v.w9, state.w10 = v.w10, state.w11 = v.w11, state.w12 = v.w12;
    state.w13 = v.w13;
}

int countConjunctions(const Text& line)
{
    static const Text kWords[] = {u" und ",        u" oder ", u" aber ", u" auch ",   u" nicht ",
                                  u" vielleicht ", u" also ", u" so ",   u" dennoch "};
    int count = 0;
    for (const Text& word : kWords) {
        for (std::size_t at = line.find(word); at != Text::npos; at = line.find(word, at + 1))
            ++count;
    }
    return count;
}

// After an intended change of the grammar, VERSOMAT_RENEW_GOLDEN=1 rewrites
// the files from the code instead and prints what changed.
TEST(GoldenPoems, SessionsGiveTheIndependentModelsPoems)
{
    const char* renew = std::getenv("VERSOMAT_RENEW_GOLDEN");
    if (renew && std::string_view(renew) == "1") {
        const golden::Renewal renewal = golden::renewGoldenSessions(VERSOMAT_GOLDEN_DIR);
        for (const std::string& line : renewal.report)
            std::cout << line << "\n";
        if (renewal.poemsChanged != 0)
            std::cout << "The renewed files now come from this code: say so in tests/golden/README.md and renew its "
                         "SHA-256 lines (sha256sum tests/golden/*.txt).\n";
        return;
    }
    for (const std::string& failure : golden::replayGoldenSessions(VERSOMAT_GOLDEN_DIR))
        ADD_FAILURE() << failure;
}

TEST(PoemGenerator, RefusalTakesNoDrawAndKeepsTheNumber)
{
    GeneratorState state;
    RandomSource random;
    for (const WordListKind list : {WordListKind::Actors, WordListKind::Objects, WordListKind::Verbs})
        acceptWordList(state, list, fillExample(state, list));
    Text refusal;
    EXPECT_EQ(composePoemOrRefusal(state, random, refusal), PoemOutcome::MissingData);
    EXPECT_EQ(refusal, kMissingDataMessage);
    EXPECT_EQ(state.TablesReady, 1);
    EXPECT_EQ(state.PoemCounter, 1);
    acceptWordList(state, WordListKind::Adjectives, fillExample(state, WordListKind::Adjectives));

    GeneratorState neverRefused;
    RandomSource neverRefusedRandom;
    acceptExamples(neverRefused);
    EXPECT_EQ(utf8(composePoemOrRefusal(state, random)), utf8(composePoemOrRefusal(neverRefused, neverRefusedRandom)));
}

TEST(PoemGenerator, RandomStartMarksEveryLaterHeading)
{
    GeneratorState state;
    RandomSource random;
    startRandomly(state, random);
    EXPECT_EQ(composePoemOrRefusal(state, random), kMissingDataMessage);
    EXPECT_EQ(state.TitlePrefix, kRandomStartPrefix);
    acceptExamples(state);
    EXPECT_TRUE(composePoemOrRefusal(state, random).starts_with(u"Zufalls-Poem-Text 1\r\n"));
    EXPECT_TRUE(composePoemOrRefusal(state, random).starts_with(u"Zufalls-Poem-Text 2\r\n"));
}

TEST(PoemGenerator, CounterStopsAtItsLargestValue)
{
    GeneratorState state;
    RandomSource random;
    acceptExamples(state);
    ensureTables(state);
    state.PoemCounter = 32766;
    const char16_t* expected[] = {u"Poem-Text 32766\r\n", u"Poem-Text 32767\r\n", u"Poem-Text 32767\r\n"};
    for (const char16_t* heading : expected)
        EXPECT_TRUE(composePoemOrRefusal(state, random).starts_with(heading)) << utf8(heading);
    EXPECT_EQ(state.PoemCounter, 32767);
}

TEST(PickIndex, EndSlotsComeHalfAsOften)
{
    constexpr float kLargestDraw = 1.0f - 0x1p-24f;
    struct Case {
        float r;
        int last;
        long expected;
    };
    const Case cases[] = {
        {0.0f, 0, 0},           {kLargestDraw, 0, 0}, {0.4999999f, 1, 0}, {0.5f, 1, 1},
        {kLargestDraw, 50, 50}, {0.0f, 50, 0},        {0.0099f, 50, 0},   {0.0100001f, 50, 1},
        {kLargestDraw, 8, 8},   {0.0624999f, 8, 0},   {0.0625f, 8, 1},    {kLargestDraw, 3, 3},
        {0.5f, -1, 0},          {0.5000001f, -1, -1}, {0.0f, -1, 0},      {kLargestDraw, -1, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(pickIndex(c.r, c.last), c.expected) << c.r << " from " << c.last;
}

struct LineCountCase {
    const char* name;
    float w13;
    std::size_t minLines;
    std::size_t maxLines;
};

TEST(PoemGenerator, LineEndValueSetsThePoemLength)
{
    const LineCountCase cases[] = {
        {"w13 at 1 gives one line", 1.0f, 1, 1},
        {"w13 above 1 gives one line", 7.0f, 1, 1},
        {"w13 below 0 gives 26 lines", -0.5f, 26, 26},
        {"default stays within 1..26", 0.1f, 1, 26},
    };
    for (const LineCountCase& c : cases) {
        SCOPED_TRACE(c.name);
        GeneratorState state;
        RandomSource random;
        acceptExamples(state);
        const Values values{.w13 = c.w13};
        setValues(state, values);
        for (int i = 0; i < 40; ++i) {
            const Text poem = composePoemOrRefusal(state, random);
            const std::size_t count = verseLines(poem).size();
            EXPECT_GE(count, c.minLines);
            EXPECT_LE(count, c.maxLines);
            EXPECT_FALSE(poem.ends_with(u"\r\n"));
        }
    }
}

// Lists whose entries name their own class, so a line can be parsed back.
void acceptMarkerLists(GeneratorState& state)
{
    acceptWordList(state, WordListKind::Actors, u"der M\r\ndie F\r\ndas N\r\nviele P\r\n");
    acceptWordList(state, WordListKind::Objects, u"der OM\r\ndie OF\r\ndas ON\r\nviele OP\r\n");
    acceptWordList(state, WordListKind::Verbs, u"liebt\r\n");
    acceptWordList(state, WordListKind::Adjectives, u" adj\r\n");
}

// The verse lines of the first poems composed from the marker lists with the
// given values.
std::vector<Text> markerPoemLines(const Values& values, int poems)
{
    GeneratorState state;
    RandomSource random;
    acceptMarkerLists(state);
    setValues(state, values);
    std::vector<Text> lines;
    for (int poem = 0; poem < poems; ++poem) {
        const std::vector<Text> verse = verseLines(composePoemOrRefusal(state, random));
        lines.insert(lines.end(), verse.begin(), verse.end());
    }
    return lines;
}

TEST(PoemGenerator, ForcedBandsShapeEveryLine)
{
    struct Case {
        const char* name;
        Values values;
        bool (*lineIsValid)(const Text&);
    };
    const Case cases[] = {
        {"w6 at 1: only auxiliary verbs", Values{.w6 = 1, .w13 = -1},
         [](const Text& line) {
             return line.find(u"lieb") == Text::npos && line.find(u'O') == Text::npos &&
                    (line.find(u" ist ") != Text::npos || line.find(u" war ") != Text::npos ||
                     line.find(u" wird ") != Text::npos || line.find(u" sind ") != Text::npos ||
                     line.find(u" waren ") != Text::npos || line.find(u" werden ") != Text::npos);
         }},
        {"w9 at 1: bare objects after the verb", Values{.w6 = 0, .w7 = 0, .w8 = 0, .w9 = 1, .w13 = -1},
         [](const Text& line) {
             const std::size_t object = line.find(u" O");
             return object != Text::npos && (line.substr(0, object + 1).ends_with(u" liebt ") ||
                                             line.substr(0, object + 1).ends_with(u" lieben "));
         }},
        {"w1 below 0: no subject adjective", Values{.w1 = -1, .w6 = 2, .w13 = -1},
         [](const Text& line) { return line.find(u" adj") > line.find_first_of(u"MFNP"); }},
        {"w8 band: punctuation ends the line", Values{.w6 = 0, .w7 = 0, .w8 = 1, .w13 = -1},
         [](const Text& line) {
             return line.ends_with(u"!") || line.ends_with(u"?") || line.ends_with(u" ...") || line.ends_with(u" - ");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const Text& line : markerPoemLines(c.values, 10))
            EXPECT_TRUE(c.lineIsValid(line)) << utf8(line);
    }
}

// Every built-in table slot in one order: connecting words, articles by
// column, copulas by number, punctuation marks.
std::vector<Text*> tableSlots(GeneratorState& state)
{
    std::vector<Text*> slots;
    for (Text& word : state.Conjunctions)
        slots.push_back(&word);
    for (auto& column : state.Articles) {
        for (Text& article : column)
            slots.push_back(&article);
    }
    for (auto& number : state.Copulas) {
        for (Text& copula : number)
            slots.push_back(&copula);
    }
    for (Text& mark : state.Punctuation)
        slots.push_back(&mark);
    return slots;
}

// Draws never depend on what a table word says, so with every slot holding a
// marker character of its own, counting markers counts the draws that chose
// each slot, whatever the random sequence.
TEST(PoemGenerator, EveryTableEntryIsDrawnAndPickEndsComeHalfAsOften)
{
    constexpr char16_t kFirstMarker = u'\xE000';
    const struct {
        const char* name;
        Values values;
    } bands[] = {
        // Subjects and auxiliary verbs only, so each pick below has one source.
        {"auxiliary verbs", Values{.w3 = 0.3, .w4 = 0.3, .w5 = 1, .w6 = 1, .w13 = -1}},
        {"verbs and objects", Values{.w6 = 0, .w7 = 0, .w8 = 0, .w9 = 0, .w10 = 0, .w13 = -1}},
        {"further subjects and punctuation", Values{.w6 = 0, .w7 = 0.5, .w8 = 1, .w13 = -1}},
    };
    GeneratorState named;
    InitTables(named);
    const std::vector<Text*> names = tableSlots(named);
    std::vector<int> total(names.size());
    std::vector<int> auxiliary;
    for (const auto& band : bands) {
        GeneratorState state;
        RandomSource random;
        acceptExamples(state);
        setValues(state, band.values);
        const std::vector<Text*> slots = tableSlots(state);
        for (std::size_t i = 0; i < slots.size(); ++i)
            *slots[i] = Text(1, static_cast<char16_t>(kFirstMarker + i));
        std::vector<int> counts(slots.size());
        for (int poem = 0; poem < 400; ++poem) {
            for (const char16_t c : composePoemOrRefusal(state, random)) {
                if (c >= kFirstMarker && c < kFirstMarker + slots.size())
                    ++counts[c - kFirstMarker];
            }
        }
        for (std::size_t i = 0; i < counts.size(); ++i)
            total[i] += counts[i];
        if (auxiliary.empty())
            auxiliary = counts;
    }

    // Only an object could take the accusative column's fifth kind, and
    // objects never take that kind.
    const std::size_t neverDrawn = kConjunctionCount + kAccusativeColumn * kArticleKinds + kArticleKinds - 1;
    for (std::size_t i = 0; i < total.size(); ++i) {
        SCOPED_TRACE("slot " + std::to_string(i) + ", \"" + utf8(*names[i]) + "\"");
        if (i == neverDrawn)
            EXPECT_EQ(total[i], 0);
        else
            EXPECT_GT(total[i], 0);
    }

    struct Pick {
        std::string name;
        std::size_t first;
        std::size_t size;
    };
    const std::size_t copulasAt = kConjunctionCount + kArticleColumns * kArticleKinds;
    std::vector<Pick> picks = {
        {"connecting words", 0, kConjunctionCount},
        {"singular copulas", copulasAt, kCopulaTenses},
        {"plural copulas", copulasAt + kCopulaTenses, kCopulaTenses},
        {"punctuation", copulasAt + kCopulaNumbers * kCopulaTenses, kPunctuationCount},
    };
    for (std::size_t column = 0; column < kNounClasses; ++column)
        picks.push_back({"subject articles of class " + std::to_string(column),
                         kConjunctionCount + column * kArticleKinds, kArticleKinds});
    for (const Pick& pick : picks) {
        SCOPED_TRACE(pick.name);
        double inner = 0;
        for (std::size_t i = pick.first + 1; i + 1 < pick.first + pick.size; ++i)
            inner += auxiliary[i];
        inner /= static_cast<double>(pick.size - 2);
        EXPECT_NEAR(auxiliary[pick.first] / inner, 0.5, 0.1) << "first entry";
        EXPECT_NEAR(auxiliary[pick.first + pick.size - 1] / inner, 0.5, 0.1) << "last entry";
    }
}

TEST(PoemGenerator, ForcedLoopsEndAtTheRepeatBound)
{
    struct Case {
        const char* name;
        Values values;
    };
    const Case cases[] = {
        {"subject adjectives", Values{.w1 = 1, .w2 = -1, .w13 = -1}},
        {"subjects on one line", Values{.w6 = 0, .w7 = 1, .w13 = -1}},
        {"predicative adjectives", Values{.w3 = 1, .w6 = 1, .w13 = -1}},
        {"auxiliary phrases", Values{.w3 = 0, .w4 = 1, .w6 = 1, .w13 = -1}},
        {"verb phrases", Values{.w6 = 0, .w7 = 0, .w8 = 0, .w9 = 0, .w10 = 0, .w11 = -1, .w13 = -1}},
        {"object adjectives", Values{.w6 = 0, .w7 = 0, .w8 = 0, .w9 = 0, .w10 = 0, .w11 = 1, .w12 = -1, .w13 = -1}},
        {"everything at once",
         Values{.w1 = 1, .w2 = -1, .w3 = 1, .w4 = 1, .w6 = 0.5, .w7 = 1, .w11 = -1, .w12 = -1, .w13 = -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GeneratorState state;
        RandomSource random;
        acceptExamples(state);
        setValues(state, c.values);
        for (int poem = 0; poem < 3; ++poem) {
            const Text text = composePoemOrRefusal(state, random);
            const std::vector<Text> lines = verseLines(text);
            ASSERT_EQ(lines.size(), static_cast<std::size_t>(kMaxPoemLines));
            for (const Text& line : lines)
                EXPECT_EQ(countConjunctions(line), kMaxRepeatsPerLine);
            // Each repetition adds a handful of pieces of at most a dozen characters.
            EXPECT_LT(text.size(), static_cast<std::size_t>(kMaxPoemLines * (kMaxRepeatsPerLine + 1) * 5 * 12));
        }
    }
}

TEST(PoemGenerator, MissingEntriesJoinAsEmptyTextWithoutChangingTheDraws)
{
    // Reference: every list has one empty entry, so every pick appends "".
    GeneratorState reference;
    for (const WordListKind list : kAllWordLists)
        acceptWordList(reference, list, u"");
    reference.ActorCounts = reference.ObjectCounts = {0, 0, 0, 0};
    reference.VerbLast = reference.AdjectiveLast = 0;

    struct Case {
        const char* name;
        void (*prepare)(GeneratorState&);
    };
    const Case cases[] = {
        {"lists accepted empty after the examples",
         [](GeneratorState& s) {
             acceptExamples(s);
             for (const WordListKind list : kAllWordLists)
                 acceptWordList(s, list, u"");
         }},
        {"last indexes beyond the lists",
         [](GeneratorState& s) {
             for (const WordListKind list : kAllWordLists)
                 acceptWordList(s, list, u"");
             s.ActorCounts = {21, 300, -7, 32767};
             s.ObjectCounts = {-32768, 21, 999, -2};
             s.VerbLast = 51;
             s.AdjectiveLast = 1000;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GeneratorState state;
        c.prepare(state);
        GeneratorState fresh = reference;
        RandomSource random;
        RandomSource referenceRandom;
        for (int poem = 0; poem < 20; ++poem)
            EXPECT_EQ(utf8(composePoemOrRefusal(state, random)), utf8(composePoemOrRefusal(fresh, referenceRandom)));
    }
    // What a plural subject makes of the missing verb is checked with the
    // plural rule below.
}

TEST(PoemGenerator, APoemAtTheLengthLimitEndsAfterItsLastWholeLine)
{
    // Adjectives of 20000 characters: some lines fit, then one does not.
    const Text huge(20'000, u'x');
    GeneratorState capped;
    GeneratorState ordinary;
    acceptExamples(capped);
    acceptExamples(ordinary);
    acceptWordList(capped, WordListKind::Adjectives, u" " + huge);
    acceptWordList(ordinary, WordListKind::Adjectives, u" adj");
    const Values values{.w1 = 1, .w13 = -1};
    setValues(capped, values);
    setValues(ordinary, values);

    RandomSource cappedRandom;
    RandomSource ordinaryRandom;
    Text text;
    ASSERT_EQ(composePoemOrRefusal(capped, cappedRandom, text), PoemOutcome::Cut);
    const Text whole = composePoemOrRefusal(ordinary, ordinaryRandom);
    EXPECT_LE(text.size(), kMaxPoemLength);
    // Its lines are the first lines of the same poem in short words.
    Text shortened = text;
    for (std::size_t at; (at = shortened.find(huge)) != Text::npos;)
        shortened.replace(at, huge.size(), u"adj");
    const std::size_t lines = verseLines(text).size();
    EXPECT_GT(lines, 1u);
    EXPECT_LT(lines, verseLines(whole).size());
    EXPECT_TRUE(whole.starts_with(shortened + u"\r\n")) << utf8(shortened.substr(0, 200));
    // The draws ran to the poem's end: the next poem is the one it would have been.
    for (int draw = 0; draw < 3; ++draw)
        EXPECT_EQ(cappedRandom.next(), ordinaryRandom.next());
}

TEST(PoemGenerator, PluralRuleDropsTheVerbsLastWholeCharacter)
{
    const struct {
        const char* name;
        Text verbs;
        Text singular; // between the subject and the bare object
        Text plural;
    } cases[] = {
        {"ordinary verb", u"küsst\r\n", u" küsst ", u" küssen "},
        {"verb ending outside the BMP", u"küsst\xD83D\xDE00\r\n", u" küsst\xD83D\xDE00 ", u" küssten "},
        {"no verb", u"", u"  ", u"en "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GeneratorState state;
        RandomSource random;
        acceptMarkerLists(state);
        acceptWordList(state, WordListKind::Verbs, c.verbs);
        setValues(state, Values{.w6 = 0, .w7 = 0, .w8 = 0, .w9 = 1, .w13 = -1});
        int plurals = 0;
        for (const Text& line : verseLines(composePoemOrRefusal(state, random))) {
            // Subject and object are single marker nouns: "... P" + verb + "O?".
            const std::size_t subjectEnd = line.find_first_of(u"MFNP") + 1;
            const bool plural = line[subjectEnd - 1] == u'P';
            plurals += plural ? 1 : 0;
            EXPECT_EQ(utf8(line.substr(subjectEnd, line.find(u'O') - subjectEnd)), utf8(plural ? c.plural : c.singular))
                << utf8(line);
        }
        EXPECT_GT(plurals, 0);
    }
}

} // namespace
} // namespace versomat
