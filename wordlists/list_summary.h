#pragma once

#include <string>

#include "state/generator_state.h"
#include "wordlists/word_lists.h"

namespace versomat {

// German one-line summary of what the last intake of the list took, for the status mark's tooltip and
// accessible description, e.g. "Übernommen: 9 Einträge" or, for noun lists, per class
// "Übernommen: 4 mit der, 2 mit die, 1 mit das, 2 mit viele". A list that took nothing says so plainly,
// e.g. "Nichts übernommen: keine Zeile hatte die Form „der Mann“ – das Gedicht bleibt hier leer."
// A list not accepted yet gives "Noch nicht übernommen."
std::u16string acceptedListSummary(const GeneratorState& state, WordListKind list);

// Whether the list has been accepted and its last intake took no entry at all.
bool acceptTookNothing(const GeneratorState& state, WordListKind list);

} // namespace versomat
