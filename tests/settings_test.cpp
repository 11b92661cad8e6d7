#include <gtest/gtest.h>

#include <cfloat>
#include <ostream>
#include <string>
#include <variant>

#include "generator/poem_generator.h"
#include "settings/probability_sheet.h"
#include "test_text.h"

namespace versomat {

// Found by argument-dependent lookup, so it lives beside SheetRefusal.
void PrintTo(const SheetRefusal& refusal, std::ostream* out)
{
    *out << "value " << refusal.value << " expected at line " << refusal.line << ", fault "
         << static_cast<int>(refusal.fault) << ", line's value " << refusal.lineValue;
}

namespace {

using testing::utf8;

using Text = std::u16string;

ProbabilityValues defaults()
{
    GeneratorState state;
    InitTables(state);
    return probabilityValuesOf(state);
}

// The values a sheet reads as; a refused sheet fails the test.
ProbabilityValues readValues(std::u16string_view sheet)
{
    const std::variant<ProbabilityValues, SheetRefusal> reading = readProbabilitySheet(sheet);
    if (const SheetRefusal* refusal = std::get_if<SheetRefusal>(&reading)) {
        ADD_FAILURE() << "refused: " << ::testing::PrintToString(*refusal);
        return {};
    }
    return std::get<ProbabilityValues>(reading);
}

const Text kDefaultSheet = u"w1=0.7\r\nw2 = 0.9\r\nw3=0.1\r\nw4=0.15\r\nw5=0.2\r\nw6=0.3\r\nw7=0.35\r\n"
                           u"w8=0.4\r\nw9=0.3\r\nw10=0.5\r\nw11=0.85\r\nw12=0.9\r\nw13=0.1\r\n";

TEST(ProbabilitySheet, ShowingItFirstFillsTheDefaults)
{
    GeneratorState state;
    EXPECT_EQ(utf8(showProbabilitySheet(state)), utf8(kDefaultSheet));
    EXPECT_EQ(state.TablesReady, 1);
    EXPECT_EQ(state.PoemCounter, 1);
}

TEST(ProbabilitySheet, ShowingItLaterKeepsValuesAndCounter)
{
    GeneratorState state;
    InitTables(state);
    state.w2 = 0.5;
    state.PoemCounter = 4;
    EXPECT_TRUE(showProbabilitySheet(state).starts_with(u"w1=0.7\r\nw2 = 0.5\r\n"));
    EXPECT_EQ(state.PoemCounter, 4);
}

TEST(ProbabilitySheet, WrittenValuesReadBackExactly)
{
    ProbabilityValues values = defaults();
    values.w = {-1, 2, 1e-05, 1.0 / 3.0, -0.0, 1e308, -DBL_MAX, DBL_TRUE_MIN, 0.1 + 0.2, 12345.678, 0, 1};
    values.w13 = FLT_MAX;
    for (const ProbabilityValues& v : {defaults(), values})
        EXPECT_EQ(readValues(writeProbabilitySheet(v)), v);
}

struct EditCase {
    const char* name;
    Text sheet;
    std::size_t index; // 0..11 for w1..w12, 12 for w13
    double expected;
};

TEST(ProbabilitySheet, EditedSheetsReadByPosition)
{
    const Text tail = u"w3=3\r\nw4=4\r\nw5=5\r\nw6=6\r\nw7=7\r\nw8=8\r\nw9=9\r\nw10=10\r\nw11=11\r\nw12=12\r\nw13=13";
    const EditCase cases[] = {
        {"final line break missing", u"w1=1\r\nw2 = 2\r\n" + tail, 12, 13},
        {"blanks around the equals sign", u"w1=1\r\nw2 = 0.5\r\n" + tail, 1, 0.5},
        {"decimal comma", u"w1=0,5\r\nw2=2\r\n" + tail, 0, 0.5},
        {"negative value", u"w1=-1\r\nw2=2\r\n" + tail, 0, -1},
        {"above one", u"w1=2\r\nw2=2\r\n" + tail, 0, 2},
        {"swapped labels do not swap values", u"w2=1\r\nw1=2\r\n" + tail, 0, 1},
        {"labels may go", u"=1\r\n=2\r\n" + tail, 1, 2},
        {"text after the number is ignored", u"w1=1 abc\r\nw2=2x\r\n" + tail, 1, 2},
        {"second equals sign on a line", u"w1==7\r\nw2=2\r\n" + tail, 0, 0},
        {"second equals sign stays in its line", u"w1=1=9\r\nw2=2\r\n" + tail, 1, 2},
        {"blank lines between values", u"w1=1\r\n\r\nno value here\r\nw2=2\r\n" + tail, 1, 2},
        {"lost equals sign shifts later values", u"w1=1\r\nw2 2\r\n" + tail + u"\r\nextra=14", 1, 3},
        {"lines after the thirteenth ignored", u"w1=1\r\nw2=2\r\n" + tail + u"\r\nw14=99", 12, 13},
        {"lone line feeds stay in the piece", u"w1=1\nw2=5\r\nw2=2\r\n" + tail, 1, 2},
        {"no number reads as zero", u"w1=\r\nw2=2\r\n" + tail, 0, 0},
    };
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.name);
        const ProbabilityValues values = readValues(c.sheet);
        const double actual = c.index < kDoubleProbabilityCount ? values.w[c.index] : static_cast<double>(values.w13);
        EXPECT_EQ(actual, c.expected);
    }
}

