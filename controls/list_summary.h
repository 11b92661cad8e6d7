#pragma once

#include <string>

#include "state/generator_state.h"
#include "wordlists/word_lists.h"

namespace versomat {

// What the last intake of a list took, as its status mark says it.
struct ListSummary {
    // German, e.g. "Übernommen: 9 Einträge" or, for noun lists, per class
    // "Übernommen: 4 mit der, 2 mit die, 1 mit das, 2 mit viele". A list
    // that took nothing, or a noun list that lacks a class, says what the
    // poem then leaves empty. A list not accepted yet: "Noch nicht übernommen."
    std::u16string text;
    // The accept took nothing, or a class is missing, or the intake passed
    // over lines that hold something: a green mark alone would hide that
    // poems will have gaps or lack words the user gave.
    bool needsAttention = false;
};

// The intake's report adds a line for each kind of line it passed over:
// noun lines of no class, the short line that ended a plain list, lines past
// the limit.
ListSummary acceptedListSummary(const GeneratorState& state, WordListKind list, const IntakeReport& intake = {});

} // namespace versomat
