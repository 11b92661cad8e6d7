#include "controls/short_link.h"

#include <algorithm>
#include <variant>

#include "controls/packed_fields.h"
#include "runtime/utf8.h"
#include "wordlists/word_lists.h"

namespace versomat {
namespace {

// The payload's tags, one per kind: a payload opens only as its own kind.
// Bumped whenever the fields or the named texts change.
constexpr std::u16string_view kPoemFormat = u"VM2G";
constexpr std::u16string_view kListSetFormat = u"VM2W";
// Leads the fragment's text after its key; links of the older format begin
// with "Vg" (their tag's first unit in base64).
constexpr std::string_view kLinkTag = "V2";

// Bit i of the leading field names the i-th of these: the example lists,
// then the start values' sheet.
constexpr std::size_t kNamed = kWordLists + 1;
constexpr std::size_t kSheetField = 1 + kWordLists; // after the names' field

const std::array<std::u16string, kNamed>& namedTexts()
{
    static const std::array<std::u16string, kNamed> texts = [] {
        GeneratorState state;
        std::array<std::u16string, kNamed> named;
        for (const WordListKind list : kAllWordLists)
            named[static_cast<std::size_t>(list)] = fillExample(state, list);
        named[kWordLists] = writeProbabilitySheet(startProbabilityValues());
        return named;
    }();
    return texts;
}

// fields: a slot for the names, the lists, the sheet and the kind's own;
// what is named is left out. Sheets are compared as written, so that -0 is
// not taken for 0.
std::string payloadOf(std::u16string_view format, std::vector<std::u16string> fields)
{
    unsigned named = 0;
    for (std::size_t i = 0; i < kNamed; ++i) {
        if (fields[1 + i] == namedTexts()[i]) {
            named |= 1u << i;
            fields[1 + i].clear();
        }
    }
    fields[0] = decimalField(named);
    return toGeneralizedUtf8(fieldsPayload(format, fields));
}

// The fields as payloadOf took them, the named texts put back; none for a
// payload that cannot be read so far. Whether it is the writer's own form
// is for the caller to check, once it has the content.
std::optional<std::vector<std::u16string>> fieldsOf(std::string_view payload, std::u16string_view format,
                                                    std::size_t count)
{
    const std::optional<std::u16string> text =
        payload.size() <= kMaxLinkPayload ? fromGeneralizedUtf8(payload) : std::nullopt;
    std::optional<std::vector<std::u16string>> fields = text ? fieldsOfPayload(*text, format) : std::nullopt;
    if (!fields || fields->size() != 1 + count)
        return std::nullopt;
    const std::optional<std::uint64_t> named = numberOf(fields->front(), 10);
    if (!named || (*named >> kNamed) != 0)
        return std::nullopt;
    for (std::size_t i = 0; i < kNamed; ++i) {
        if ((*named >> i) & 1u)
            (*fields)[1 + i] = namedTexts()[i];
    }
    for (std::size_t i = 1; i <= kWordLists; ++i) {
        if (!onlyWholeLineBreaks((*fields)[i]))
            return std::nullopt;
    }
    return fields;
}

} // namespace

std::string_view linkKey(LinkKind kind)
{
    return kind == LinkKind::Poem ? "gedicht" : "wortlisten";
}

std::string linkPayload(const PoemOrigin& origin)
{
    std::vector<std::u16string> fields = originFields(origin);
    fields.insert(fields.begin(), std::u16string());
    return payloadOf(kPoemFormat, std::move(fields));
}

std::string linkPayload(const ListSet& lists)
{
    std::vector<std::u16string> fields(kSheetField + 1);
    std::copy(lists.lists.begin(), lists.lists.end(), fields.begin() + 1);
    fields[kSheetField] = writeProbabilitySheet(lists.values);
    return payloadOf(kListSetFormat, std::move(fields));
}

std::string linkOfDeflated(LinkKind kind, std::string_view deflated)
{
    std::string link(linkKey(kind));
    link += '=';
    link += kLinkTag;
    link += base64url(deflated);
    return link;
}

std::optional<LinkKind> linkKindOf(std::string_view fragment)
{
    for (const LinkKind kind : {LinkKind::Poem, LinkKind::ListSet}) {
        const std::string_view key = linkKey(kind);
        if (fragment.starts_with(key) && fragment.substr(key.size()).starts_with('='))
            return kind;
    }
    return std::nullopt;
}

std::optional<std::string> deflatedOfLink(std::string_view fragment)
{
    const std::optional<LinkKind> kind = linkKindOf(fragment);
    if (!kind || fragment.size() > kMaxPoemLinkLength)
        return std::nullopt;
    const std::string_view text = fragment.substr(linkKey(*kind).size() + 1);
    if (!text.starts_with(kLinkTag))
        return std::nullopt;
    return bytesOfBase64url(text.substr(kLinkTag.size()));
}

std::optional<PoemOrigin> poemOfPayload(std::string_view payload)
{
    const std::optional<std::vector<std::u16string>> fields = fieldsOf(payload, kPoemFormat, kPoemOriginFields);
    std::optional<PoemOrigin> origin = fields ? originOf(std::span(*fields).subspan(1)) : std::nullopt;
    // One payload for each content: whatever could be written otherwise
    // (a named text carried, a carried one also named) is refused.
    if (!origin || linkPayload(*origin) != payload)
        return std::nullopt;
    return origin;
}

std::optional<ListSet> listSetOfPayload(std::string_view payload)
{
    const std::optional<std::vector<std::u16string>> fields = fieldsOf(payload, kListSetFormat, kSheetField);
    if (!fields)
        return std::nullopt;
    const auto values = readProbabilitySheet((*fields)[kSheetField]);
    if (!std::holds_alternative<ProbabilityValues>(values))
        return std::nullopt;
    ListSet lists;
    std::copy_n(fields->begin() + 1, kWordLists, lists.lists.begin());
    lists.values = std::get<ProbabilityValues>(values);
    if (linkPayload(lists) != payload)
        return std::nullopt;
    return lists;
}

} // namespace versomat
