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
#include "controls/window_session.h"

// Core text as a JavaScript string, decoded in one step: embind's own
// conversion visits every character in JavaScript first, which took longer
// than composing the poem.
EM_JS(emscripten::EM_VAL, javaScriptStringOf, (const char16_t* text, std::size_t length), {
    const decoder = javaScriptStringOf.decoder || (javaScriptStringOf.decoder = new TextDecoder("utf-16le"));
    return Emval.toHandle(decoder.decode(HEAPU8.subarray(text, text + 2 * length)));
});

namespace versomat {
namespace {

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

    // The shown poem as a link's fragment; null before the first poem.
    emscripten::val poemLink() const
    {
        const std::optional<PoemOrigin> origin = m_session.lastPoemOrigin();
        return origin ? emscripten::val(poemLinkOf(*origin)) : emscripten::val::null();
    }

    // Starts from a link's poem; null, and nothing changed, for a link that
    // cannot be read.
    emscripten::val openLink(const std::string& link)
    {
        const std::optional<PoemOrigin> origin = readPoemLink(link);
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
    class_<Session>("Session")
        .constructor<>()
        .function("click", &Session::click)
        .function("poemLink", &Session::poemLink)
        .function("openLink", &Session::openLink)
        .function("saved", &Session::saved)
        .function("restore", &Session::restore);
}
