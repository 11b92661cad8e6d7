#include "controls/control_table.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>

namespace versomat {
namespace {

using enum ControlKind;
using enum ControlRole;
using enum WordListKind;

constexpr FontChoice kStandardFont{};
constexpr FontChoice kHeaderFont{Face::Sans, 12, true, false};
constexpr FontChoice kBoxFont{Face::Sans, 12, false, false};
constexpr FontChoice kAcceptFont{Face::Sans, 13.5, false, false};
constexpr FontChoice kExampleFont{Face::Serif, 14.25, false, false};
constexpr FontChoice kGenerateFont{Face::Serif, 14.25, true, true};

constexpr unsigned kHeader = kCentred | kFramed;
constexpr unsigned kScrollingBox = kMultiLine | kBothScrollBars;
constexpr unsigned kListBox = kScrollingBox | kSelectsStartText;
constexpr unsigned kMark = kCentred;
constexpr unsigned kSheet = kMultiLine | kHiddenAtStart | kDrawnOnTop;

constexpr std::optional<Rgb> kSystemDefault;
constexpr std::u16string_view kEmptyBox = u"noch leer\r\n";

// What a list must look like, shown on its box and its accept button.
constexpr std::u16string_view kActorsHelp =
    u"Eine Zeile je Handelndem: der, die, das oder viele, ein Leerzeichen, dann das Nomen,\r\n"
    u"zum Beispiel „der Mann“, „die Frau“, „das Kind“, „viele Bäume“.\r\n"
    u"Das erste Wort bestimmt das Geschlecht; höchstens 21 Zeilen werden gelesen.";
constexpr std::u16string_view kObjectsHelp =
    u"Eine Zeile je Ding: der, die, das oder viele, ein Leerzeichen, dann das Nomen,\r\n"
    u"zum Beispiel „das Radio“, „der Topf“, „viele Früchte“.\r\n"
    u"Das erste Wort bestimmt das Geschlecht; höchstens 21 Zeilen werden gelesen.";
constexpr std::u16string_view kVerbsHelp =
    u"Ein Verb je Zeile in der Form für „er/sie/es“, zum Beispiel „küsst“, „liebt“.\r\n"
    u"Für die Mehrzahl wird der letzte Buchstabe durch „en“ ersetzt (liebt → lieben).\r\n"
    u"Jede Zeile braucht mindestens drei Zeichen; eine kürzere oder leere Zeile beendet die Liste.";
constexpr std::u16string_view kAdjectivesHelp =
    u"Ein Adjektiv je Zeile, ohne Endung und mit einem Leerzeichen davor, zum Beispiel „ alt“, „ jung“.\r\n"
    u"Die Endung wird passend angehängt.\r\n"
    u"Jede Zeile braucht mindestens drei Zeichen; eine kürzere oder leere Zeile beendet die Liste.";
constexpr std::u16string_view kExampleHelp =
    u"Füllt das Feld mit einer Beispielliste (Strg+Z holt den vorigen Text zurück).";
constexpr std::u16string_view kMarkHelp = u"Noch nicht übernommen";
constexpr std::u16string_view kGenerateHelp =
    u"Erzeugt das nächste Gedicht aus den übernommenen Listen (Strg+Eingabe).\r\n"
    u"Ohne Zufallsstart kommen nach jedem Programmstart dieselben Gedichte.";
constexpr std::u16string_view kRandomStartHelp =
    u"Startet die Zufallsfolge nach der Uhrzeit neu und erzeugt ein Gedicht;\r\n"
    u"die Überschriften beginnen ab dann mit „Zufalls-“.";
constexpr std::u16string_view kSheetHelp = u"Jede Zeile ein Wert zwischen 0 und 1 (Komma oder Punkt):\r\n"
                                           u"w1: Adjektive vor dem Handelnden (größer: öfter)\r\n"
                                           u"w2: weiteres Adjektiv vor dem Handelnden (größer: seltener)\r\n"
                                           u"w3: weiteres Adjektiv nach ist/war/wird (größer: öfter)\r\n"
                                           u"w4: weiteres ist/war/wird in der Zeile (größer: öfter)\r\n"
                                           u"w5: Satzzeichen nach ist/war/wird (größer: öfter)\r\n"
                                           u"w6: bis w6 folgt dem Handelnden ist/war/wird\r\n"
                                           u"w7: von w6 bis w7 ein weiterer Handelnder in derselben Zeile\r\n"
                                           u"w8: von w7 bis w8 Satzzeichen und Zeilenende, darüber Verb und Ding\r\n"
                                           u"w9: Ding ohne Artikel (größer: öfter)\r\n"
                                           u"w10: Ding ohne Adjektiv (größer: öfter)\r\n"
                                           u"w11: das Ding wird genannt statt eines neuen Verbs (größer: öfter)\r\n"
                                           u"w12: weiteres Adjektiv vor dem Ding (größer: seltener)\r\n"
                                           u"w13: Gedicht endet nach einer Zeile (größer: kürzere Gedichte)";

// One row per line reads as the window's layout table; keep it so.
// clang-format off
constexpr ControlRow kControls[] = {
    {u"Handelnde", Label, Header, Actors, {120, 120, 2655, 375}, u"Handelnde eingeben", kYellow, kHeaderFont, kHeader,
     u"Handelnde eingeben", {}},
    {u"BeispieleHandelnde", Button, Example, Actors, {120, 480, 2655, 375}, u"Beispiel", kGreen, kExampleFont,
     kNoSetting, u"Handelnde: Beispiel", kExampleHelp},
    {u"Text1", TextBox, ListBox, Actors, {120, 840, 2655, 4335}, kEmptyBox, kSystemDefault, kBoxFont, kListBox,
     u"Handelnde: Liste", kActorsHelp},
    {u"ÜbernehmenH", Button, Accept, Actors, {120, 5160, 1935, 375}, u"Übernehmen", kMagenta, kAcceptFont, kNoSetting,
     u"Handelnde: übernehmen", kActorsHelp},
    {u"Benutztes", Label, Header, Objects, {2760, 120, 2775, 375}, u"Benutztes eingeben", kYellow, kHeaderFont, kHeader,
     u"Benutztes eingeben", {}},
    {u"BeispieleBenutztes", Button, Example, Objects, {2760, 480, 2775, 375}, u"Beispiel", kGreen, kExampleFont,
     kNoSetting, u"Benutztes: Beispiel", kExampleHelp},
    {u"Text2", TextBox, ListBox, Objects, {2760, 840, 2775, 4335}, kEmptyBox, kSystemDefault, kBoxFont, kListBox,
     u"Benutztes: Liste", kObjectsHelp},
    {u"ÜbernehmenB", Button, Accept, Objects, {2760, 5160, 1935, 375}, u"Übernehmen", kMagenta, kAcceptFont,
     kNoSetting, u"Benutztes: übernehmen", kObjectsHelp},
    {u"Verben", Label, Header, Verbs, {5520, 120, 2775, 375}, u"Verben eingeben", kYellow, kHeaderFont, kHeader,
     u"Verben eingeben", {}},
    {u"BespieleV", Button, Example, Verbs, {5520, 480, 2775, 375}, u"Beispiel", kGreen, kExampleFont, kNoSetting,
     u"Verben: Beispiel", kExampleHelp},
    {u"Text3", TextBox, ListBox, Verbs, {5520, 840, 2775, 4335}, kEmptyBox, kSystemDefault, kBoxFont, kListBox,
     u"Verben: Liste", kVerbsHelp},
    {u"ÜbernehmenV", Button, Accept, Verbs, {5520, 5160, 1935, 375}, u"Übernehmen", kMagenta, kAcceptFont, kNoSetting,
     u"Verben: übernehmen", kVerbsHelp},
    // The trailing blank is part of the caption; centring keeps it invisible.
    {u"Adjektive", Label, Header, Adjectives, {8280, 120, 2775, 375}, u"Adjektive eingeben ", kYellow, kHeaderFont,
     kHeader, u"Adjektive eingeben", {}},
    {u"BeispieleA", Button, Example, Adjectives, {8280, 480, 2775, 375}, u"Beispiel", kGreen, kExampleFont, kNoSetting,
     u"Adjektive: Beispiel", kExampleHelp},
    {u"Text4", TextBox, ListBox, Adjectives, {8280, 840, 2775, 4335}, kEmptyBox, kSystemDefault, kBoxFont, kListBox,
     u"Adjektive: Liste", kAdjectivesHelp},
    {u"ÜbernehmenA", Button, Accept, Adjectives, {8280, 5160, 1935, 375}, u"Übernehmen", kMagenta, kAcceptFont,
     kNoSetting, u"Adjektive: übernehmen", kAdjectivesHelp},
    {u"Gedicht", Button, Generate, {}, {120, 5640, 7455, 375}, u"Gedicht erzeugen mit wiederholbarer Zählung", kBlue,
     kGenerateFont, kNoSetting, u"Gedicht erzeugen mit wiederholbarer Zählung", kGenerateHelp},
    {u"Text5", TextBox, Output, {}, {120, 6000, 10935, 4935}, kEmptyBox, kSystemDefault, kBoxFont, kScrollingBox,
     u"Gedicht: Ausgabe", {}},
    {u"Text1a", TextBox, Mark, Actors, {2040, 5160, 735, 375}, u"*", kRed, kAcceptFont, kMark, u"Handelnde: Status",
     kMarkHelp},
    {u"Text2a", TextBox, Mark, Objects, {4680, 5160, 855, 375}, u"*", kRed, kAcceptFont, kMark, u"Benutztes: Status",
     kMarkHelp},
    {u"Text3a", TextBox, Mark, Verbs, {7440, 5160, 855, 375}, u"*", kRed, kAcceptFont, kMark, u"Verben: Status",
     kMarkHelp},
    {u"Text4a", TextBox, Mark, Adjectives, {10200, 5160, 855, 375}, u"*", kRed, kAcceptFont, kMark,
     u"Adjektive: Status", kMarkHelp},
    {u"Command2", Button, RandomStart, {}, {7560, 5640, 3495, 375}, u"mit Zufallsstart", kLightBlue, kGenerateFont,
     kNoSetting, u"Gedicht erzeugen mit Zufallsstart", kRandomStartHelp},
    {u"Label1", Label, Credit, {}, {120, 11040, 10935, 255}, u"Versomat - Zufallsgedichte aus eigenen Wortlisten",
     kTeal, kStandardFont, kCentred, u"Versomat - Zufallsgedichte aus eigenen Wortlisten", {}},
    {u"statistikwerte", TextBox, Sheet, {}, {8760, 6600, 2295, 4095}, u"Text6", kPaleGreen, kBoxFont, kSheet,
     u"Wahrscheinlichkeitswerte", kSheetHelp},
    {u"WerteÜbernehmen", Button, SheetAccept, {}, {8760, 10680, 2295, 375}, u"Werte Übernehmen", kBrightGreen,
     kBoxFont, kHiddenAtStart | kDrawnOnTop, u"Werte Übernehmen: Wahrscheinlichkeitswerte", kSheetHelp},
    {u"W_Werte", Button, SheetShow, {}, {9840, 11040, 1335, 255}, u"W-Werte", kTeal, kStandardFont, kDrawnOnTop,
     u"W-Werte: Wahrscheinlichkeitswerte anzeigen", kSheetHelp},
};
// clang-format on

// The checks below run while the table compiles, so a wrong row cannot reach
// a build of any kind: the window relies on them when it picks a control's
// widget by its kind and wires a handler by its role.

constexpr bool isFamilyRole(ControlRole role)
{
    return role == Header || role == Example || role == ListBox || role == Accept || role == Mark;
}

constexpr ControlKind kindFor(ControlRole role)
{
    switch (role) {
    case Header:
    case Credit: return Label;
    case ListBox:
    case Mark:
    case Output:
    case Sheet: return TextBox;
    default: return Button; // the roles that name a click handler
    }
}

// Text boxes the window reads or fills as multi-line boxes, versus the marks
// it treats as one-line fields.
constexpr bool multiLineFor(ControlRole role)
{
    return role == ListBox || role == Output || role == Sheet;
}

// Place in one column within a list's group (the family roles) or after
// the four lists. The sheet's button comes just before the sheet it opens,
// so the next Tab from it lands in the sheet. A role left out here has no
// place, and the table's check below stops the build.
constexpr int oneColumnRank(ControlRole role)
{
    switch (role) {
    case Header: return 0;
    case Example: return 1;
    case ListBox: return 2;
    case Accept: return 3;
    case Mark: return 4;
    case Generate: return 50;
    case RandomStart: return 51;
    case Output: return 52;
    case SheetShow: return 53;
    case Sheet: return 54;
    case SheetAccept: return 55;
    case Credit: return 56;
    }
    return -1;
}

constexpr int oneColumnOrderOf(const ControlRow& row)
{
    const int listGroup = row.list ? 10 * static_cast<int>(*row.list) : 0;
    return oneColumnRank(row.role) < 0 ? -1 : listGroup + oneColumnRank(row.role);
}

constexpr bool rowIsSound(const ControlRow& row)
{
    const TwipRect& at = row.twips;
    const bool onTheGrid = at.left % kTwipsPerPixel == 0 && at.top % kTwipsPerPixel == 0 &&
                           at.width % kTwipsPerPixel == 0 && at.height % kTwipsPerPixel == 0;
    const bool inside = at.left >= 0 && at.top >= 0 && at.width > 0 && at.height > 0 &&
                        at.left + at.width <= kClientWidthTwips && at.top + at.height <= kClientHeightTwips;
    const bool multiLine = (row.settings & kMultiLine) != 0;
    const bool scrollsOnlyIfMultiLine = !(row.settings & kBothScrollBars) || multiLine;
    return row.kind == kindFor(row.role) && row.list.has_value() == isFamilyRole(row.role) && onTheGrid && inside &&
           (row.kind != TextBox || multiLine == multiLineFor(row.role)) && scrollsOnlyIfMultiLine &&
           !row.objectName.empty() && !row.accessibleName.empty() && oneColumnOrderOf(row) >= 0 &&
           (!(row.settings & kSelectsStartText) || multiLine);
}

constexpr bool everyRowIsSound()
{
    return std::all_of(std::begin(kControls), std::end(kControls), rowIsSound);
}

constexpr int rowsWith(ControlRole role, std::optional<WordListKind> list)
{
    return static_cast<int>(std::count_if(std::begin(kControls), std::end(kControls),
                                          [&](const ControlRow& row) { return row.role == role && row.list == list; }));
}

// Each family has one control of each family role per list, every other role
// names exactly one control.
constexpr bool everyRoleOnce()
{
    for (const ControlRole role : {Header, Example, ListBox, Accept, Mark, Generate, RandomStart, Output, Credit, Sheet,
                                   SheetAccept, SheetShow}) {
        if (!isFamilyRole(role) && rowsWith(role, std::nullopt) != 1)
            return false;
        for (const WordListKind list : kAllWordLists) {
            if (isFamilyRole(role) && rowsWith(role, list) != 1)
                return false;
        }
    }
    return true;
}

// Scripts and screen readers find controls by these names.
constexpr bool namesAreUnique()
{
    for (auto a = std::begin(kControls); a != std::end(kControls); ++a) {
        for (auto b = a + 1; b != std::end(kControls); ++b) {
            if (a->objectName == b->objectName || a->accessibleName == b->accessibleName)
                return false;
        }
    }
    return true;
}

constexpr int rowsOfKind(ControlKind kind)
{
    return static_cast<int>(std::count_if(std::begin(kControls), std::end(kControls),
                                          [&](const ControlRow& row) { return row.kind == kind; }));
}

static_assert(rowsOfKind(Button) == 12 && rowsOfKind(TextBox) == 10 && rowsOfKind(Label) == 5);
static_assert(everyRowIsSound(), "a row's kind, list, geometry or line setting does not fit its role");
static_assert(everyRoleOnce(), "a role is missing or doubled");
static_assert(namesAreUnique(), "two controls share a name");

} // namespace

std::span<const ControlRow> controlTable()
{
    return kControls;
}

std::size_t controlIndex(const ControlRow& row)
{
    return static_cast<std::size_t>(&row - std::begin(kControls));
}

int oneColumnOrder(const ControlRow& row)
{
    return oneColumnOrderOf(row);
}

const ControlRow& controlRow(ControlRole role, std::optional<WordListKind> list)
{
    const auto* row = std::find_if(std::begin(kControls), std::end(kControls), [&](const ControlRow& candidate) {
        return candidate.role == role && (!list || candidate.list == list);
    });
    if (row == std::end(kControls)) {
        // fputs, not printf: the web page's core would carry all of printf.
        const std::string message = "versomat: no control has role " + std::string(roleName(role)) + " and list " +
                                    std::string(list ? listName(*list) : "none") + "\n";
        std::fputs(message.c_str(), stderr);
        std::abort();
    }
    return *row;
}

std::string_view kindName(ControlKind kind)
{
    switch (kind) {
    case Label: return "label";
    case Button: return "button";
    case TextBox: return "textbox";
    }
    return "?";
}

std::string_view roleName(ControlRole role)
{
    switch (role) {
    case Header: return "header";
    case Example: return "example";
    case ListBox: return "box";
    case Accept: return "accept";
    case Mark: return "mark";
    case Generate: return "generate";
    case RandomStart: return "random";
    case Output: return "output";
    case Credit: return "credit";
    case Sheet: return "sheet";
    case SheetAccept: return "sheetAccept";
    case SheetShow: return "sheetShow";
    }
    return "?";
}

std::string_view listName(WordListKind list)
{
    switch (list) {
    case Actors: return "actors";
    case Objects: return "objects";
    case Verbs: return "verbs";
    case Adjectives: return "adjectives";
    }
    return "?";
}

} // namespace versomat
