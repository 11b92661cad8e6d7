#include "controls/poem_link.h"

#include <algorithm>
#include <limits>
#include <variant>

#include "controls/packed_fields.h"
#include "generator/poem_generator.h"

namespace versomat {
namespace {

// Bumped whenever the fields change, so an old link is refused, not misread.
constexpr std::u16string_view kFormat = u"VM1";

} // namespace

bool onlyWholeLineBreaks(std::u16string_view text)
{
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char16_t c = text[at];
        if (c == u'\r' && at + 1 < text.size() && text[at + 1] == u'\n')
            ++at;
        else if (c == u'\r' || c == u'\n' || c == u'\u2028' || c == u'\u2029')
            return false;
    }
    return true;
}

std::vector<std::u16string> originFields(const PoemOrigin& origin)
{
    std::vector<std::u16string> fields(origin.lists.begin(), origin.lists.end());
    fields.push_back(writeProbabilitySheet(origin.values));
    fields.push_back(hexField(origin.random.state));
    fields.push_back(hexField(origin.random.increment));
    fields.push_back(decimalField(static_cast<std::uint64_t>(origin.counter)));
    fields.emplace_back(origin.randomStart ? kRandomStartPrefix : u"");
    return fields;
}

std::optional<PoemOrigin> originOf(std::span<const std::u16string> fields, std::int16_t lowestCounter)
{
    if (fields.size() != kPoemOriginFields)
        return std::nullopt;
    PoemOrigin origin;
    std::copy_n(fields.begin(), kWordLists, origin.lists.begin());
    const auto values = readProbabilitySheet(fields[kWordLists]);
    const auto state = numberOf(fields[kWordLists + 1], 16);
    const auto increment = numberOf(fields[kWordLists + 2], 16);
    const auto counter = numberOf(fields[kWordLists + 3], 10);
    const std::u16string_view prefix = fields[kWordLists + 4];
    // The sheet as the writer writes it, and no other text that reads as the
    // same values: a link or record reads as one origin and is written by
    // one text.
    if (!std::holds_alternative<ProbabilityValues>(values) ||
        writeProbabilitySheet(std::get<ProbabilityValues>(values)) != fields[kWordLists] || !state || !increment ||
        (*increment & 1u) == 0 || !counter ||
        *counter < static_cast<std::uint64_t>(std::max<std::int16_t>(lowestCounter, 0)) ||
        *counter > static_cast<std::uint64_t>(std::numeric_limits<std::int16_t>::max()) ||
        (!prefix.empty() && prefix != kRandomStartPrefix))
        return std::nullopt;
    origin.values = std::get<ProbabilityValues>(values);
    origin.random = {*state, *increment};
    origin.counter = static_cast<std::int16_t>(*counter);
    origin.randomStart = !prefix.empty();
    return origin;
}

std::string poemLinkOf(const PoemOrigin& origin)
{
    return packFields(kFormat, originFields(origin));
}

std::optional<PoemOrigin> readPoemLink(std::string_view link)
{
    if (link.size() > kMaxPoemLinkLength)
        return std::nullopt;
    const std::optional<std::vector<std::u16string>> fields = unpackFields(link, kFormat);
    if (!fields || fields->size() != kPoemOriginFields ||
        !std::all_of(fields->begin(), fields->begin() + kWordLists, onlyWholeLineBreaks))
        return std::nullopt;
    return originOf(*fields);
}

} // namespace versomat
