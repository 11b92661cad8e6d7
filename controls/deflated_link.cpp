#include "controls/deflated_link.h"

#include <zlib.h>

#include <algorithm>

namespace versomat {

std::string deflateRaw(std::string_view bytes)
{
    z_stream stream{};
    // -15: a raw stream with the largest window; 9: the best compression,
    // since links are short and made one at a time.
    if (deflateInit2(&stream, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) != Z_OK)
        return {};
    std::string out(deflateBound(&stream, static_cast<uLong>(bytes.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int status = deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return status == Z_STREAM_END ? out : std::string();
}

std::optional<std::string> inflateRaw(std::string_view deflated, std::size_t limit)
{
    z_stream stream{};
    if (inflateInit2(&stream, -15) != Z_OK)
        return std::nullopt;
    // One byte past the limit tells a payload of the limit from a larger
    // one, without inflating the rest of a bomb.
    std::string out(limit + 1, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(deflated.data()));
    stream.avail_in = static_cast<uInt>(deflated.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int status = inflate(&stream, Z_FINISH);
    // Bytes after the stream's end are not read, as the browser's stream
    // does not read them either: the payload's check sum stands for what
    // the link holds, not how it was compressed.
    const bool whole = status == Z_STREAM_END && stream.total_out <= limit;
    out.resize(stream.total_out);
    inflateEnd(&stream);
    if (!whole)
        return std::nullopt;
    return out;
}

std::string shortLinkOf(const PoemOrigin& origin)
{
    return linkOfDeflated(LinkKind::Poem, deflateRaw(linkPayload(origin)));
}

std::string shortLinkOf(const ListSet& lists)
{
    return linkOfDeflated(LinkKind::ListSet, deflateRaw(linkPayload(lists)));
}

std::optional<LinkContent> readLink(std::string_view fragment)
{
    const std::optional<LinkKind> kind = linkKindOf(fragment);
    if (!kind)
        return std::nullopt;
    const std::optional<std::string> deflated = deflatedOfLink(fragment);
    if (!deflated) {
        if (*kind != LinkKind::Poem)
            return std::nullopt;
        std::optional<PoemOrigin> origin = readPoemLink(fragment.substr(linkKey(*kind).size() + 1));
        return origin ? std::optional<LinkContent>(std::move(*origin)) : std::nullopt;
    }
    const std::optional<std::string> payload = inflateRaw(*deflated, kMaxLinkPayload);
    if (!payload)
        return std::nullopt;
    if (*kind == LinkKind::Poem) {
        std::optional<PoemOrigin> origin = poemOfPayload(*payload);
        return origin ? std::optional<LinkContent>(std::move(*origin)) : std::nullopt;
    }
    std::optional<ListSet> lists = listSetOfPayload(*payload);
    return lists ? std::optional<LinkContent>(std::move(*lists)) : std::nullopt;
}

} // namespace versomat
