#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace versomat {

// A noun's class; kAccusativeColumn names the masculine object column of
// Articles only.
enum WordClass : std::size_t { kMasculine = 0, kFeminine = 1, kNeuter = 2, kPlural = 3, kAccusativeColumn = 4 };

inline constexpr std::size_t kNounClasses = 4;
inline constexpr std::size_t kNounSlots = 21;  // slots 0..20 per class
inline constexpr std::size_t kPlainSlots = 51; // slots 0..50
inline constexpr std::size_t kArticleColumns = 5;
inline constexpr std::size_t kArticleKinds = 5;
inline constexpr std::size_t kConjunctionCount = 9;
inline constexpr std::size_t kPunctuationCount = 4;
inline constexpr std::size_t kCopulaNumbers = 2;
inline constexpr std::size_t kCopulaTenses = 3;
inline constexpr std::size_t kWordLists = 4;

using NounList = std::array<std::array<std::u16string, kNounSlots>, kNounClasses>;
using NounLasts = std::array<std::int16_t, kNounClasses>;
using PlainList = std::array<std::u16string, kPlainSlots>;

// Everything the window remembers between clicks. Values that stay
// unassigned until first use start as 0 or "", which is how they behave.
// Last indexes hold the index of the last stored entry, -1 for none.
struct GeneratorState {
    // 0 actors, 1 objects, 2 verbs, 3 adjectives; 1 once that list is accepted.
    std::array<std::int16_t, kWordLists> ReadyFlags{};

    NounList ActorList;
    NounLasts ActorCounts{};
    NounList ObjectList;
    NounLasts ObjectCounts{};
    PlainList VerbList;
    std::int16_t VerbLast = 0;
    PlainList AdjectiveList;
    std::int16_t AdjectiveLast = 0;

    std::int16_t TablesReady = 0;
    std::int16_t PoemCounter = 0;
    std::u16string TitlePrefix;

    std::u16string ActorExample;
    std::u16string ObjectExample;
    std::u16string VerbExample;
    std::u16string AdjectiveExample;

    std::array<std::u16string, kConjunctionCount> Conjunctions;
    // Indexed [WordClass column 0..4][ArticleKind 0..4].
    std::array<std::array<std::u16string, kArticleKinds>, kArticleColumns> Articles;
    // Indexed [number: 0 singular, 1 plural][tense: 0 present, 1 past, 2 future].
    std::array<std::array<std::u16string, kCopulaTenses>, kCopulaNumbers> Copulas;
    std::array<std::u16string, kPunctuationCount> Punctuation;

    double w1 = 0, w2 = 0, w3 = 0, w4 = 0, w5 = 0, w6 = 0;
    double w7 = 0, w8 = 0, w9 = 0, w10 = 0, w11 = 0, w12 = 0;
    float w13 = 0;
};

// The twelve double-valued probabilities in the order w1..w12, for code that
// walks all of them (the sheet).
inline constexpr std::array<double GeneratorState::*, 12> kDoubleProbabilities = {
    &GeneratorState::w1, &GeneratorState::w2,  &GeneratorState::w3,  &GeneratorState::w4,
    &GeneratorState::w5, &GeneratorState::w6,  &GeneratorState::w7,  &GeneratorState::w8,
    &GeneratorState::w9, &GeneratorState::w10, &GeneratorState::w11, &GeneratorState::w12,
};

// Fills the built-in tables and the default probabilities, sets PoemCounter
// to 1 and TablesReady to 1. Leaves the word lists, flags, prefix and
// example texts alone.
void InitTables(GeneratorState& state);

// Runs InitTables unless it has run already, so that values accepted from
// the sheet are never overwritten by defaults.
void ensureTables(GeneratorState& state);

} // namespace versomat