TEST(ProbabilitySheet, Single13RoundsToTheNearestSingle)
{
    Text sheet = kDefaultSheet;
    sheet.replace(sheet.find(u"w13=0.1"), 7, u"w13=0.12345678901234567");
    EXPECT_EQ(readValues(sheet).w13, 0.12345678901234567f);
    sheet.replace(sheet.find(u"w13="), Text::npos, u"w13=1e300");
    EXPECT_EQ(readValues(sheet).w13, FLT_MAX);
}

TEST(ProbabilitySheet, UnreadableSheetSaysWhereAndChangesNothing)
{
    using enum SheetFault;
    Text lostEquals = kDefaultSheet;
    lostEquals.replace(lostEquals.find(u"w5="), 3, u"w5 ");
    const struct {
        const char* name;
        Text sheet;
        SheetRefusal refusal;
    } cases[] = {
        {"empty", u"", {1, 1, NoEquals}},
        {"blank first line", u"\r\n" + kDefaultSheet, {1, 1, NoEqualsOnFirstLine}},
        {"label-only first line", u"Werte\r\n" + kDefaultSheet, {1, 1, NoEqualsOnFirstLine}},
        {"no equals sign at all", u"w1 0.7\r\nw2 0.9\r\n", {1, 1, NoEquals}},
        {"carriage return alone", u"\r", {1, 1, NoEquals}},
        {"twelve values", kDefaultSheet.substr(0, kDefaultSheet.find(u"w13=")), {13, 13, ValuesMissing}},
        // w5 takes line 6's value and so on; w13 finds nothing, and line 5 is
        // the one to mend.
        {"value line without its equals sign", lostEquals, {13, 5, LineLostEquals, 5}},
        {"blank lines between values", u"w1=1\r\n\r\n \r\nw2=2\r\n", {3, 5, ValuesMissing}},
        {"only equals signs on one line", Text(5000, u'='), {2, 2, ValuesMissing}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GeneratorState state;
        InitTables(state);
        state.w5 = 0.55;
        const ProbabilityValues before = probabilityValuesOf(state);
        EXPECT_EQ(acceptProbabilitySheet(state, c.sheet), c.refusal);
        EXPECT_EQ(probabilityValuesOf(state), before);
    }
}

TEST(ProbabilitySheet, AcceptedSheetStoresAllValuesAndKeepsTheCounter)
{
    GeneratorState state;
    InitTables(state);
    state.PoemCounter = 5;
    Text sheet = showProbabilitySheet(state);
    sheet.replace(sheet.find(u"w13=0.1"), 7, u"w13=1");
    sheet.replace(0, 6, u"w1=-1");
    ASSERT_EQ(acceptProbabilitySheet(state, sheet), std::nullopt);
    EXPECT_EQ(state.w1, -1);
    EXPECT_EQ(state.w13, 1.0f);
    EXPECT_EQ(state.w12, 0.9);
    EXPECT_EQ(state.PoemCounter, 5);
    // The next showing lists what was accepted.
    EXPECT_TRUE(showProbabilitySheet(state).starts_with(u"w1=-1\r\n"));
}

TEST(ProbabilitySheet, AcceptedBeforeAnyPoemOutlastsTheNextOne)
{
    GeneratorState state;
    ProbabilityValues accepted = defaults();
    accepted.w[0] = -1;
    accepted.w13 = 1;
    ASSERT_EQ(acceptProbabilitySheet(state, writeProbabilitySheet(accepted)), std::nullopt);
    RandomSource random;
    composePoemOrRefusal(state, random);
    EXPECT_EQ(utf8(writeProbabilitySheet(probabilityValuesOf(state))), utf8(writeProbabilitySheet(accepted)));
}

} // namespace
} // namespace versomat
