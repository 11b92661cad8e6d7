#include <gtest/gtest.h>

#include "state/generator_state.h"

namespace versomat {
namespace {

TEST(GeneratorState, StartsEmptyUntilTheTablesAreNeeded)
{
    const GeneratorState state;
    EXPECT_EQ(state.TablesReady, 0);
    EXPECT_EQ(state.PoemCounter, 0);
    EXPECT_EQ(state.w13, 0.0f);
    EXPECT_EQ(state.ReadyFlags[0] * state.ReadyFlags[1] * state.ReadyFlags[2] * state.ReadyFlags[3], 0);
    EXPECT_TRUE(state.Articles[0][0].empty());
}

// The default values themselves are held by the default sheet's text and by
// the golden poems; this is about what InitTables must not touch.
TEST(InitTables, LeavesTheUserDataAlone)
{
    GeneratorState state;
    state.ReadyFlags = {1, 0, 1, 0};
    state.VerbList[0] = u"liebt";
    state.VerbLast = 0;
    state.TitlePrefix = u"Zufalls-";
    state.ActorExample = u"x";
    InitTables(state);

    EXPECT_EQ(state.TablesReady, 1);
    EXPECT_EQ(state.PoemCounter, 1);
    // w13 is a single: the sheet shows the same "0.1" for the double 0.1.
    EXPECT_NE(static_cast<double>(state.w13), 0.1);

    EXPECT_EQ(state.ReadyFlags, (std::array<std::int16_t, 4>{1, 0, 1, 0}));
    EXPECT_EQ(state.VerbList[0], u"liebt");
    EXPECT_EQ(state.TitlePrefix, u"Zufalls-");
    EXPECT_EQ(state.ActorExample, u"x");
}

TEST(EnsureTables, NeverOverwritesValuesOnceReady)
{
    GeneratorState state;
    ensureTables(state);
    state.w1 = -3;
    state.PoemCounter = 9;
    ensureTables(state);
    EXPECT_EQ(state.w1, -3);
    EXPECT_EQ(state.PoemCounter, 9);
}

} // namespace
} // namespace versomat
