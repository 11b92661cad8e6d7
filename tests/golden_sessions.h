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

} // namespace versomat::golden
