#include "controls/control_table_json.h"

#include <cmath>
#include <utility>

#include "controls/control_table.h"
#include "controls/json_string.h"
#include "controls/page_texts.h"
#include "controls/readable_colour.h"
#include "controls/window_session.h"
#include "runtime/utf8.h"

namespace versomat {
namespace {

// Writes values one after another, putting the commas between siblings.
class Json {
public:
    std::string text;

    void key(std::string_view name)
    {
        separate();
        quoted(name);
        text += ':';
        m_valueDue = true;
    }
    void open(char bracket)
    {
        separate();
        text += bracket;
        m_empty = true;
    }
    void close(char bracket)
    {
        text += bracket;
        m_empty = false;
    }
    void string(std::string_view utf8)
    {
        separate();
        quoted(utf8);
    }
    void string(std::u16string_view coreText) { string(std::string_view(toUtf8(coreText))); }
    void raw(std::string_view literal)
    {
        separate();
        text += literal;
    }
    void number(int value) { raw(std::to_string(value)); }
    void boolean(bool value) { raw(value ? "true" : "false"); }
    void null() { raw("null"); }
    void colour(const std::optional<Rgb>& rgb)
    {
        if (!rgb) {
            null();
            return;
        }
        string(std::string_view(hexColour(*rgb)));
    }
    // Point sizes are quarter points at most; written from hundredths so that
    // no floating-point formatting is needed.
    void points(double value)
    {
        const long hundredths = std::lround(value * 100);
        std::string written = std::to_string(hundredths / 100);
        if (const long fraction = hundredths % 100; fraction != 0) {
            written += '.';
            written += static_cast<char>('0' + fraction / 10);
            if (fraction % 10 != 0)
                written += static_cast<char>('0' + fraction % 10);
        }
        raw(written);
    }

private:
    void separate()
    {
        if (!m_empty && !m_valueDue)
            text += ',';
        m_empty = false;
        m_valueDue = false;
    }
    void quoted(std::string_view utf8) { appendJsonString(text, utf8); }

    bool m_empty = true;
    bool m_valueDue = false;
};

std::string_view faceName(Face face)
{
    return face == Face::Sans ? "sans" : "serif";
}

void writeControl(Json& json, const ControlRow& row)
{
    json.open('{');
    json.key("name");
    json.string(row.objectName);
    json.key("kind");
    json.string(kindName(row.kind));
    json.key("role");
    json.string(roleName(row.role));
    json.key("list");
    if (row.list)
        json.string(listName(*row.list));
    else
        json.null();
    const PixelRect at = pixelRect(row.twips);
    for (const auto& [key, value] :
         {std::pair{"left", at.left}, {"top", at.top}, {"width", at.width}, {"height", at.height}}) {
        json.key(key);
        json.number(value);
    }
    json.key("text");
    json.string(row.text);
    json.key("background");
    json.colour(row.background);
    json.key("font");
    json.open('{');
    json.key("face");
    if (row.font.face == Face::SystemDefault)
        json.null();
    else
        json.string(faceName(row.font.face));
    json.key("points");
    json.points(row.font.points);
    json.key("bold");
    json.boolean(row.font.bold);
    json.key("italic");
    json.boolean(row.font.italic);
    json.close('}');
    for (const auto& [name, flag] : {std::pair{"multiLine", kMultiLine},
                                     {"scrollBars", kBothScrollBars},
                                     {"centred", kCentred},
                                     {"hidden", kHiddenAtStart},
                                     {"onTop", kDrawnOnTop},
                                     {"framed", kFramed},
                                     {"selectsStartText", kSelectsStartText}}) {
        json.key(name);
        json.boolean((row.settings & flag) != 0);
    }
    json.key("accessibleName");
    json.string(row.accessibleName);
    json.key("help");
    json.string(row.help);
    json.key("order");
    json.number(oneColumnOrder(row));
    json.key("reads");
    if (const std::optional<std::size_t> input = WindowSession::inputOf(controlIndex(row)))
        json.number(static_cast<int>(*input));
    else
        json.null();
    json.close('}');
}

} // namespace

std::string controlTableJson()
{
    Json json;
    json.open('{');
    json.key("client");
    json.open('{');
    json.key("width");
    json.number(clientPixelSize().width);
    json.key("height");
    json.number(clientPixelSize().height);
    json.close('}');
    json.key("windowBackground");
    json.colour(kWindowBackground);
    json.key("controls");
    json.open('[');
    for (const ControlRow& row : controlTable())
        writeControl(json, row);
    json.close(']');
    json.key("pageTexts");
    json.open('{');
    for (const PageText& text : pageTexts()) {
        json.key(text.key);
        json.string(text.text);
    }
    json.close('}');
    json.close('}');
    return std::move(json.text);
}

} // namespace versomat
