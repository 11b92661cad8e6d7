#include "state/generator_state.h"

namespace versomat {

void InitTables(GeneratorState& state)
{
    // Every table word carries its own blanks: the poem is joined from these
    // pieces with no separator, so the blanks are data.
    state.Conjunctions = {u" und ",        u" oder ", u" aber ", u" auch ",   u" nicht ",
                          u" vielleicht ", u" also ", u" so ",   u" dennoch "};

    // Columns 0, 2, 3, 4 run definite, demonstrative, none, indefinite,
    // negative; the feminine column 1 runs in its own order.
    state.Articles[kMasculine] = {u" der ", u" dieser ", u" ", u" ein ", u" kein "};
    state.Articles[kFeminine] = {u" die ", u" eine ", u" keine ", u" diese ", u" "};
    state.Articles[kNeuter] = {u" das ", u" dieses ", u" ", u" ein ", u" kein "};
    state.Articles[kPlural] = {u" die ", u" diese ", u" ", u" viele ", u" wenige "};
    state.Articles[kAccusativeColumn] = {u" den ", u" diesen ", u" ", u" einen ", u" keinen "};

    state.Copulas[0] = {u" ist ", u" war ", u" wird "};
    state.Copulas[1] = {u" sind ", u" waren ", u" werden "};

    state.w1 = 0.7;
    state.w2 = 0.9;
    state.w3 = 0.1;
    state.w4 = 0.15;
    state.w5 = 0.2;
    state.w6 = 0.3;
    state.w7 = 0.35;
    state.w8 = 0.4;
    state.w9 = 0.3;
    state.w10 = 0.5;
    state.w11 = 0.85;
    state.w12 = 0.9;
    state.w13 = 0.1f;

    state.Punctuation = {u"!", u"?", u" ...", u" - "};

    state.PoemCounter = 1;
    state.TablesReady = 1;
}

void ensureTables(GeneratorState& state)
{
    if (state.TablesReady == 0)
        InitTables(state);
}

} // namespace versomat
