#pragma once

#include <string>
#include <string_view>

#include "state/generator_state.h"

namespace versomat {

// The four user word lists; the value is the list's ReadyFlags slot.
enum class WordListKind : std::size_t { Actors = 0, Objects = 1, Verbs = 2, Adjectives = 3 };

inline constexpr std::array<WordListKind, kWordLists> kAllWordLists = {WordListKind::Actors, WordListKind::Objects,
                                                                       WordListKind::Verbs, WordListKind::Adjectives};

// What one intake passed over, so that the user can be told; what is stored
// does not depend on it. Lines are numbered from 1 in the box text. A line
// "holds something" when it has a character other than blank or tab: lines
// that hold nothing are never counted, so a text ending in empty lines
// reports nothing.
struct IntakeReport {
    // Lines after the first kNounSlots (noun lists) or kPlainSlots (plain
    // lists) that hold something: never read.
    int linesPastLimit = 0;
    // Noun lists: lines among the first kNounSlots that hold something but
    // gave no noun, their first word naming no class (a line without a blank
    // has no first word), and the first of them.
    int skippedLines = 0;
    int firstSkippedLine = 0; // 0 when none
    std::u16string firstSkippedText;
    // Plain lists: the line of fewer than three characters that ended the
    // list while later lines still hold something, and how many do.
    int endingLine = 0; // 0 when none
    int linesAfterEnding = 0;
    bool operator==(const IntakeReport&) const = default;
};

// Reads boxText ("\r\n"-separated lines) into the list, sets its last
// index(es) and its ready flag. Never refuses: a text without usable lines
// leaves last index -1. Slots above the new last index keep older entries.
IntakeReport acceptWordList(GeneratorState& state, WordListKind list, std::u16string_view boxText);

// Stores the built-in example text of the list in its example member and
// returns it; nothing else of the state changes.
const std::u16string& fillExample(GeneratorState& state, WordListKind list);

} // namespace versomat
