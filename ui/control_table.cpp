#include "control_table.h"

#include <algorithm>
#include <cassert>

namespace versomat {
namespace {

using enum ControlKind;
using enum ControlRole;
using enum Colour;
using enum WordListKind;

constexpr FontChoice kStandardFont{};
constexpr FontChoice kHeaderFont{Face::Sans, 12, true, false};
constexpr FontChoice kBoxFont{Face::Sans, 12, false, false};
constexpr FontChoice kAcceptFont{Face::Sans, 13.5, false, false};
constexpr FontChoice kExampleFont{Face::Serif, 14.25, false, false};
constexpr FontChoice kGenerateFont{Face::Serif, 14.25, true, true};

constexpr unsigned kHeader = kCentred | kFramed;
constexpr unsigned kListBox = kMultiLine | kBothScrollBars;
constexpr unsigned kMark = kCentred;
constexpr unsigned kSheet = kMultiLine | kHiddenAtStart | kDrawnOnTop;

constexpr std::u16string_view kEmptyBox = u"noch leer\r\n";

// What a list must look like, shown on its box and its accept button.
constexpr QStringView kActorsHelp =
    u"Eine Zeile je Handelndem: der, die, das oder viele, ein Leerzeichen, dann das Nomen,\n"
    u"zum Beispiel „der Mann“, „die Frau“, „das Kind“, „viele Bäume“.\n"
    u"Das erste Wort bestimmt das Geschlecht; höchstens 21 Zeilen werden gelesen.";
constexpr QStringView kObjectsHelp = u"Eine Zeile je Ding: der, die, das oder viele, ein Leerzeichen, dann das Nomen,\n"
                                     u"zum Beispiel „das Radio“, „der Topf“, „viele Früchte“.\n"
                                     u"Das erste Wort bestimmt das Geschlecht; höchstens 21 Zeilen werden gelesen.";
constexpr QStringView kVerbsHelp =
    u"Ein Verb je Zeile in der Form für „er/sie/es“, zum Beispiel „küsst“, „liebt“.\n"
    u"Für die Mehrzahl wird der letzte Buchstabe durch „en“ ersetzt (liebt → lieben).\n"
    u"Jede Zeile braucht mindestens drei Zeichen; eine kürzere oder leere Zeile beendet die Liste.";
constexpr QStringView kAdjectivesHelp =
    u"Ein Adjektiv je Zeile, ohne Endung und mit einem Leerzeichen davor, zum Beispiel „ alt“, „ jung“.\n"
    u"Die Endung wird passend angehängt.\n"
    u"Jede Zeile braucht mindestens drei Zeichen; eine kürzere oder leere Zeile beendet die Liste.";
constexpr QStringView kExampleHelp = u"Füllt das Feld mit einer Beispielliste (Strg+Z holt den vorigen Text zurück).";
constexpr QStringView kMarkHelp = u"Noch nicht übernommen";
constexpr QStringView kGenerateHelp = u"Erzeugt das nächste Gedicht aus den übernommenen Listen (Strg+Eingabe).\n"
                                      u"Ohne Zufallsstart kommen nach jedem Programmstart dieselben Gedichte.";
constexpr QStringView kRandomStartHelp = u"Startet die Zufallsfolge nach der Uhrzeit neu und erzeugt ein Gedicht;\n"
                                         u"die Überschriften beginnen ab dann mit „Zufalls-“.";
constexpr QStringView kSheetHelp = u"Jede Zeile ein Wert zwischen 0 und 1 (Komma oder Punkt):\n"
                                   u"w1: Adjektive vor dem Handelnden (größer: öfter)\n"
                                   u"w2: weiteres Adjektiv vor dem Handelnden (größer: seltener)\n"
                                   u"w3: weiteres Adjektiv nach ist/war/wird (größer: öfter)\n"
                                   u"w4: weiteres ist/war/wird in der Zeile (größer: öfter)\n"
                                   u"w5: Satzzeichen nach ist/war/wird (größer: öfter)\n"
                                   u"w6: bis w6 folgt dem Handelnden ist/war/wird\n"
                                   u"w7: von w6 bis w7 ein weiterer Handelnder in derselben Zeile\n"
                                   u"w8: von w7 bis w8 Satzzeichen und Zeilenende, darüber Verb und Ding\n"
                                   u"w9: Ding ohne Artikel (größer: öfter)\n"
                                   u"w10: Ding ohne Adjektiv (größer: öfter)\n"
                                   u"w11: das Ding wird genannt statt eines neuen Verbs (größer: öfter)\n"
                                   u"w12: weiteres Adjektiv vor dem Ding (größer: seltener)\n"
                                   u"w13: Gedicht endet nach einer Zeile (größer: kürzere Gedichte)";

// One row per line reads as the window's layout table; keep it so.
// clang-format off
const ControlRow kControls[] = {
    {u"Handelnde", Label, Header, Actors, {120, 120, 2655, 375}, u"Handelnde eingeben", Yellow, kHeaderFont, kHeader,
     u"Handelnde eingeben", {}},
    {u"BeispieleHandelnde", Button, Example, Actors, {120, 480, 2655, 375}, u"Beispiel", Green, kExampleFont,
     kNoSetting, u"Handelnde: Beispiel", kExampleHelp},
    {u"Text1", TextBox, ListBox, Actors, {120, 840, 2655, 4335}, kEmptyBox, SystemDefault, kBoxFont, kListBox,
     u"Handelnde: Liste", kActorsHelp},
    {u"ÜbernehmenH", Button, Accept, Actors, {120, 5160, 1935, 375}, u"Übernehmen", Magenta, kAcceptFont, kNoSetting,
     u"Handelnde: übernehmen", kActorsHelp},
    {u"Benutztes", Label, Header, Objects, {2760, 120, 2775, 375}, u"Benutztes eingeben", Yellow, kHeaderFont, kHeader,
     u"Benutztes eingeben", {}},
    {u"BeispieleBenutztes", Button, Example, Objects, {2760, 480, 2775, 375}, u"Beispiel", Green, kExampleFont,
     kNoSetting, u"Benutztes: Beispiel", kExampleHelp},
    {u"Text2", TextBox, ListBox, Objects, {2760, 840, 2775, 4335}, kEmptyBox, SystemDefault, kBoxFont, kListBox,
     u"Benutztes: Liste", kObjectsHelp},
    {u"ÜbernehmenB", Button, Accept, Objects, {2760, 5160, 1935, 375}, u"Übernehmen", Magenta, kAcceptFont,
     kNoSetting, u"Benutztes: übernehmen", kObjectsHelp},
    {u"Verben", Label, Header, Verbs, {5520, 120, 2775, 375}, u"Verben eingeben", Yellow, kHeaderFont, kHeader,
     u"Verben eingeben", {}},
    {u"BespieleV", Button, Example, Verbs, {5520, 480, 2775, 375}, u"Beispiel", Green, kExampleFont, kNoSetting,
     u"Verben: Beispiel", kExampleHelp},
    {u"Text3", TextBox, ListBox, Verbs, {5520, 840, 2775, 4335}, kEmptyBox, SystemDefault, kBoxFont, kListBox,
     u"Verben: Liste", kVerbsHelp},
    {u"ÜbernehmenV", Button, Accept, Verbs, {5520, 5160, 1935, 375}, u"Übernehmen", Magenta, kAcceptFont, kNoSetting,
     u"Verben: übernehmen", kVerbsHelp},
    // The trailing blank is part of the caption; centring keeps it invisible.
    {u"Adjektive", Label, Header, Adjectives, {8280, 120, 2775, 375}, u"Adjektive eingeben ", Yellow, kHeaderFont,
     kHeader, u"Adjektive eingeben", {}},
    {u"BeispieleA", Button, Example, Adjectives, {8280, 480, 2775, 375}, u"Beispiel", Green, kExampleFont, kNoSetting,
     u"Adjektive: Beispiel", kExampleHelp},
    {u"Text4", TextBox, ListBox, Adjectives, {8280, 840, 2775, 4335}, kEmptyBox, SystemDefault, kBoxFont, kListBox,
     u"Adjektive: Liste", kAdjectivesHelp},
    {u"ÜbernehmenA", Button, Accept, Adjectives, {8280, 5160, 1935, 375}, u"Übernehmen", Magenta, kAcceptFont,
     kNoSetting, u"Adjektive: übernehmen", kAdjectivesHelp},
    {u"Gedicht", Button, Generate, {}, {120, 5640, 7455, 375}, u"Gedicht erzeugen mit wiederholbarer Zählung", Blue,
     kGenerateFont, kNoSetting, u"Gedicht erzeugen mit wiederholbarer Zählung", kGenerateHelp},
    {u"Text5", TextBox, Output, {}, {120, 6000, 10935, 4935}, kEmptyBox, SystemDefault, kBoxFont, kListBox,
     u"Gedicht: Ausgabe", {}},
    {u"Text1a", TextBox, Mark, Actors, {2040, 5160, 735, 375}, u"*", Red, kAcceptFont, kMark, u"Handelnde: Status",
     kMarkHelp},
    {u"Text2a", TextBox, Mark, Objects, {4680, 5160, 855, 375}, u"*", Red, kAcceptFont, kMark, u"Benutztes: Status",
     kMarkHelp},
    {u"Text3a", TextBox, Mark, Verbs, {7440, 5160, 855, 375}, u"*", Red, kAcceptFont, kMark, u"Verben: Status",
     kMarkHelp},
    {u"Text4a", TextBox, Mark, Adjectives, {10200, 5160, 855, 375}, u"*", Red, kAcceptFont, kMark,
     u"Adjektive: Status", kMarkHelp},
    {u"Command2", Button, RandomStart, {}, {7560, 5640, 3495, 375}, u"mit Zufallsstart", LightBlue, kGenerateFont,
     kNoSetting, u"Gedicht erzeugen mit Zufallsstart", kRandomStartHelp},
    {u"Label1", Label, Credit, {}, {120, 11040, 10935, 255}, u"Versomat - Zufallsgedichte aus eigenen Wortlisten",
     Teal, kStandardFont, kCentred, u"Versomat - Zufallsgedichte aus eigenen Wortlisten", {}},
    {u"statistikwerte", TextBox, Sheet, {}, {8760, 6600, 2295, 4095}, u"Text6", PaleGreen, kBoxFont, kSheet,
     u"Wahrscheinlichkeitswerte", kSheetHelp},
    {u"WerteÜbernehmen", Button, SheetAccept, {}, {8760, 10680, 2295, 375}, u"Werte Übernehmen", BrightGreen,
     kBoxFont, kHiddenAtStart | kDrawnOnTop, u"Wahrscheinlichkeitswerte übernehmen", kSheetHelp},
    {u"W_Werte", Button, SheetShow, {}, {9840, 11040, 1335, 255}, u"W-Werte", Teal, kStandardFont, kDrawnOnTop,
     u"Wahrscheinlichkeitswerte anzeigen", kSheetHelp},
};
// clang-format on

} // namespace

QColor colourOf(Colour colour)
{
    switch (colour) {
    case SystemDefault: return {};
    case Teal: return {0, 192, 192};
    case Red: return {255, 0, 0};
    case BrightGreen: return {0, 255, 0};
    case Green: return {0, 192, 0};
    case PaleGreen: return {192, 255, 192};
    case Yellow: return {255, 255, 0};
    case Magenta: return {255, 0, 255};
    case Blue: return {128, 128, 255};
    case LightBlue: return {192, 192, 255};
    }
    return {};
}

QRect pixelRect(const TwipRect& twips)
{
    return {twipsToPixels(twips.left), twipsToPixels(twips.top), twipsToPixels(twips.width),
            twipsToPixels(twips.height)};
}

QSize clientPixelSize()
{
    return {twipsToPixels(kClientWidthTwips), twipsToPixels(kClientHeightTwips)};
}

std::span<const ControlRow> controlTable()
{
    return kControls;
}

const ControlRow& controlRow(ControlRole role, std::optional<WordListKind> list)
{
    const auto* row = std::find_if(std::begin(kControls), std::end(kControls), [&](const ControlRow& candidate) {
        return candidate.role == role && (!list || candidate.list == list);
    });
    assert(row != std::end(kControls));
    return *row;
}

} // namespace versomat
