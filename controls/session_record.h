#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "controls/poem_link.h"
#include "runtime/random_source.h"
#include "settings/probability_sheet.h"
#include "state/generator_state.h"

namespace versomat {

// What the output box shows: the text it starts with, the refusal while a
// list is missing, or the last poem.
enum class OutputShows { StartText, Refusal, Poem };

// Everything of a window session that its next clicks depend on or that its
// window shows, so that a page brought back after a reload goes on as before.
struct SessionRecord {
    std::array<std::optional<std::u16string>, kWordLists> accepted; // the texts as accepted
    ProbabilityValues values;
    RandomSource::Position random;
    std::int16_t counter = 0; // the next poem's number; 0 until the tables are filled
    bool randomStart = false; // headings carry the random start's prefix
    bool tablesReady = false;
    OutputShows output = OutputShows::StartText;
    std::optional<PoemOrigin> lastPoem;
    bool operator==(const SessionRecord&) const = default;
};

// The record as plain ASCII, for the browser's storage of one tab.
std::string sessionRecordOf(const SessionRecord& record);

// The record a text was made from; none for one that is damaged, cut short
// or written by another version of the program.
std::optional<SessionRecord> readSessionRecord(std::string_view text);

} // namespace versomat
