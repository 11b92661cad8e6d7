// The page's way into the core: one Session per page, whose methods are the
// window's click handlers, each calling the same core functions as the Qt
// window. Texts cross as JavaScript strings (UTF-16) holding core text.

#include <emscripten/bind.h>
#include <emscripten/emscripten.h>
#include <emscripten/val.h>

#include <optional>
#include <string>
#include <string_view>

#include "controls/control_table_json.h"
#include "controls/window_texts.h"
#include "generator/poem_generator.h"
#include "runtime/random_source.h"
#include "settings/probability_sheet.h"
#include "state/generator_state.h"
#include "wordlists/list_summary.h"
#include "wordlists/word_lists.h"

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

// What the page needs after "Werte Übernehmen": on a refusal the hint and
// the 1-based line to select; nothing was changed then.
struct SheetAnswer {
    bool accepted = false;
    std::u16string hint;
    int line = 0;
};

// What the page needs after an accept: the mark's summary, and whether the
// accept took nothing, which the page shows at once beside the green mark.
struct AcceptAnswer {
    std::u16string summary;
    bool tookNothing = false;
};

class Session {
public:
    emscripten::val example(int list) { return toJavaScript(fillExample(m_state, wordList(list))); }

    // The page then shows the accepted mark.
    AcceptAnswer accept(int list, const std::u16string& text)
    {
        const WordListKind kind = wordList(list);
        acceptWordList(m_state, kind, text);
        return {acceptedListSummary(m_state, kind), acceptTookNothing(m_state, kind)};
    }

    // Each poem is written over the last one's text, reusing its memory.
    emscripten::val poem()
    {
        composePoemOrRefusal(m_state, m_random, m_poem);
        return toJavaScript(m_poem);
    }

    emscripten::val randomStart()
    {
        startRandomly(m_state, m_random);
        return poem();
    }

    emscripten::val showSheet() { return toJavaScript(showProbabilitySheet(m_state)); }

    SheetAnswer acceptSheet(const std::u16string& text)
    {
        const std::optional<SheetRefusal> refusal = acceptProbabilitySheet(m_state, text);
        if (!refusal)
            return {true, {}, 0};
        SheetHint hint = sheetRefusalHint(text, *refusal);
        return {false, std::move(hint.text), hint.line};
    }

private:
    // A list number outside 0..3 is the page's mistake: it becomes a
    // JavaScript RangeError before anything is touched.
    static WordListKind wordList(int list)
    {
        if (list < 0 || list >= static_cast<int>(kWordLists))
            emscripten::val::global("RangeError").new_(std::string("no word list ") + std::to_string(list)).throw_();
        return static_cast<WordListKind>(list);
    }

    GeneratorState m_state;
    RandomSource m_random;
    std::u16string m_poem;
};

} // namespace
} // namespace versomat

EMSCRIPTEN_BINDINGS(versomat)
{
    using namespace emscripten;
    using versomat::Session;
    using versomat::AcceptAnswer;
    using versomat::SheetAnswer;
    function("controlTableJson", &versomat::controlTableJson);
    value_object<AcceptAnswer>("AcceptAnswer")
        .field("summary", &AcceptAnswer::summary)
        .field("tookNothing", &AcceptAnswer::tookNothing);
    value_object<SheetAnswer>("SheetAnswer")
        .field("accepted", &SheetAnswer::accepted)
        .field("hint", &SheetAnswer::hint)
        .field("line", &SheetAnswer::line);
    class_<Session>("Session")
        .constructor<>()
        .function("example", &Session::example)
        .function("accept", &Session::accept)
        .function("poem", &Session::poem)
        .function("randomStart", &Session::randomStart)
        .function("showSheet", &Session::showSheet)
        .function("acceptSheet", &Session::acceptSheet);
}
