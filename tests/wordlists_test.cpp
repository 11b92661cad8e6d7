#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "wordlists/word_lists.h"
#include "test_text.h"

namespace versomat {
namespace {

using testing::utf8;

std::u16string lines(int count, std::u16string_view line)
{
    std::u16string text;
    for (int i = 0; i < count; ++i) {
        text += line;
        text += u"\r\n";
    }
    return text;
}

struct PlainCase {
    const char* name;
    std::u16string text;
    int expectedLast;
    std::vector<std::u16string> expectedEntries;
};

TEST(PlainListIntake, ReadsLinesUntilAShortOne)
{
    const PlainCase cases[] = {
        {"empty text", u"", -1, {}},
        {"initial box text", u"noch leer\r\n", 0, {u"noch leer"}},
        {"no final break", u"liebt\r\nlobt", 1, {u"liebt", u"lobt"}},
        {"blanks are kept", u" alt\r\n  a \r\n", 1, {u" alt", u"  a "}},
        {"short line ends the list", u" alt\r\nxy\r\n jung\r\n", 0, {u" alt"}},
        {"empty line ends the list", u"abc\r\n\r\ndef\r\n", 0, {u"abc"}},
        {"three characters suffice", u"abc", 0, {u"abc"}},
        {"short first line", u"ab\r\nabc\r\n", -1, {}},
        {"lone breaks are characters", u"a\rb\nc\r\nxy\r", 1, {u"a\rb\nc", u"xy\r"}},
        {"only line breaks", u"\r\n\r\n\r\n", -1, {}},
        {"surrogate pair kept", u"\xD83D\xDE00xy\r\n", 0, {u"\xD83D\xDE00xy"}},
        {"51 entries at most", lines(60, u"abc"), 50, {}},
        {"exactly 51 lines", lines(51, u"abc"), 50, {}},
    };
    for (const PlainCase& c : cases) {
        SCOPED_TRACE(c.name);
        GeneratorState state;
        acceptWordList(state, WordListKind::Adjectives, c.text);
        EXPECT_EQ(state.AdjectiveLast, c.expectedLast);
        EXPECT_EQ(state.ReadyFlags[3], 1);
        for (std::size_t i = 0; i < c.expectedEntries.size(); ++i)
            EXPECT_EQ(utf8(state.AdjectiveList[i]), utf8(c.expectedEntries[i]));
    }
}

TEST(PlainListIntake, ShorterListKeepsOlderSlotsUnused)
{
    GeneratorState state;
    acceptWordList(state, WordListKind::Verbs, fillExample(state, WordListKind::Verbs));
    EXPECT_EQ(state.VerbLast, 8);
    acceptWordList(state, WordListKind::Verbs, u"eins\r\nzwei\r\ndrei\r\nvier\r\nfünf");
    EXPECT_EQ(state.VerbLast, 4);
    EXPECT_EQ(state.VerbList[4], u"fünf");
    EXPECT_EQ(state.VerbList[5], u"liebt");
}

struct NounCase {
    const char* name;
    std::u16string text;
    NounLasts expectedLasts;
    std::vector<std::pair<std::size_t, std::u16string>> expectedFirstNouns; // (class, slot 0)
};

TEST(NounListIntake, SortsNounsByTheirFirstWord)
{
    const NounCase cases[] = {
        {"two lines, no final break", u"der Mann\r\ndie Frau", {0, 0, -1, -1}, {{0, u"Mann"}, {1, u"Frau"}}},
        {"empty text", u"", {-1, -1, -1, -1}, {}},
        {"initial box text", u"noch leer\r\n", {-1, -1, -1, -1}, {}},
        {"only the first two letters count",
         u"Dieser A\r\nDER B\r\nden C\r\ndein D\r\n",
         {2, 0, -1, -1},
         {{0, u"B"}, {1, u"A"}}},
        {"the noun keeps its blanks", u"der alte Mann\r\nder  Hut\r\n", {1, -1, -1, -1}, {{0, u"alte Mann"}}},
        {"unknown first words are skipped",
         u" der Mann\r\nein Mann\r\nd X\r\nviele Y\r\n",
         {-1, -1, -1, 0},
         {{3, u"Y"}}},
        {"trailing empty line ends the list", u"der Mann\r\n\r\n", {0, -1, -1, -1}, {{0, u"Mann"}}},
        // A line without a blank before a later line with one is skipped and
        // reading goes on with the next line.
        {"line without blank is skipped", u"der A\r\nzwischen\r\ndas B\r\n", {0, -1, 0, -1}, {{0, u"A"}, {2, u"B"}}},
        {"empty line in the middle is skipped", u"\r\ndas B\r\n", {-1, -1, 0, -1}, {{2, u"B"}}},
        {"blank only on a later line", u"derMann\r\nx y\r\n", {-1, -1, -1, -1}, {}},
        {"lone breaks stay in the noun", u"die A\rB\nC\r\n", {-1, 0, -1, -1}, {{1, u"A\rB\nC"}}},
        {"empty noun after the blank", u"das \r\n", {-1, -1, 0, -1}, {{2, u""}}},
        {"21 lines at most", lines(30, u"der X"), {20, -1, -1, -1}, {{0, u"X"}}},
        {"skipped lines count toward 21", lines(20, u"ein X") + u"die Y\r\ndie Z\r\n", {-1, 0, -1, -1}, {{1, u"Y"}}},
    };
    for (const NounCase& c : cases) {
        SCOPED_TRACE(c.name);
        GeneratorState state;
        acceptWordList(state, WordListKind::Actors, c.text);
        EXPECT_EQ(state.ActorCounts, c.expectedLasts);
        EXPECT_EQ(state.ReadyFlags[0], 1);
        for (const auto& [k, noun] : c.expectedFirstNouns)
            EXPECT_EQ(utf8(state.ActorList[k][0]), utf8(noun));
    }
}

TEST(NounListIntake, ReacceptingRewritesFromSlotZero)
{
    GeneratorState state;
    acceptWordList(state, WordListKind::Objects, u"der A\r\nder B\r\n");
    acceptWordList(state, WordListKind::Objects, u"der C\r\n");
    EXPECT_EQ(state.ObjectCounts, (NounLasts{0, -1, -1, -1}));
    EXPECT_EQ(state.ObjectList[0][0], u"C");
    EXPECT_EQ(state.ReadyFlags, (std::array<std::int16_t, 4>{0, 1, 0, 0}));
}

// The four example texts, actors first, each followed by "\n=====\n".
std::vector<std::string> exampleTexts()
{
    std::ifstream in(VERSOMAT_EXAMPLE_TEXTS, std::ios::binary);
    const std::string file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    constexpr std::string_view kEnd = "\n=====\n";
    std::vector<std::string> texts;
    for (std::size_t start = 0, at; (at = file.find(kEnd, start)) != std::string::npos; start = at + kEnd.size())
        texts.push_back(file.substr(start, at - start));
    return texts;
}

TEST(Examples, TextsAreTheFileByteForByteAndLeaveTheListAlone)
{
    const std::vector<std::string> expected = exampleTexts();
    ASSERT_EQ(expected.size(), kWordLists) << VERSOMAT_EXAMPLE_TEXTS " is missing or damaged";
    GeneratorState state;
    // Each press gives the same text, whatever the member held before.
    state.VerbExample = u"getippt\r\n";
    for (std::size_t i = 0; i < kWordLists; ++i)
        EXPECT_EQ(utf8(fillExample(state, kAllWordLists[i])), expected[i]);
    EXPECT_EQ(utf8(state.ActorExample), expected[0]);
    EXPECT_EQ(state.ReadyFlags, (std::array<std::int16_t, 4>{}));
    EXPECT_TRUE(state.ActorList[0][0].empty());
}

} // namespace
} // namespace versomat
