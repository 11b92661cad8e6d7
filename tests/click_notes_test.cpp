// What a click on an accept button tells the user about text it passed
// over, and that telling it leaves what is stored as it was.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "controls/window_session.h"
#include "settings/probability_sheet.h"
#include "control_rows.h"
#include "test_text.h"

namespace versomat {
namespace {

using testing::button;
using testing::utf8;

using Text = std::u16string;

// Numbered lines "<first word> N<n>" for n from `from` on.
Text nounLines(std::u16string_view firstWord, int count, int from = 0)
{
    Text text;
    for (int n = from; n < from + count; ++n)
        text += Text(firstWord) + u" N" + Text(1, static_cast<char16_t>(u'A' + n)) + u"\r\n";
    return text;
}

Text plainLines(int count)
{
    Text text;
    for (int n = 0; n < count; ++n)
        text += u" a" + Text(1, static_cast<char16_t>(u'0' + n / 10)) + Text(1, static_cast<char16_t>(u'0' + n % 10)) +
                u"\r\n";
    return text;
}

Text sheetWith(std::u16string_view from, std::u16string_view to)
{
    GeneratorState state;
    Text sheet = showProbabilitySheet(state);
    return sheet.replace(sheet.find(from), from.size(), to);
}

TEST(ClickNotes, NameWhatTheIntakePassedOverAndStoreAsBefore)
{
    using enum WordListKind;
    const Text longLine = u"einer von " + Text(50, u'x');
    const struct {
        const char* name;
        std::size_t button;
        Text input;
        Text said;                         // the note when noteAt is set, else what is announced
        std::optional<std::size_t> noteAt; // none: no note
        std::function<void(const GeneratorState&)> stored;
    } cases[] = {
        {"30 noun lines", button(ControlRole::Accept, Actors),
         nounLines(u"der", 7) + nounLines(u"die", 7, 7) + nounLines(u"das", 4, 14) + nounLines(u"viele", 3, 18) +
             nounLines(u"der", 9, 21),
         u"Übernommen: 7 mit der, 7 mit die, 4 mit das, 3 mit viele\r\n"
         u"Nur die ersten 21 Zeilen zählen: 9 Zeilen danach nicht gelesen.",
         button(ControlRole::Mark, Actors),
         [](const GeneratorState& s) {
             EXPECT_EQ(s.ActorCounts, (NounLasts{6, 6, 3, 2}));
             EXPECT_EQ(s.ActorList[3][2], u"NU");
         }},
        {"noun lines of no class, one without a blank, empty lines at the end", button(ControlRole::Accept, Objects),
         u"der Hof\r\nein Tisch\r\ndie Tür\r\n Das Haus\r\nKiste\r\nviele Bäume\r\ndas Obst\r\nEnde\r\n\r\n",
         u"Übernommen: 1 mit der, 1 mit die, 1 mit das, 1 mit viele\r\n4 Zeilen übergangen, da ihr erstes Wort keine "
         u"Klasse nennt („der“, „die“, „das“ oder „viele“): zuerst Zeile 2 „ein Tisch“.",
         button(ControlRole::Mark, Objects),
         [](const GeneratorState& s) {
             EXPECT_EQ(s.ObjectCounts, (NounLasts{0, 0, 0, 0}));
             EXPECT_EQ(s.ObjectList[3][0], u"Bäume");
         }},
        {"one long noun line of no class", button(ControlRole::Accept, Actors),
         u"der Mann\r\ndie Frau\r\ndas Kind\r\nviele Enkel\r\n" + longLine,
         u"Übernommen: 1 mit der, 1 mit die, 1 mit das, 1 mit viele\r\n1 Zeile übergangen, da ihr erstes Wort keine "
         u"Klasse nennt („der“, „die“, „das“ oder „viele“): Zeile 5 „" +
             longLine.substr(0, 40) + u"…“.",
         button(ControlRole::Mark, Actors),
         [](const GeneratorState& s) {
             EXPECT_EQ(s.ActorCounts, (NounLasts{0, 0, 0, 0}));
         }},
        {"an empty line ends the verbs", button(ControlRole::Accept, Verbs), u"liebt\r\n\r\nkauft\r\nlobt",
         u"Übernommen: 1 Eintrag\r\nZeile 2 hat weniger als drei Zeichen und beendet die Liste: 2 Zeilen danach "
         u"nicht gelesen.",
         button(ControlRole::Mark, Verbs),
         [](const GeneratorState& s) {
             EXPECT_EQ(s.VerbLast, 0);
             EXPECT_EQ(s.VerbList[0], u"liebt");
         }},
        {"a short last line and blank lines after it", button(ControlRole::Accept, Verbs),
         u"liebt\r\nkauft\r\nab\r\n\r\n \t\r\n", u"Übernommen: 2 Einträge", std::nullopt,
         [](const GeneratorState& s) { EXPECT_EQ(s.VerbLast, 1); }},
        {"an empty first line", button(ControlRole::Accept, Adjectives), u"\r\n alt",
         u"Nichts übernommen: schon die erste Zeile hatte weniger als drei Zeichen – das Gedicht bleibt hier leer.\r\n"
         u"Zeile 1 hat weniger als drei Zeichen und beendet die Liste: 1 Zeile danach nicht gelesen.",
         button(ControlRole::Mark, Adjectives), [](const GeneratorState& s) { EXPECT_EQ(s.AdjectiveLast, -1); }},
        {"60 adjectives", button(ControlRole::Accept, Adjectives), plainLines(60),
         u"Übernommen: 51 Einträge\r\nNur die ersten 51 Zeilen zählen: 9 Zeilen danach nicht gelesen.",
         button(ControlRole::Mark, Adjectives),
         [](const GeneratorState& s) {
             EXPECT_EQ(s.AdjectiveLast, 50);
             EXPECT_EQ(s.AdjectiveList[50], u" a50");
         }},
        {"a value above 1 with a decimal comma", button(ControlRole::SheetAccept), sheetWith(u"w4=0.15", u"w4=1,5"),
         u"Übernommen, doch nicht jeder Wert liegt zwischen 0 und 1:\r\n"
         u"w4: 1.5 liegt über 1 und zählt als Wahrscheinlichkeit 1: die Entscheidung fällt immer gleich aus.",
         button(ControlRole::SheetShow), [](const GeneratorState& s) { EXPECT_EQ(s.w4, 1.5); }},
        {"no number, and w13 below 0", button(ControlRole::SheetAccept),
         sheetWith(u"w13=0.1", u"w13=-0.5").replace(0, 6, u"w1=abc"),
         u"Übernommen, doch nicht jeder Wert war eine Zahl:\r\nw1: „abc“ ist keine Zahl, gelesen als 0\r\n"
         u"Nicht jeder Wert liegt zwischen 0 und 1:\r\n"
         u"w13: -0.5 liegt unter 0 und zählt als Wahrscheinlichkeit 0: die Entscheidung fällt immer gleich aus.",
         button(ControlRole::SheetShow),
         [](const GeneratorState& s) {
             EXPECT_EQ(s.w1, 0);
             EXPECT_EQ(s.w13, -0.5f);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WindowSession session;
        const ClickAnswer answer = session.click(c.button, c.input);
        EXPECT_EQ(utf8(answer.announcement), utf8(c.said));
        ASSERT_EQ(answer.note.has_value(), c.noteAt.has_value());
        if (answer.note) {
            EXPECT_EQ(answer.note->control, *c.noteAt);
            EXPECT_EQ(utf8(answer.note->text), utf8(c.said));
        }
        c.stored(session.state());
    }
}

} // namespace
} // namespace versomat
