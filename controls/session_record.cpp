#include "controls/session_record.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "controls/packed_fields.h"

namespace versomat {
namespace {

// Records live no longer than a tab, but a page may load a newer program
// into it: bumped whenever the fields change, so an old record is refused,
// not misread.
constexpr std::u16string_view kFormat = u"VMS1";

// The session's lists, values, position and prefix as a poem's origin would
// hold them (a list not accepted is empty), which lists are accepted, tables
// filled, output; then, after a poem, where each of its lists stands and the
// poem's origin.
constexpr std::size_t kAcceptedFlags = kPoemOriginFields;
constexpr std::size_t kTablesReady = kAcceptedFlags + 1;
constexpr std::size_t kOutput = kTablesReady + 1;
constexpr std::size_t kPoemSources = kOutput + 1;
constexpr std::size_t kPoemFields = kPoemSources + 1 + kPoemOriginFields;

// A poem's list is mostly the one accepted now: it is then not written twice.
constexpr char16_t kAsAccepted = u'a';
constexpr char16_t kOwnText = u't';

std::optional<bool> flagOf(char16_t c)
{
    if (c != u'0' && c != u'1')
        return std::nullopt;
    return c == u'1';
}

std::optional<bool> flagOf(std::u16string_view field)
{
    return field.size() == 1 ? flagOf(field[0]) : std::nullopt;
}

std::u16string flagField(bool flag)
{
    return flag ? u"1" : u"0";
}

} // namespace

std::string sessionRecordOf(const SessionRecord& record)
{
    PoemOrigin now{{}, record.values, record.random, record.counter, record.randomStart};
    std::u16string accepted;
    for (std::size_t i = 0; i < kWordLists; ++i) {
        now.lists[i] = record.accepted[i].value_or(u"");
        accepted += flagField(record.accepted[i].has_value());
    }
    std::vector<std::u16string> fields = originFields(now);
    fields.push_back(std::move(accepted));
    fields.push_back(flagField(record.tablesReady));
    fields.push_back(decimalField(static_cast<std::uint64_t>(record.output)));
    if (record.lastPoem) {
        std::vector<std::u16string> origin = originFields(*record.lastPoem);
        std::u16string sources;
        for (std::size_t i = 0; i < kWordLists; ++i) {
            const bool asAccepted = record.accepted[i] == origin[i];
            sources += asAccepted ? kAsAccepted : kOwnText;
            if (asAccepted)
                origin[i].clear();
        }
        fields.push_back(std::move(sources));
        std::move(origin.begin(), origin.end(), std::back_inserter(fields));
    }
    return packFields(kFormat, fields);
}

std::optional<SessionRecord> readSessionRecord(std::string_view text)
{
    std::optional<std::vector<std::u16string>> fields = unpackFields(text, kFormat);
    if (!fields || (fields->size() != kPoemSources && fields->size() != kPoemFields))
        return std::nullopt;
    std::vector<std::u16string>& f = *fields;
    const std::optional<PoemOrigin> now = originOf(std::span(f).first(kPoemOriginFields), 0);
    const std::u16string_view accepted = f[kAcceptedFlags];
    const std::optional<bool> tablesReady = flagOf(f[kTablesReady]);
    const std::optional<std::uint64_t> output = numberOf(f[kOutput], 10);
    // Filling the tables sets the counter to 1, and nothing sets it lower.
    if (!now || accepted.size() != kWordLists || !tablesReady || (now->counter != 0) != *tablesReady || !output ||
        *output > static_cast<std::uint64_t>(OutputShows::Poem))
        return std::nullopt;
    SessionRecord record{{},
                         now->values,
                         now->random,
                         now->counter,
                         now->randomStart,
                         *tablesReady,
                         static_cast<OutputShows>(*output),
                         std::nullopt};
    for (std::size_t i = 0; i < kWordLists; ++i) {
        const std::optional<bool> flag = flagOf(accepted[i]);
        if (!flag || (!*flag && !now->lists[i].empty()))
            return std::nullopt;
        if (*flag)
            record.accepted[i] = now->lists[i];
    }
    if (f.size() == kPoemFields) {
        const std::u16string_view sources = f[kPoemSources];
        if (sources.size() != kWordLists)
            return std::nullopt;
        const std::span<std::u16string> origin = std::span(f).subspan(kPoemSources + 1);
        for (std::size_t i = 0; i < kWordLists; ++i) {
            // Only one way to write each record: its own text only where it
            // differs from the accepted one.
            if (sources[i] == kAsAccepted && record.accepted[i] && origin[i].empty())
                origin[i] = *record.accepted[i];
            else if (sources[i] != kOwnText || record.accepted[i] == origin[i])
                return std::nullopt;
        }
        record.lastPoem = originOf(origin);
        if (!record.lastPoem)
            return std::nullopt;
    }
    // No list is ever taken back, so after a poem no click refuses.
    if ((record.output == OutputShows::Poem) != record.lastPoem.has_value())
        return std::nullopt;
    return record;
}

} // namespace versomat
