#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "state/generator_state.h"

namespace versomat {

// The thirteen probability values as the sheet carries them.
struct ProbabilityValues {
    std::array<double, kDoubleProbabilityCount> w{}; // w1..w12
    float w13 = 0;

    bool operator==(const ProbabilityValues&) const = default;
};

ProbabilityValues probabilityValuesOf(const GeneratorState& state);
// The values InitTables sets, which a session has before any sheet.
ProbabilityValues startProbabilityValues();
void applyProbabilityValues(GeneratorState& state, const ProbabilityValues& values);

// Why a sheet could not be read.
enum class SheetFault {
    NoEquals,            // the sheet holds no "=" at all
    NoEqualsOnFirstLine, // a line break comes before the first "="
    LineLostEquals,      // a line after w1's holds text but no "=": the search for the next "=" passed over it
    ValuesMissing,       // the sheet ends before the last value's "="
};

// Where a sheet could not be read: the value (1 = w1 ... 13 = w13) whose "=" could not be found, and the
// 1-based line of the sheet (lines split at "\r\n") to mend: line 1 when a line break comes before the
// first "="; otherwise the first line after w1's that holds text but no "=", or, without such a line, the
// line after the previous value's line, which is one past the sheet's last line when the sheet simply ends.
struct SheetRefusal {
    int value = 0;
    int line = 0;
    SheetFault fault = SheetFault::NoEquals;
    int lineValue = 0; // LineLostEquals: the value the line stands for, one past the lines with "=" above it
    bool operator==(const SheetRefusal&) const = default;
};

// The text each value was read from: what stood between its "=" and the
// line break after it.
using SheetPieces = std::array<std::u16string, kProbabilityCount>;

// Thirteen lines "w1=" ... "w13=" (line 2 reads "w2 = "), each value in its
// shortest exact text with "." as decimal mark and each line ending in "\r\n".
std::u16string writeProbabilitySheet(const ProbabilityValues& values);

// Reads the k-th value from between the k-th "=" and the line break after it;
// labels are ignored, and a piece holding no number reads as 0. Returns the
// values, or where the sheet cannot be read: a line break before the first
// "=", or too few "=" for thirteen values. Where pieces is given, a sheet
// that could be read leaves there the text of each value.
std::variant<ProbabilityValues, SheetRefusal> readProbabilitySheet(std::u16string_view sheet,
                                                                   SheetPieces* pieces = nullptr);

// Showing the sheet: fills the tables on first use, returns the sheet of the
// current values and marks the tables ready.
std::u16string showProbabilitySheet(GeneratorState& state);

// Accepting the sheet: std::nullopt when all thirteen values were stored
// (filling the tables first if nothing has yet, so the values stay until the
// next accept); otherwise changes nothing and says where the sheet could not
// be read. Where pieces is given, an accepted sheet leaves there the text of
// each value.
std::optional<SheetRefusal> acceptProbabilitySheet(GeneratorState& state, std::u16string_view sheet,
                                                   SheetPieces* pieces = nullptr);

} // namespace versomat
