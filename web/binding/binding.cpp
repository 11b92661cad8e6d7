// The page's way into the core: one Session per page, whose click() is the
// window's twelve click handlers, answered by the same WindowSession as the
// Qt window. Texts cross as JavaScript strings (UTF-16) holding core text.

#include <emscripten/bind.h>
#include <emscripten/emscripten.h>
#include <emscripten/val.h>

#include <optional>
#include <string>
#include <string_view>

#include "controls/control_table_json.h"
#include "controls/poem_link.h"
#include "controls/readable_colour.h"
#include "controls/short_link.h"
#include "controls/window_session.h"

// Core text as a JavaScript string, decoded in one step: embind's own
// conversion visits every character in JavaScript first, which took longer
// than composing the poem.
EM_JS(emscripten::EM_VAL, javaScriptStringOf, (const char16_t* text, std::size_t length), {
    const decoder = javaScriptStringOf.decoder || (javaScriptStringOf.decoder = new TextDecoder("utf-16le"));
    return Emval.toHandle(decoder.decode(HEAPU8.subarray(text, text + 2 * length)));
});

// Bytes cross as Uint8Array, copied either way: a view into the heap would
// go stale when the heap grows. Plain JavaScript, as embind's own
// conversion of arrays is larger than all of a link's code.
EM_JS(emscripten::EM_VAL, bytesToJavaScriptOf, (const char* bytes, std::size_t length),
      { return Emval.toHandle(HEAPU8.slice(bytes, bytes + length)); });
EM_JS(bool, isBytes, (emscripten::EM_VAL value), { return Emval.toValue(value) instanceof Uint8Array; });
EM_JS(std::size_t, byteLength, (emscripten::EM_VAL array), { return Emval.toValue(array).length; });
EM_JS(void, copyBytes, (emscripten::EM_VAL array, char* to), { HEAPU8.set(Emval.toValue(array), to); });

namespace versomat {
namespace {

emscripten::val bytesToJavaScript(std::string_view bytes)
{
    return emscripten::val::take_ownership(bytesToJavaScriptOf(bytes.data(), bytes.size()));
}

emscripten::val toJavaScript(std::u16string_view text)
{
    return emscripten::val::take_ownership(javaScriptStringOf(text.data(), text.size()));
}

emscripten::val colourText(Rgb colour)
{
    return emscripten::val(hexColour(colour));
}

emscripten::val toJavaScript(const ControlChange& change)
{
    emscripten::val out = emscripten::val::object();
    out.set("control", static_cast<int>(change.control));
    if (change.text)
        out.set("text", toJavaScript(*change.text));
    out.set("undoable", change.undoable);
    if (change.background)
        out.set("background", colourText(*change.background));
    if (change.help)
        out.set("help", toJavaScript(*change.help));
    if (change.visible)
        out.set("visible", *change.visible);
    if (change.refused)
        out.set("refused", *change.refused);
    out.set("selectLine", change.selectLine);
    return out;
}

emscripten::val toJavaScript(const ClickAnswer& answer)
{
    emscripten::val changes = emscripten::val::array();
    for (const ControlChange& change : answer.changes)
        changes.call<void>("push", toJavaScript(change));
    emscripten::val out = emscripten::val::object();
    out.set("changes", changes);
    if (answer.note) {
        emscripten::val note = emscripten::val::object();
        note.set("control", static_cast<int>(answer.note->control));
        note.set("text", toJavaScript(answer.note->text));
        out.set("note", note);
    } else {
        out.set("note", emscripten::val::null());
    }
    out.set("announcement", toJavaScript(answer.announcement));
    return out;
}

Rgb rgbOf(int packed)
{
    return {static_cast<std::uint8_t>(packed >> 16), static_cast<std::uint8_t>(packed >> 8),
            static_cast<std::uint8_t>(packed)};
}

// The core's text colour for a background, both as 0xrrggbb.
std::string readableText(int background, int systemText)
{
    return hexColour(readableTextOn(rgbOf(background), rgbOf(systemText)));
}

// A short link's kind by its fragment key ("gedicht", "wortlisten"), the
// name the page uses for it too. The keys are string literals, so their
// data() ends in a null.
std::optional<LinkKind> linkKindNamed(const emscripten::val& name)
{
    for (const LinkKind kind : {LinkKind::Poem, LinkKind::ListSet}) {
        if (name.strictlyEquals(emscripten::val(linkKey(kind).data())))
            return kind;
    }
    return std::nullopt;
}

// A Uint8Array's bytes (isBytes first).
std::string bytesOf(const emscripten::val& array)
{
    std::string bytes(static_cast<std::size_t>(byteLength(array.as_handle())), '\0');
    copyBytes(array.as_handle(), bytes.data());
    return bytes;
}

// The fragment (without "#") framing a payload the page compressed; null
// for a kind that is none or bytes that are no Uint8Array.
emscripten::val linkOfDeflatedBytes(const emscripten::val& kind, const emscripten::val& deflated)
{
    const std::optional<LinkKind> named = linkKindNamed(kind);
    return named && isBytes(deflated.as_handle()) ? emscripten::val(linkOfDeflated(*named, bytesOf(deflated)))
                                                  : emscripten::val::null();
}

// The kind of link a fragment holds, by its key; null for none of ours.
emscripten::val linkKindOfFragment(const std::string& fragment)
{
    const std::optional<LinkKind> kind = linkKindOf(fragment);
    return kind ? emscripten::val(std::string(linkKey(*kind))) : emscripten::val::null();
}

// The compressed bytes of a short link, for the page to inflate; null for
// a damaged one and for a link of the older format (openLink reads those).
emscripten::val deflatedOfFragment(const std::string& fragment)
{
    const std::optional<std::string> bytes = deflatedOfLink(fragment);
    return bytes ? bytesToJavaScript(*bytes) : emscripten::val::null();
}

// The page stops inflating past this many bytes and takes the link as
// damaged.
double maxLinkPayload()
{
    return static_cast<double>(kMaxLinkPayload);
}

class Session {
public:
    // Null for a row that is no button: the page's mistake, which its script
    // turns into an error. Nothing is thrown from here, so nothing the call
    // holds (the handed-over text above all) is left behind.
    emscripten::val click(int button, const emscripten::val& input)
    {
        const std::span<const ControlRow> table = controlTable();
        if (button < 0 || static_cast<std::size_t>(button) >= table.size() ||
            table[static_cast<std::size_t>(button)].kind != ControlKind::Button)
            return emscripten::val::null();
        const std::size_t row = static_cast<std::size_t>(button);
        const std::u16string text =
            WindowSession::inputOf(row) && input.isString() ? input.as<std::u16string>() : std::u16string();
        return toJavaScript(m_session.click(row, text));
    }

