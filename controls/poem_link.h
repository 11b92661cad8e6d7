#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/random_source.h"
#include "settings/probability_sheet.h"
#include "state/generator_state.h"

namespace versomat {

// Everything a poem came from: another page that starts from it shows the
// same poem, character for character, and its next clicks go on as the
// sender's would have.
struct PoemOrigin {
    std::array<std::u16string, kWordLists> lists; // the texts as accepted
    ProbabilityValues values;
    RandomSource::Position random; // just before the poem's first draw
    std::int16_t counter = 1;      // the poem's number
    bool randomStart = false;      // its heading carries the random start's prefix
    bool operator==(const PoemOrigin&) const = default;
};

// Longer links are refused before they are read.
inline constexpr std::size_t kMaxPoemLinkLength = 1 << 20;

// The origin as plain ASCII (letters, digits, "-" and "_"), for the fragment
// of a URL: it never reaches a server.
std::string poemLinkOf(const PoemOrigin& origin);

// The origin a link was made from; none for a link that is damaged, cut
// short, from another format or longer than kMaxPoemLinkLength, and none for
// one whose list holds a line break other than "\r\n": a box would show it
// as a line break, but the lists are read by "\r\n" alone, so the poem would
// not be made from what the box shows.
std::optional<PoemOrigin> readPoemLink(std::string_view link);

// True when every line break is the pair "\r\n". The web page turns each
// lone CR, LF, U+2028 and U+2029 typed into a box into that pair, and the
// window does the same, so no list this program accepted holds another.
bool onlyWholeLineBreaks(std::u16string_view text);

// The origin as the fields of a link, and back: the session record keeps
// the last poem's origin, and the session's own lists, values, position and
// prefix, in the same way. originOf takes the fields as written, with no
// check of their line breaks; a session's counter is 0 until its tables are
// filled, a poem's never is.
inline constexpr std::size_t kPoemOriginFields = kWordLists + 5;
std::vector<std::u16string> originFields(const PoemOrigin& origin);
std::optional<PoemOrigin> originOf(std::span<const std::u16string> fields, std::int16_t lowestCounter = 1);

} // namespace versomat
