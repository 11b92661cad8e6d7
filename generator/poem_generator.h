#pragma once

#include <cmath>
#include <string>
#include <string_view>

#include "runtime/random_source.h"
#include "state/generator_state.h"

namespace versomat {

inline constexpr std::u16string_view kMissingDataMessage = u"Es fehlen noch Daten. Bei rotem >*< bitte ergänzen";
inline constexpr std::u16string_view kRandomStartPrefix = u"Zufalls-";
inline constexpr std::u16string_view kHeadingWord = u"Poem-Text ";

// A poem has at most this many lines after its heading.
inline constexpr int kMaxPoemLines = 26;

// Repetitions (a further adjective, subject, auxiliary phrase or verb phrase
// joined by a connecting word) allowed within one line. Near the default
// probabilities a line repeats a handful of times, so the bound is never
// felt; with values that force a loop forever it ends the loop: the deciding
// draw is still taken, then the loop's way out is followed (a further subject
// ends the line instead). Every poem thus has at most 26 lines of at most
// this many repetitions, and composing one takes microseconds.
inline constexpr int kMaxRepeatsPerLine = 64;

// Word-list entries have no length limit, so a long pasted line could make a
// poem of gigabytes. A poem whose words would pass this many characters ends
// after its last whole line instead (its heading at least). Poems from lists
// of ordinary words stay far below it, even with every loop forced.
inline constexpr std::size_t kMaxPoemLength = std::size_t{1} << 17;

// The slot that a draw r picks from 0..last: floor(r * last + 0.5) in double,
// so the end slots come half as often as the inner ones. A negative last
// gives -1 or 0; callers treat any result outside their list as no entry.
inline long pickIndex(float r, int last)
{
    return static_cast<long>(std::floor(static_cast<double>(r) * last + 0.5));
}

// One press of the generate button. Fills the tables on first use, then
// writes into poemText either the missing-data message (while a list is not
// accepted; no draw is taken) or the next numbered poem, and raises
// PoemCounter, which stops at 32767. poemText's old content is replaced; its
// capacity is reused. Says which it wrote, and whether the poem was cut at
// the length limit.
enum class PoemOutcome { Whole, Cut, MissingData };
PoemOutcome composePoemOrRefusal(GeneratorState& state, RandomSource& random, std::u16string& poemText);
std::u16string composePoemOrRefusal(GeneratorState& state, RandomSource& random);

// The random start: reseeds the sequence from the clock and marks every
// later heading with "Zufalls-". The caller then composes as usual.
void startRandomly(GeneratorState& state, RandomSource& random);

} // namespace versomat