    // What a short link of that kind carries, as bytes for the page to
    // compress: the shown poem, or the accepted lists and the values. Null
    // before the first poem, while a list is not accepted, or for a kind
    // that is none.
    emscripten::val linkPayload(const emscripten::val& kind) const
    {
        const std::optional<LinkKind> named = linkKindNamed(kind);
        if (named == LinkKind::Poem) {
            const std::optional<PoemOrigin> origin = m_session.lastPoemOrigin();
            return origin ? bytesToJavaScript(versomat::linkPayload(*origin)) : emscripten::val::null();
        }
        if (named == LinkKind::ListSet) {
            const std::optional<ListSet> lists = m_session.acceptedLists();
            return lists ? bytesToJavaScript(versomat::linkPayload(*lists)) : emscripten::val::null();
        }
        return emscripten::val::null();
    }

    // Starts from an inflated payload of that kind: its poem, or its lists
    // with no poem yet. Null, and nothing changed, for one that cannot be
    // read.
    emscripten::val openPayload(const emscripten::val& kind, const emscripten::val& payload)
    {
        const std::optional<LinkKind> named = linkKindNamed(kind);
        if (!named || !isBytes(payload.as_handle()))
            return emscripten::val::null();
        const std::string bytes = bytesOf(payload);
        if (*named == LinkKind::Poem) {
            const std::optional<PoemOrigin> origin = poemOfPayload(bytes);
            return origin ? toJavaScript(m_session.startFrom(*origin)) : emscripten::val::null();
        }
        const std::optional<ListSet> lists = listSetOfPayload(bytes);
        return lists ? toJavaScript(m_session.startFromLists(*lists)) : emscripten::val::null();
    }

    // Starts from a poem's link of the older format, the whole fragment
    // given; null, and nothing changed, for one that cannot be read.
    emscripten::val openLink(const std::string& fragment)
    {
        const std::string_view key = linkKey(LinkKind::Poem);
        const std::optional<PoemOrigin> origin = linkKindOf(fragment) == LinkKind::Poem
                                                     ? readPoemLink(std::string_view(fragment).substr(key.size() + 1))
                                                     : std::nullopt;
        return origin ? toJavaScript(m_session.startFrom(*origin)) : emscripten::val::null();
    }

    // The whole session for the tab's storage, brought back after a reload
    // by restore(); null from restore, and nothing changed, for a record it
    // cannot read.
    std::string saved() const { return m_session.savedSession(); }
    emscripten::val restore(const std::string& record)
    {
        const std::optional<ClickAnswer> answer = m_session.restoreSession(record);
        return answer ? toJavaScript(*answer) : emscripten::val::null();
    }

private:
    WindowSession m_session;
};

} // namespace
} // namespace versomat

EMSCRIPTEN_BINDINGS(versomat)
{
    using namespace emscripten;
    using versomat::Session;
    function("controlTableJson", &versomat::controlTableJson);
    function("readableText", &versomat::readableText);
    function("linkOfDeflated", &versomat::linkOfDeflatedBytes);
    function("linkKindOf", &versomat::linkKindOfFragment);
    function("deflatedOfLink", &versomat::deflatedOfFragment);
    function("maxLinkPayload", &versomat::maxLinkPayload);
    class_<Session>("Session")
        .constructor<>()
        .function("click", &Session::click)
        .function("linkPayload", &Session::linkPayload)
        .function("openPayload", &Session::openPayload)
        .function("openLink", &Session::openLink)
        .function("saved", &Session::saved)
        .function("restore", &Session::restore);
}
