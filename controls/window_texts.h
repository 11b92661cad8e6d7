#pragma once

#include <string>
#include <string_view>

#include "controls/control_table.h"
#include "settings/probability_sheet.h"

namespace versomat {

// What a status mark shows once its list has been accepted.
inline constexpr std::u16string_view kAcceptedMark = u"OK";
inline constexpr Rgb kAcceptedMarkBackground = kBrightGreen;

// The sheet's background while it shows a sheet that could not be taken.
inline constexpr Rgb kRefusedSheetBackground{255, 192, 192};

// What the user reads when a sheet is refused, and the line to select for it.
struct SheetHint {
    std::u16string text; // core text
    int line = 0;        // 1-based; always a line the sheet has (lines end at "\r\n")
    bool operator==(const SheetHint&) const = default;
};

// Names what the refused sheet lacks: no "=" at all, no "=" on its first
// line, a line that lost its "=", or values missing at the end. The example
// lines are written as the sheet writes them ("w1=0.7").
SheetHint sheetRefusalHint(const SheetRefusal& refusal);

// For an accepted sheet whose values did not all hold a number: one line per
// such value, naming what was read and what was passed over ("w2: „abc“ ist
// keine Zahl, gelesen als 0"). Then, for values outside 0 to 1, one line per
// such value saying what it counts as. Empty when every value was a number,
// blanks around it allowed, from 0 to 1.
std::u16string sheetValueNote(const SheetPieces& pieces, const ProbabilityValues& values);

// A piece of the user's text in „“ quotes, shortened where it is long: a
// note names it, it need not repeat a pasted page.
std::u16string quoted(std::u16string_view text);

// The line that closes a poem cut at the length limit.
extern const std::u16string_view kPoemCutMark;

// A screen reader hears a poem whole up to about this many characters.
inline constexpr std::size_t kAnnouncedPoemLength = 2000;

// What the live region says of a poem as the box shows it: the poem, or for
// a longer one its lines up to kAnnouncedPoemLength and that it goes on in
// the box. A cut poem ends in the line kPoemCutMark, and so does what is
// said of it.
std::u16string poemAnnouncement(std::u16string_view poem, bool cut);

} // namespace versomat
