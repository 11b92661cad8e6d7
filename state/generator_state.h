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

    // The probabilities that steer the grammar; r is the deciding draw.
    double w1 = 0;  // subject adjectives at all: r <= w1
    double w2 = 0;  // another subject adjective after a connecting word: r > w2
    double w3 = 0;  // another predicative adjective after a connecting word: r < w3
    double w4 = 0;  // another auxiliary-verb phrase after a connecting word: r < w4
    double w5 = 0;  // punctuation mark after an auxiliary-verb phrase: r < w5
    double w6 = 0;  // subject continues with an auxiliary-verb phrase: s < w6
    double w7 = 0;  // else a connecting word and a further subject on the line: s < w7
    double w8 = 0;  // else a punctuation mark ends the line: s < w8 (otherwise a verb phrase)
    double w9 = 0;  // bare object noun straight after the verb: r < w9
    double w10 = 0; // object article without adjective: r < w10
    double w11 = 0; // connecting word and a new verb phrase instead of the object noun: r > w11
    double w12 = 0; // another object adjective after a connecting word: r > w12
    float w13 = 0;  // a further line: r > w13, compared in single precision
};

inline constexpr std::size_t kDoubleProbabilityCount = 12;                    // w1..w12
inline constexpr std::size_t kProbabilityCount = kDoubleProbabilityCount + 1; // and w13

// The twelve double-valued probabilities in the order w1..w12, for code that
// walks all of them (the sheet).
inline constexpr std::array<double GeneratorState::*, kDoubleProbabilityCount> kDoubleProbabilities = {
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
