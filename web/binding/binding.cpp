// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Versomat developers
// The page's way into the core: one Session per page, whose click() is the
// window's twelve click handlers, answered by the same WindowSession as the
// Qt window. Plain C functions, wrapped for the page by core_api.js: texts
// arrive as UTF-16 units or UTF-8 bytes in a buffer the script allocated;
// what comes back is left in one place (lastResult) for the script to read
// before its next call. A click's answer comes back as one JSON text, which
// the script parses in one step rather than building it field by field.

#include <emscripten/emscripten.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "controls/control_table_json.h"
#include "controls/poem_link.h"
#include "controls/readable_colour.h"
#include "controls/short_link.h"
#include "controls/window_session.h"
#include "web/binding/answer_json.h"

namespace versomat {
namespace {

const Result* bytesResult(std::string bytes)
{
    resultBytes = std::move(bytes);
    lastResult = {reinterpret_cast<std::uintptr_t>(resultBytes.data()), static_cast<std::uint32_t>(resultBytes.size())};
    return &lastResult;
}

const Result* answerResult(const std::optional<ClickAnswer>& answer)
{
    return answer ? answerResult(*answer) : nullptr;
}

std::string_view bytesOf(const char* bytes, std::size_t length)
{
    return {bytes, length};
}

// A short link's kind by its fragment key ("gedicht", "wortlisten"), the
// name the page uses for it too.
std::optional<LinkKind> linkKindNamed(std::string_view name)
{
    for (const LinkKind kind : {LinkKind::Poem, LinkKind::ListSet}) {
        if (name == linkKey(kind))
            return kind;
    }
    return std::nullopt;
}

Rgb rgbOf(int packed)
{
    return {static_cast<std::uint8_t>(packed >> 16), static_cast<std::uint8_t>(packed >> 8),
            static_cast<std::uint8_t>(packed)};
}

} // namespace
} // namespace versomat

using namespace versomat;

extern "C" {

EMSCRIPTEN_KEEPALIVE const Result* versomat_control_table_json()
{
    return bytesResult(controlTableJson());
}

// The core's text colour for a background, both as 0xrrggbb.
EMSCRIPTEN_KEEPALIVE const Result* versomat_readable_text(int background, int systemText)
{
    return bytesResult(hexColour(readableTextOn(rgbOf(background), rgbOf(systemText))));
}

// The fragment (without "#") framing a payload the page compressed; null
// for a kind that is none.
EMSCRIPTEN_KEEPALIVE const Result* versomat_link_of_deflated(const char* kind, std::size_t kindLength,
                                                             const char* deflated, std::size_t length)
{
    const std::optional<LinkKind> named = linkKindNamed(bytesOf(kind, kindLength));
    return named ? bytesResult(linkOfDeflated(*named, bytesOf(deflated, length))) : nullptr;
}

// The kind of link a fragment holds, by its key; null for none of ours.
EMSCRIPTEN_KEEPALIVE const Result* versomat_link_kind_of(const char* fragment, std::size_t length)
{
    const std::optional<LinkKind> kind = linkKindOf(bytesOf(fragment, length));
    return kind ? bytesResult(std::string(linkKey(*kind))) : nullptr;
}

// The compressed bytes of a short link, for the page to inflate; null for
// a damaged one and for a link of the older format (openLink reads those).
EMSCRIPTEN_KEEPALIVE const Result* versomat_deflated_of_link(const char* fragment, std::size_t length)
{
    std::optional<std::string> bytes = deflatedOfLink(bytesOf(fragment, length));
    return bytes ? bytesResult(std::move(*bytes)) : nullptr;
}

// The page stops inflating past this many bytes and takes the link as
// damaged.
EMSCRIPTEN_KEEPALIVE double versomat_max_link_payload()
{
    return static_cast<double>(kMaxLinkPayload);
}

EMSCRIPTEN_KEEPALIVE WindowSession* versomat_session_new()
{
    return new WindowSession;
}
EMSCRIPTEN_KEEPALIVE void versomat_session_delete(WindowSession* session)
{
    delete session;
}

// Null for a row that is no button: the page's mistake, which its script
// turns into an error. Nothing is thrown from here, so nothing the call
// holds is left behind.
EMSCRIPTEN_KEEPALIVE const Result* versomat_click(WindowSession* session, int button, const char16_t* input,
                                                  std::size_t length)
{
    const std::span<const ControlRow> table = controlTable();
    if (button < 0 || static_cast<std::size_t>(button) >= table.size() ||
        table[static_cast<std::size_t>(button)].kind != ControlKind::Button)
        return nullptr;
    const std::size_t row = static_cast<std::size_t>(button);
    const std::u16string text = WindowSession::inputOf(row) ? std::u16string(input, length) : std::u16string();
    return answerResult(session->click(row, text));
}

// What a short link of that kind carries, as bytes for the page to
// compress: the shown poem, or the accepted lists and the values. Null
// before the first poem, while a list is not accepted, or for a kind that
// is none.
EMSCRIPTEN_KEEPALIVE const Result* versomat_link_payload(const WindowSession* session, const char* kind,
                                                         std::size_t kindLength)
{
    const std::optional<LinkKind> named = linkKindNamed(bytesOf(kind, kindLength));
    if (named == LinkKind::Poem) {
        const std::optional<PoemOrigin> origin = session->lastPoemOrigin();
        return origin ? bytesResult(linkPayload(*origin)) : nullptr;
    }
    if (named == LinkKind::ListSet) {
        const std::optional<ListSet> lists = session->acceptedLists();
        return lists ? bytesResult(linkPayload(*lists)) : nullptr;
    }
    return nullptr;
}

// Starts from an inflated payload of that kind: its poem, or its lists
// with no poem yet. Null, and nothing changed, for one that cannot be read.
EMSCRIPTEN_KEEPALIVE const Result* versomat_open_payload(WindowSession* session, const char* kind,
                                                         std::size_t kindLength, const char* payload,
                                                         std::size_t length)
{
    const std::optional<LinkKind> named = linkKindNamed(bytesOf(kind, kindLength));
    if (!named)
        return nullptr;
    const std::string_view bytes = bytesOf(payload, length);
    if (*named == LinkKind::Poem) {
        const std::optional<PoemOrigin> origin = poemOfPayload(bytes);
        return origin ? answerResult(session->startFrom(*origin)) : nullptr;
    }
    const std::optional<ListSet> lists = listSetOfPayload(bytes);
    return lists ? answerResult(session->startFromLists(*lists)) : nullptr;
}

// Starts from a poem's link of the older format, the whole fragment given;
// null, and nothing changed, for one that cannot be read.
EMSCRIPTEN_KEEPALIVE const Result* versomat_open_link(WindowSession* session, const char* fragment, std::size_t length)
{
    const std::string_view link = bytesOf(fragment, length);
    const std::string_view key = linkKey(LinkKind::Poem);
    const std::optional<PoemOrigin> origin =
        linkKindOf(link) == LinkKind::Poem ? readPoemLink(link.substr(key.size() + 1)) : std::nullopt;
    return origin ? answerResult(session->startFrom(*origin)) : nullptr;
}

// The whole session for the tab's storage, brought back after a reload by
// restore; null from restore, and nothing changed, for a record it cannot
// read.
EMSCRIPTEN_KEEPALIVE const Result* versomat_saved(const WindowSession* session)
{
    return bytesResult(session->savedSession());
}
EMSCRIPTEN_KEEPALIVE const Result* versomat_restore(WindowSession* session, const char* record, std::size_t length)
{
    return answerResult(session->restoreSession(bytesOf(record, length)));
}

} // extern "C"
