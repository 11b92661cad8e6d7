#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <variant>

#include "controls/control_table_json.h"
#include "controls/list_summary.h"
#include "controls/poem_link.h"
#include "controls/readable_colour.h"
#include "controls/window_session.h"
#include "controls/window_texts.h"
#include "generator/poem_generator.h"
#include "control_rows.h"
#include "test_text.h"

namespace versomat {
namespace {

using testing::button;
using testing::utf8;

using Text = std::u16string;

const Text kDefaultSheet = u"w1=0.7\r\nw2 = 0.9\r\nw3=0.1\r\nw4=0.15\r\nw5=0.2\r\nw6=0.3\r\nw7=0.35\r\n"
                           u"w8=0.4\r\nw9=0.3\r\nw10=0.5\r\nw11=0.85\r\nw12=0.9\r\nw13=0.1\r\n";

// Each way a sheet can be unreadable, through the reader to what the user is
// told and which line is selected.
TEST(SheetRefusalHint, NamesWhatIsMissingAndALineThatExists)
{
    const Text twelveLines = kDefaultSheet.substr(0, kDefaultSheet.find(u"w13="));
    Text lostEquals = kDefaultSheet;
    lostEquals.replace(lostEquals.find(u"w5="), 3, u"w5 ");
    const Text w13Missing = u"Nicht übernommen: der 13. Wert (w13) fehlt (gefunden: 12 von 13 Werten).\r\n"
                            u"Nach Zeile 12 fehlt die Zeile „w13=0.1“.";
    const struct {
        const char* name;
        Text sheet;
        Text hint;
        int line;
    } cases[] = {
        {"no equals sign at all", u"w1 0.7\r\nw2 0.9\r\n",
         u"Nicht übernommen: das Blatt enthält kein „=“.\r\n"
         u"Jede Zeile braucht die Form „w1=0.7“, eine Zeile je Wert von w1 bis w13.",
         1},
        {"line break before the first equals sign", u"Werte\r\n" + kDefaultSheet,
         u"Nicht übernommen: Zeile 1 enthält kein „=“, so fehlt der 1. Wert (w1).\r\n"
         u"Die erste Zeile braucht die Form „w1=0.7“.",
         1},
        {"a line without equals sign in the middle", lostEquals,
         u"Nicht übernommen: Zeile 5 enthält kein „=“ (gefunden: 12 von 13 Werten).\r\n"
         u"Die Zeile braucht die Form „w5=0.2“.",
         5},
        {"twelve lines without final line break", twelveLines.substr(0, twelveLines.size() - 2), w13Missing, 12},
        {"twelve lines with final line break", twelveLines, w13Missing, 12},
        {"two values and blank lines", u"w1=1\r\nw2=2\r\n\r\n \r\n",
         u"Nicht übernommen: die Werte w3 bis w13 fehlen (gefunden: 2 von 13 Werten).\r\n"
         u"Nach Zeile 2 fehlen die Zeilen „w3=0.1“ bis „w13=0.1“.",
         2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::variant<ProbabilityValues, SheetRefusal> reading = readProbabilitySheet(c.sheet);
        ASSERT_TRUE(std::holds_alternative<SheetRefusal>(reading));
        const SheetHint hint = sheetRefusalHint(std::get<SheetRefusal>(reading));
        EXPECT_EQ(utf8(hint.text), utf8(c.hint));
        EXPECT_EQ(hint.line, c.line);
    }
}

TEST(ListSummary, SaysWhatTheLastIntakeTook)
{
    const struct {
        const char* name;
        WordListKind list;
        std::u16string text; // accepted; empty means the example
        const char16_t* expected;
        bool needsAttention;
    } cases[] = {
        {"example actors", WordListKind::Actors, u"", u"Übernommen: 4 mit der, 2 mit die, 1 mit das, 2 mit viele",
         false},
        {"example objects", WordListKind::Objects, u"", u"Übernommen: 4 mit der, 2 mit die, 6 mit das, 1 mit viele",
         false},
        {"one class missing", WordListKind::Objects, u"der Hof\r\ndie Tür\r\nviele Bäume",
         u"Übernommen: 1 mit der, 1 mit die, 1 mit viele\r\nKeine Zeile beginnt mit „das“: wo ein Gedicht ein "
         u"solches Nomen wählt, bleibt das Wort leer.",
         true},
        {"two classes missing", WordListKind::Actors, u"der Mann\r\ndie Frau\r\nder Sohn",
         u"Übernommen: 2 mit der, 1 mit die\r\nKeine Zeile beginnt mit „das“ oder „viele“: wo ein Gedicht ein "
         u"solches Nomen wählt, bleibt das Wort leer.",
         true},
        {"no known first word", WordListKind::Actors, u"noch leer\r\n",
         u"Nichts übernommen: keine Zeile hatte die Form „der Mann“ – das Gedicht bleibt hier leer.", true},
        {"example adjectives", WordListKind::Adjectives, u"", u"Übernommen: 9 Einträge", false},
        {"one verb", WordListKind::Verbs, u"liebt", u"Übernommen: 1 Eintrag", false},
        {"short first line", WordListKind::Verbs, u"ab\r\nliebt",
         u"Nichts übernommen: schon die erste Zeile hatte weniger als drei Zeichen – das Gedicht bleibt hier leer.",
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GeneratorState state;
        EXPECT_EQ(utf8(acceptedListSummary(state, c.list).text), utf8(u"Noch nicht übernommen."));
        acceptWordList(state, c.list, c.text.empty() ? fillExample(state, c.list) : c.text);
        const ListSummary summary = acceptedListSummary(state, c.list);
        EXPECT_EQ(utf8(summary.text), utf8(c.expected));
        EXPECT_EQ(summary.needsAttention, c.needsAttention);
    }
}

// A value that is no number is read as 0, or as its leading number; the
// user is told which, once the sheet has been taken.
TEST(SheetValueNote, NamesEachValueThatWasNoNumber)
{
    const struct {
        const char* name;
        Text w2; // what stands after "w2 = "
        Text note;
    } cases[] = {
        {"a number", u"0.5", u""},
        {"blanks and tabs around a number", u" \t0.5 \t", u""},
        {"a decimal comma", u"0,5", u""},
        {"letters", u"abc", u"\r\nw2: „abc“ ist keine Zahl, gelesen als 0"},
        {"nothing", u"", u"\r\nw2: kein Wert, gelesen als 0"},
        {"a number and letters", u"0.7abc", u"\r\nw2: gelesen als 0.7, „abc“ übergangen"},
        {"NaN", u"NaN", u"\r\nw2: „NaN“ ist keine Zahl, gelesen als 0"},
        {"Infinity", u"-Infinity", u"\r\nw2: „-Infinity“ ist keine Zahl, gelesen als 0"},
        {"hexadecimal", u"0x10", u"\r\nw2: gelesen als 0, „x10“ übergangen"},
        {"an emoji", u"\U0001F600", u"\r\nw2: „\U0001F600“ ist keine Zahl, gelesen als 0"},
        {"Arabic-Indic digits", u"\u0660\u066B\u0665", u"\r\nw2: „\u0660\u066B\u0665“ ist keine Zahl, gelesen als 0"},
        {"a long paste", Text(100, u'a'),
         u"\r\nw2: „" + Text(40, u'a') + u"…“ ist keine Zahl, gelesen als 0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Text sheet = kDefaultSheet;
        sheet.replace(sheet.find(u"0.9"), 3, c.w2);
        SheetPieces pieces;
        const auto reading = readProbabilitySheet(sheet, &pieces);
        ASSERT_TRUE(std::holds_alternative<ProbabilityValues>(reading));
        const Text note = sheetValueNote(pieces, std::get<ProbabilityValues>(reading));
        EXPECT_EQ(utf8(note), utf8(c.note.empty() ? c.note : u"Übernommen, doch nicht jeder Wert war eine Zahl:" + c.note));
    }
}

// Names a control as the table does.
std::string nameOf(std::size_t control)
{
    return utf8(controlTable()[control].objectName);
}

// A text's first line, with "…" where more follows.
std::string firstLine(const Text& text)
{
    const std::size_t end = text.find(u"\r\n");
    return '"' + utf8(text.substr(0, end)) + (end != Text::npos && end + 2 < text.size() ? "…" : "") + '"';
}

// One answer as a line: each change in order, then the note and what is
// announced.
std::string describe(const ClickAnswer& answer)
{
    std::string out;
    for (const ControlChange& change : answer.changes) {
        out += nameOf(change.control);
        if (change.text)
            out += " text=" + firstLine(*change.text) + (change.undoable ? " undoable" : "");
        if (change.background)
            out += " background=" + hexColour(*change.background);
        if (change.help)
            out += " help=" + firstLine(*change.help);
        if (change.visible)
            out += *change.visible ? " shown" : " hidden";
        if (change.refused)
            out += *change.refused ? " refused" : " not-refused";
        if (change.selectLine)
            out += " line=" + std::to_string(change.selectLine);
        out += "; ";
    }
    if (answer.note)
        out += "note at " + nameOf(answer.note->control) + "; ";
    if (!answer.announcement.empty())
        out += "says " + firstLine(answer.announcement);
    return out;
}

// Every kind of click through one session, as both front ends render it.
TEST(WindowSession, AnswersEachClickWithWhatTheControlsShow)
{
    using enum ControlRole;
    using enum WordListKind;
    const Text actors = u"der Mann\r\ndie Frau\r\ndas Kind\r\nviele Bäume";
    const std::string sheetHelp = firstLine(Text(controlRow(Sheet).help));
    const struct {
        std::size_t button;
        Text input;
        std::string expected;
    } steps[] = {
        {button(Example, Actors), u"", R"(Text1 text="der Mann…" undoable; )"},
        {button(Generate), u"",
         R"(Text5 text="Es fehlen noch Daten. Bei rotem >*< bitte ergänzen"; )"
         R"(says "Es fehlen noch Daten. Bei rotem >*< bitte ergänzen")"},
        {button(Accept, Actors), actors,
         R"(Text1a text="OK" background=#00ff00 help="Übernommen: 1 mit der, 1 mit die, 1 mit das, 1 mit viele"; )"
         R"(says "Übernommen: 1 mit der, 1 mit die, 1 mit das, 1 mit viele")"},
        {button(Accept, Objects), u"der Hof",
         R"(Text2a text="OK" background=#00ff00 help="Übernommen: 1 mit der…"; note at Text2a; )"
         R"(says "Übernommen: 1 mit der…")"},
        {button(Accept, Verbs), u"noch leer\r\n",
         R"(Text3a text="OK" background=#00ff00 help="Übernommen: 1 Eintrag"; says "Übernommen: 1 Eintrag")"},
        {button(Accept, Adjectives), u"",
         R"(Text4a text="OK" background=#00ff00 help="Nichts übernommen: schon die erste Zeile hatte weniger als )"
         R"(drei Zeichen – das Gedicht bleibt hier leer."; note at Text4a; says "Nichts übernommen: schon die )"
         R"(erste Zeile hatte weniger als drei Zeichen – das Gedicht bleibt hier leer.")"},
        {button(Generate), u"", R"(Text5 text="Poem-Text 1…"; says "Poem-Text 1…")"},
        {button(SheetShow), u"",
         "WerteÜbernehmen shown; statistikwerte text=\"w1=0.7…\" background=#c0ffc0 help=" + sheetHelp +
             " shown not-refused; W_Werte background=#00c0c0 help=" + sheetHelp + "; "},
        {button(SheetAccept), u"w1=0.5\r\n",
         R"(statistikwerte background=#ffc0c0 help="Nicht übernommen: die Werte w2 bis w13 fehlen (gefunden: 1 )"
         R"(von 13 Werten).…" refused line=1; note at statistikwerte; says "Nicht übernommen: die Werte w2 bis )"
         R"(w13 fehlen (gefunden: 1 von 13 Werten).…")"},
        {button(SheetAccept), u"w1=abc\r\n" + kDefaultSheet.substr(kDefaultSheet.find(u"w2")),
         "statistikwerte background=#c0ffc0 help=" + sheetHelp +
             " not-refused; WerteÜbernehmen hidden; statistikwerte hidden; W_Werte background=#00c0c0 "
             R"(help="Übernommen, doch nicht jeder Wert war eine Zahl:…"; note at W_Werte; )"
             R"(says "Übernommen, doch nicht jeder Wert war eine Zahl:…")"},
        {button(SheetShow), u"",
         "WerteÜbernehmen shown; statistikwerte text=\"w1=0…\" background=#c0ffc0 help=" + sheetHelp +
             " shown not-refused; W_Werte background=#00c0c0 help=" + sheetHelp + "; "},
        {button(SheetAccept), kDefaultSheet,
         "statistikwerte background=#c0ffc0 help=" + sheetHelp +
             " not-refused; WerteÜbernehmen hidden; statistikwerte hidden; W_Werte background=#00c0c0 help=" +
             sheetHelp + "; "},
        {button(RandomStart), u"", R"(Text5 text="Zufalls-Poem-Text 2…"; says "Zufalls-Poem-Text 2…")"},
        {button(Header, Actors), u"", ""},
    };
    WindowSession session;
    for (const auto& step : steps) {
        SCOPED_TRACE(nameOf(step.button));
        EXPECT_EQ(describe(session.click(step.button, step.input)), step.expected);
    }
}

// A poem at the length limit ends after its last whole line with a visible
// mark; a screen reader hears its first lines, that it goes on, and the mark.
TEST(WindowSession, ACutPoemIsMarkedAndAnnouncedInPart)
{
    WindowSession session;
    const Text noun(40'000, u'N');
    const auto accept = [&](WordListKind list, const Text& text) {
        session.click(controlIndex(controlRow(ControlRole::Accept, list)), text);
    };
    accept(WordListKind::Actors, u"der " + noun);
    accept(WordListKind::Objects, u"der Hof");
    accept(WordListKind::Verbs, u"liebt");
    accept(WordListKind::Adjectives, u" alt");
    for (int poem = 0; poem < 10; ++poem) {
        const ClickAnswer answer = session.click(controlIndex(controlRow(ControlRole::Generate)));
        const Text& text = *answer.changes.at(0).text;
        if (!text.ends_with(kPoemCutMark)) {
            EXPECT_EQ(answer.announcement, text);
            continue;
        }
        EXPECT_EQ(text.find(u"\r\n\r\n"), Text::npos) << "no empty line";
        // Whole lines only: every noun in the poem is whole.
        for (std::size_t at = text.find(u'N'); at != Text::npos; at = text.find(u'N', at)) {
            const std::size_t end = std::min(text.find_first_not_of(u'N', at), text.size());
            EXPECT_EQ((end - at) % noun.size(), 0u) << "a noun cut at " << at;
            at = end;
        }
        const Text goesOn = u"\r\nDas Gedicht geht im Textfeld weiter.\r\n" + Text(kPoemCutMark);
        EXPECT_LE(answer.announcement.size(), kAnnouncedPoemLength + goesOn.size());
        ASSERT_TRUE(answer.announcement.ends_with(goesOn)) << utf8(answer.announcement.substr(1900));
        EXPECT_TRUE(text.starts_with(answer.announcement.substr(0, answer.announcement.size() - goesOn.size())));
        return;
    }
    FAIL() << "no poem reached the length limit";
}

// A poem sent as a link: the other page shows it again and its next poems
// are the sender's next poems, with lists, values and a random start of the
// sender's own.
TEST(PoemLink, ShowsThePoemAndGoesOnAsTheSendersPage)
{
    using enum ControlRole;
    WindowSession sender;
    const Text lists[kWordLists] = {u"der Mann\r\ndie Frau\r\ndas Kind\r\nviele Bäume", u"das Obst\r\nder Hof",
                                    u"küsst\r\nliebt\U0001F600", Text(u" alt\r\n jung\xD800", 10)};
    for (const WordListKind list : kAllWordLists)
        sender.click(button(Accept, list), lists[static_cast<std::size_t>(list)]);
    Text sheet = kDefaultSheet;
    sheet.replace(sheet.find(u"w13=0.1"), 7, u"w13=0.3");
    sender.click(button(SheetAccept), sheet);
    sender.click(button(RandomStart));
    sender.click(button(Generate));
    const ClickAnswer sent = sender.click(button(Generate));

    const std::optional<PoemOrigin> origin = sender.lastPoemOrigin();
    ASSERT_TRUE(origin);
    const std::string link = poemLinkOf(*origin);
    EXPECT_EQ(link.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_"),
              std::string::npos);
    const std::optional<PoemOrigin> read = readPoemLink(link);
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, *origin);

    WindowSession receiver;
    receiver.click(button(Generate)); // what happened before does not count
    receiver.click(button(SheetShow));
    const ClickAnswer shown = receiver.startFrom(*read);
    // An open sheet would show the receiver's values, and its accept put them back.
    for (const std::string closed : {"statistikwerte hidden", "WerteÜbernehmen hidden"})
        EXPECT_NE(describe(shown).find(closed), std::string::npos) << closed << " in " << describe(shown);
    EXPECT_EQ(utf8(*shown.changes.back().text), utf8(*sent.changes.back().text));
    EXPECT_TRUE(shown.changes.back().text->starts_with(u"Zufalls-Poem-Text 3\r\n"));
    for (int poem = 0; poem < 10; ++poem)
        EXPECT_EQ(utf8(*receiver.click(button(Generate)).changes.back().text),
                  utf8(*sender.click(button(Generate)).changes.back().text));
}

TEST(PoemLink, ADamagedLinkIsRefused)
{
    WindowSession sender;
    // Long lists, so that the link's middle is a list's text, where only the
    // check sum can tell a changed character.
    Text lines;
    for (int i = 0; i < 20; ++i)
        lines += u"der Mann\r\nliebt\r\n alt\r\n";
    for (const WordListKind list : kAllWordLists)
        sender.click(button(ControlRole::Accept, list), lines);
    EXPECT_FALSE(sender.lastPoemOrigin()) << "no poem yet";
    sender.click(button(ControlRole::Generate));
    const std::string link = poemLinkOf(*sender.lastPoemOrigin());
    std::string changed = link;
    changed[changed.size() / 2] = changed[changed.size() / 2] == 'A' ? 'B' : 'A';
    for (const std::string& damaged :
         {std::string(), std::string("x"), link.substr(0, link.size() - 1), link.substr(0, link.size() / 2),
          link + "A", changed, link.substr(0, 10) + "*" + link.substr(11), std::string("VM2") + link}) {
        SCOPED_TRACE(damaged.substr(0, 40));
        EXPECT_FALSE(readPoemLink(damaged));
    }
}

// The web page reads this; a row is compared with the layout as drawn
// (twips / 15) and the line break of a text must arrive escaped.
TEST(ControlTableJson, CarriesTheLayoutAsDrawn)
{
    const std::string json = controlTableJson();
    EXPECT_TRUE(json.starts_with(
        R"({"client":{"width":746,"height":757},"windowBackground":"#00c0c0","controls":[{"name":"Handelnde",)"))
        << json.substr(0, 300);
    EXPECT_NE(json.find(R"({"name":"Text1a","kind":"textbox","role":"mark","list":"actors","left":136,"top":344,)"
                        R"("width":49,"height":25,"text":"*","background":"#ff0000","font":{"face":"sans",)"
                        R"("points":13.5,"bold":false,"italic":false},"multiLine":false,"scrollBars":false,)"
                        R"("centred":true,"hidden":false,"onTop":false,"framed":false,"selectsStartText":false,)"
                        R"("accessibleName":"Handelnde: Status","help":"Noch nicht übernommen","order":4,"reads":null},)"),
              std::string::npos);
    EXPECT_NE(json.find(R"("name":"Text5","kind":"textbox","role":"output","list":null,"left":8,"top":400,)"
                        R"("width":729,"height":329,"text":"noch leer\r\n","background":null,)"),
              std::string::npos);
    // An accept button hands over its list box's text.
    EXPECT_NE(json.find(R"("order":23,"reads":10})"), std::string::npos);
    EXPECT_NE(json.find(R"x(w13: Gedicht endet nach einer Zeile (größer: kürzere Gedichte)","order":53,"reads":null}],)x"
                        R"x("pageTexts":{"description":"Versomat schreibt)x"),
              std::string::npos);
    EXPECT_TRUE(json.ends_with(R"x(beginnt wie gewohnt."}})x"));
}

} // namespace
} // namespace versomat
