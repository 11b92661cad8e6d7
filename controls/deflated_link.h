#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "controls/poem_link.h"
#include "controls/short_link.h"

namespace versomat {

// Short links in one step, compressed with zlib: for the native tests and
// tools. The web page makes the same links around the browser's own
// compression stream, so the WebAssembly core carries no compressor.

// Raw deflate (no zlib or gzip header), as the browser's "deflate-raw".
std::string deflateRaw(std::string_view bytes);

// The inflated bytes; none for a damaged or cut stream, or for more than
// limit bytes (found without inflating past the limit).
std::optional<std::string> inflateRaw(std::string_view deflated, std::size_t limit);

// The fragment of a short link, without its "#".
std::string shortLinkOf(const PoemOrigin& origin);
std::string shortLinkOf(const ListSet& lists);

// What a link's fragment carries, in either format (a poem's link of the
// older format too); none for a fragment that no page would open.
using LinkContent = std::variant<PoemOrigin, ListSet>;
std::optional<LinkContent> readLink(std::string_view fragment);

} // namespace versomat
