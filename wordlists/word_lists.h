#pragma once

#include <string>
#include <string_view>

#include "state/generator_state.h"

namespace versomat {

// The four user word lists; the value is the list's ReadyFlags slot.
enum class WordListKind : std::size_t { Actors = 0, Objects = 1, Verbs = 2, Adjectives = 3 };

inline constexpr std::array<WordListKind, kWordLists> kAllWordLists = {WordListKind::Actors, WordListKind::Objects,
                                                                       WordListKind::Verbs, WordListKind::Adjectives};

// Reads boxText ("\r\n"-separated lines) into the list, sets its last
// index(es) and its ready flag. Never refuses: a text without usable lines
// leaves last index -1. Slots above the new last index keep older entries.
void acceptWordList(GeneratorState& state, WordListKind list, std::u16string_view boxText);

// Stores the built-in example text of the list in its example member and
// returns it; nothing else of the state changes.
const std::u16string& fillExample(GeneratorState& state, WordListKind list);

} // namespace versomat
