#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <variant>

#include "controls/control_table.h"
#include "controls/deflated_link.h"
#include "controls/window_session.h"
#include "controls/window_texts.h"
#include "control_rows.h"
#include "test_text.h"

namespace versomat {
namespace {

using testing::button;
using testing::utf8;
using enum ControlRole;

std::u16string outputOf(const ClickAnswer& answer)
{
    for (const ControlChange& change : answer.changes) {
        if (change.control == button(Output) && change.text)
            return *change.text;
    }
    return u"(the output box did not change)";
}

// A list of that many lines, words of its own on each.
std::u16string fullList(const std::u16string& lead, int lines)
{
    std::u16string text;
    for (int i = 0; i < lines; ++i)
        text += lead + u"Wört" + std::u16string(1, static_cast<char16_t>(u'a' + i % 26)) +
                std::u16string(i / 26, u'ß') + u"\r\n";
    return text;
}

// A session to share: its lists (none: the example), sheet, random start and
// poems before the one shared.
struct Sender {
    const char* name;
    std::array<std::optional<std::u16string>, kWordLists> lists;
    std::optional<std::u16string> sheet;
    bool randomStart = false;
    int poems = 1;
};

const std::u16string kSheet = u"w1=0.9\r\nw2 = 0.1\r\nw3=1e-300\r\nw4=-0\r\nw5=2\r\nw6=0.3\r\nw7=0.35\r\n"
                              u"w8=0.4\r\nw9=0.3\r\nw10=0.5\r\nw11=0.85\r\nw12=0.9\r\nw13=0.3\r\n";

const Sender kSenders[] = {
    {"the examples", {}, std::nullopt},
    {"own lists: umlauts, emoji, a lone surrogate",
     {u"der Bär\r\ndie Möwe\r\ndas Küken\r\nviele Hühner 🐔", u"das Öl\r\n", u"grüßt\r\nwinkt👋",
      std::u16string(u" süß\r\n\xD800 alt", 11)},
     std::nullopt,
     false,
     3},
    {"full lists", {fullList(u"der ", 21), fullList(u"die ", 21), fullList(u"", 51), fullList(u" ", 51)}, kSheet},
    {"one own list among examples, changed values, random start", {std::nullopt, u"der Hof"}, kSheet, true, 2},
};

WindowSession sessionOf(const Sender& sender)
{
    WindowSession session;
    for (const WordListKind list : kAllWordLists) {
        const std::optional<std::u16string>& own = sender.lists[static_cast<std::size_t>(list)];
        const ClickAnswer example = session.click(button(Example, list));
        session.click(button(Accept, list), own ? *own : *example.changes.front().text);
    }
    if (sender.sheet) {
        session.click(button(SheetShow));
        session.click(button(SheetAccept), *sender.sheet);
    }
    if (sender.randomStart)
        session.click(button(RandomStart));
    for (int i = 0; i < sender.poems; ++i)
        session.click(button(Generate));
    return session;
}

// Each link opens to the sender's poem, and the receiver's next ten poems
// are the sender's.
TEST(ShortLink, ALinkOpensToTheSamePoemAndTheNextTen)
{
    for (const Sender& sender : kSenders) {
        SCOPED_TRACE(sender.name);
        WindowSession sent = sessionOf(sender);
        const PoemOrigin origin = *sent.lastPoemOrigin();
        const std::optional<LinkContent> read = readLink(shortLinkOf(origin));
        ASSERT_TRUE(read && std::holds_alternative<PoemOrigin>(*read));
        WindowSession received;
        const std::u16string shown = outputOf(WindowSession().startFrom(origin));
        EXPECT_EQ(utf8(outputOf(received.startFrom(std::get<PoemOrigin>(*read)))), utf8(shown));
        for (int i = 0; i < 10; ++i)
            ASSERT_EQ(utf8(outputOf(received.click(button(Generate)))), utf8(outputOf(sent.click(button(Generate)))));
    }
}

// A list set fills and accepts the lists, shows no poem, and its first poem
// is a fresh page's after accepting the same lists (and values, if any).
TEST(ShortLink, AListSetOpensAsAFreshPageThatAcceptedTheLists)
{
    for (const bool sheet : {false, true}) {
        SCOPED_TRACE(sheet ? "values accepted" : "no values accepted");
        const auto accepting = [sheet] {
            WindowSession session;
            for (const WordListKind list : kAllWordLists)
                session.click(button(Accept, list), *kSenders[1].lists[static_cast<std::size_t>(list)]);
            if (sheet) {
                session.click(button(SheetShow));
                session.click(button(SheetAccept), kSheet);
            }
            return session;
        };
        const std::optional<LinkContent> read = readLink(shortLinkOf(*accepting().acceptedLists()));
        ASSERT_TRUE(read && std::holds_alternative<ListSet>(*read));
        WindowSession received;
        const ClickAnswer opened = received.startFromLists(std::get<ListSet>(*read));
        EXPECT_EQ(utf8(outputOf(opened)), utf8(controlRow(Output).text));
        int marks = 0;
        for (const ControlChange& change : opened.changes)
            marks += change.text == kAcceptedMark;
        EXPECT_EQ(marks, 4);
        EXPECT_EQ(utf8(outputOf(received.click(button(Generate)))),
                  utf8(outputOf(accepting().click(button(Generate)))));
    }
    EXPECT_FALSE(WindowSession().acceptedLists()) << "lists not accepted cannot be shared";
}

// A deflated payload past the limit is refused, whatever it holds; one of
// the limit opens as far as its size goes.
TEST(ShortLink, AnInflatedSizePastTheLimitIsRefused)
{
    const std::string zeros(kMaxLinkPayload + 1, '\0');
    const std::string bomb = deflateRaw(zeros);
    EXPECT_LT(bomb.size(), 2000u);
    EXPECT_FALSE(inflateRaw(bomb, kMaxLinkPayload));
    EXPECT_TRUE(inflateRaw(deflateRaw(std::string_view(zeros).substr(1)), kMaxLinkPayload));
}

} // namespace
} // namespace versomat
