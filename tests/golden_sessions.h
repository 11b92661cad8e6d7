#pragma once

#include <string>
#include <vector>

#include "state/generator_state.h"

namespace versomat::golden {

// The example lists shown and accepted, as a user's first four and next
// four clicks would.
void acceptExamples(GeneratorState& state);

// Replays each golden session of the folder from a fresh start, as its
// README describes, and compares every poem with the file. Gives one
// readable message per session that went wrong (the first differing poem,
// line and character); none when all poems match. Shared by the native
// test and the WebAssembly one, so both report alike.
std::vector<std::string> replayGoldenSessions(const std::string& folder);

// For an intended change of the grammar: rewrites each golden file of the
// folder from the code and gives a line per session saying how many poems
// changed and where the first one differs. Never part of a normal run.
struct Renewal {
    std::vector<std::string> report;
    std::size_t poemsChanged = 0;
};
Renewal renewGoldenSessions(const std::string& folder);

} // namespace versomat::golden
