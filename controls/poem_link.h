#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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

// The origin as plain ASCII (letters, digits, "-" and "_"), for the fragment
// of a URL: it never reaches a server.
std::string poemLinkOf(const PoemOrigin& origin);

// The origin a link was made from; none for a link that is damaged, cut
// short or from another format.
std::optional<PoemOrigin> readPoemLink(std::string_view link);

} // namespace versomat
