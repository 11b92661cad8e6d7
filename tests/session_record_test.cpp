#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "controls/control_table.h"
#include "controls/poem_link.h"
#include "controls/window_session.h"
#include "control_rows.h"
#include "test_text.h"

namespace versomat {
namespace {

using testing::button;
using testing::utf8;
using enum ControlRole;

// What a front end shows: each control's text, background and help after
// the answers so far, starting from the control table.
class ShownWindow {
public:
    ShownWindow()
    {
        for (const ControlRow& row : controlTable())
            m_controls[controlIndex(row)] = {std::u16string(row.text), row.background, std::u16string(row.help)};
    }
    void type(std::size_t box, std::u16string_view text) { m_controls[box].text = text; }
    void apply(const ClickAnswer& answer)
    {
        for (const ControlChange& change : answer.changes) {
            Shown& shown = m_controls[change.control];
            if (change.text)
                shown.text = *change.text;
            if (change.background)
                shown.background = change.background;
            if (change.help)
                shown.help = *change.help;
        }
    }
    struct Shown {
        std::u16string text;
        std::optional<Rgb> background;
        std::u16string help;
    };
    const Shown& operator[](std::size_t control) const { return m_controls.at(control); }

private:
    std::map<std::size_t, Shown> m_controls;
};

// A click, after the text typed into its box, if any.
struct Click {
    std::size_t button;
    std::optional<std::u16string> typed = std::nullopt;
};

std::vector<Click> examplesAccepted()
{
    std::vector<Click> clicks;
    for (const WordListKind list : kAllWordLists) {
        clicks.push_back({button(Example, list)});
        clicks.push_back({button(Accept, list)});
    }
    return clicks;
}

// A session saved and brought back into a fresh one shows the same marks,
// accepted lists and poem, and its next poems and link are the original's.
TEST(SessionRecord, ARestoredSessionGoesOnAsTheSavedOne)
{
    const std::u16string own[kWordLists] = {u"der Bär\r\ndie Möwe\r\ndas Küken\r\nviele Hühner 🐔", u"das Öl\r\n",
                                            u"grüßt\r\nwinkt👋", std::u16string(u" süß\r\n\xD800 alt", 11)};
    std::u16string sheet = u"w1=0.9\r\nw2 = 0.1\r\nw3=1e-300\r\nw4=-0\r\nw5=2\r\nw6=0.3\r\nw7=0.35\r\n"
                           u"w8=0.4\r\nw9=0.3\r\nw10=0.5\r\nw11=0.85\r\nw12=0.9\r\nw13=0.3\r\n";
    std::vector<Click> ownLists;
    for (const WordListKind list : kAllWordLists)
        ownLists.push_back({button(Accept, list), own[static_cast<std::size_t>(list)]});
    const auto with = [](std::vector<Click> clicks, const std::vector<Click>& more) {
        clicks.insert(clicks.end(), more.begin(), more.end());
        return clicks;
    };
    const Click poem{button(Generate)};
    const struct {
        const char* name;
        std::vector<Click> clicks;
    } sessions[] = {
        {"before any click", {}},
        {"refused while two lists are missing",
         {{button(Accept, WordListKind::Verbs), own[2]}, {button(Accept, WordListKind::Actors), u""}, poem}},
        {"examples accepted, before any poem", examplesAccepted()},
        {"sheet shown only", {{button(SheetShow)}}},
        {"sheet accepted before the tables were filled", {{button(SheetAccept), sheet}}},
        {"examples accepted, after two poems", with(examplesAccepted(), {poem, poem})},
        {"own lists, changed sheet, random start",
         with(ownLists, {{button(SheetAccept), sheet}, {button(RandomStart)}, poem})},
        {"a list accepted anew after the poem",
         with(with(examplesAccepted(), {poem}), {{button(Accept, WordListKind::Objects), own[1]}})},
    };
    for (const auto& s : sessions) {
        SCOPED_TRACE(s.name);
        WindowSession saved;
        ShownWindow savedWindow;
        for (const Click& click : s.clicks) {
            if (const std::optional<std::size_t> box = WindowSession::inputOf(click.button)) {
                if (click.typed)
                    savedWindow.type(*box, *click.typed);
                savedWindow.apply(saved.click(click.button, savedWindow[*box].text));
            } else {
                savedWindow.apply(saved.click(click.button));
            }
        }
        const std::string record = saved.savedSession();

        WindowSession restored;
        restored.click(button(Generate)); // what happened before does not count
        const std::optional<ClickAnswer> answer = restored.restoreSession(record);
        ASSERT_TRUE(answer);
        ShownWindow restoredWindow;
        restoredWindow.apply(*answer);
        for (const WordListKind list : kAllWordLists) {
            const std::size_t mark = button(Mark, list), box = button(ListBox, list);
            EXPECT_EQ(utf8(restoredWindow[mark].text), utf8(savedWindow[mark].text));
            EXPECT_EQ(utf8(restoredWindow[mark].help), utf8(savedWindow[mark].help));
            EXPECT_EQ(restoredWindow[mark].background, savedWindow[mark].background);
            if (saved.state().ReadyFlags[static_cast<std::size_t>(list)]) {
                EXPECT_EQ(restoredWindow[box].text, savedWindow[box].text);
            }
        }
        EXPECT_EQ(utf8(restoredWindow[button(Output)].text), utf8(savedWindow[button(Output)].text));
        EXPECT_EQ(restored.savedSession(), record);

        for (int i = 0; i < 3; ++i) {
            const auto link = [](const WindowSession& session) {
                const std::optional<PoemOrigin> origin = session.lastPoemOrigin();
                return origin ? poemLinkOf(*origin) : std::string();
            };
            EXPECT_EQ(link(restored), link(saved));
            EXPECT_EQ(utf8(*restored.click(button(Generate)).changes.back().text),
                      utf8(*saved.click(button(Generate)).changes.back().text));
        }
    }
}

TEST(SessionRecord, ADamagedOrForeignRecordChangesNothing)
{
    WindowSession saved;
    for (const WordListKind list : kAllWordLists)
        saved.click(button(Accept, list), u"der Mann\r\nliebt\r\n alt");
    saved.click(button(Generate));
    const std::string record = saved.savedSession();
    const std::optional<PoemOrigin> origin = saved.lastPoemOrigin();
    std::string changed = record;
    changed[changed.size() / 2] = changed[changed.size() / 2] == 'A' ? 'B' : 'A';

    WindowSession session;
    session.click(button(Accept, WordListKind::Actors), u"die Frau");
    const std::string before = session.savedSession();
    for (const std::string& damaged : {std::string(), record.substr(0, record.size() - 4), changed, record + "AAAA",
                                       poemLinkOf(*origin), before.substr(1)}) {
        SCOPED_TRACE(damaged.substr(0, 40));
        EXPECT_FALSE(session.restoreSession(damaged));
        EXPECT_EQ(session.savedSession(), before);
    }
    EXPECT_FALSE(readPoemLink(record)) << "a record is no link";
}

} // namespace
} // namespace versomat
