#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "state/generator_state.h"

namespace versomat {

// The thirteen probability values as the sheet carries them.
struct ProbabilityValues {
    std::array<double, 12> w{}; // w1..w12
    float w13 = 0;

    bool operator==(const ProbabilityValues&) const = default;
};

ProbabilityValues probabilityValuesOf(const GeneratorState& state);
void applyProbabilityValues(GeneratorState& state, const ProbabilityValues& values);

// Thirteen lines "w1=" ... "w13=" (line 2 reads "w2 = "), each value in its
// shortest exact text and each line ending in "\r\n".
std::u16string writeProbabilitySheet(const ProbabilityValues& values);

// Reads the k-th value from between the k-th "=" and the line break after it;
// labels are ignored. Returns nothing when the sheet cannot be read: a line
// break before the first "=", or too few "=" for thirteen values.
std::optional<ProbabilityValues> readProbabilitySheet(std::u16string_view sheet);

// Showing the sheet: fills the tables on first use, returns the sheet of the
// current values and marks the tables ready.
std::u16string showProbabilitySheet(GeneratorState& state);

// Accepting the sheet: stores all thirteen values read from it and returns
// true, or changes nothing and returns false when it cannot be read.
bool acceptProbabilitySheet(GeneratorState& state, std::u16string_view sheet);

} // namespace versomat
