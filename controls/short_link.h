#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "controls/poem_link.h"
#include "settings/probability_sheet.h"
#include "state/generator_state.h"

namespace versomat {

// The word lists a teacher hands to a class: the four lists as accepted and
// the values, without a poem.
struct ListSet {
    std::array<std::u16string, kWordLists> lists;
    ProbabilityValues values;
    bool operator==(const ListSet&) const = default;
};

// What a link carries, named as its fragment names it ("#gedicht=…",
// "#wortlisten=…").
enum class LinkKind { Poem, ListSet };
std::string_view linkKey(LinkKind kind);

// A short link is made in three steps, so that the page can compress with
// the browser's own stream and the core needs no compressor of its own:
// the content as bytes (linkPayload), those bytes compressed as raw deflate
// by whoever makes the link, and the fragment framing the compressed bytes
// (linkOfDeflated). Reading goes back the same way: deflatedOfLink, inflate
// (at most kMaxLinkPayload bytes), then poemOfPayload or listSetOfPayload.
//
// The payload is the fields of the older links, in generalised UTF-8 rather
// than as 16-bit units, led by a field that names which lists are the
// built-in examples and whether the values are the start values: those are
// then left out. The format's tag pins what the names mean, so an example
// list changed later must come with a new tag. Bytes are held in
// std::string, as elsewhere in the core.
std::string linkPayload(const PoemOrigin& origin);
std::string linkPayload(const ListSet& lists);

// Inflated payloads past this are refused, and inflating stops there: a
// small link must not unpack to more than a link may be long.
inline constexpr std::size_t kMaxLinkPayload = 1 << 20;

// The fragment, without its "#": the kind's key, "=", the format's tag and
// the compressed bytes in base64url.
std::string linkOfDeflated(LinkKind kind, std::string_view deflated);

// The kind a fragment's key names, whatever follows it; none for a fragment
// that is no link of this program's.
std::optional<LinkKind> linkKindOf(std::string_view fragment);

// The compressed bytes of a short link's fragment; none for a fragment
// longer than kMaxPoemLinkLength, not of this format (a link of the older
// format among them) or not in base64url.
std::optional<std::string> deflatedOfLink(std::string_view fragment);

// The content of an inflated payload; none for one that is damaged, of the
// other kind, or not exactly what the writer writes for what it holds, and
// none for a list holding a line break other than "\r\n" (see readPoemLink).
std::optional<PoemOrigin> poemOfPayload(std::string_view payload);
std::optional<ListSet> listSetOfPayload(std::string_view payload);

} // namespace versomat
