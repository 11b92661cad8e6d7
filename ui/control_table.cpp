#include "control_table.h"

namespace versomat {
namespace {

using enum ControlKind;
using enum Colour;

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

// One row per line reads as the window's layout table; keep it so.
// clang-format off
const ControlRow kControls[] = {
    {u"Handelnde", Label, {120, 120, 2655, 375}, u"Handelnde eingeben", Yellow, kHeaderFont, kHeader,
     u"Handelnde eingeben"},
    {u"BeispieleHandelnde", Button, {120, 480, 2655, 375}, u"Beispiel", Green, kExampleFont, kNoSetting,
     u"Handelnde: Beispiel"},
    {u"Text1", TextBox, {120, 840, 2655, 4335}, kEmptyBox, SystemDefault, kBoxFont, kListBox, u"Handelnde: Liste"},
    {u"ÜbernehmenH", Button, {120, 5160, 1935, 375}, u"Übernehmen", Magenta, kAcceptFont, kNoSetting,
     u"Handelnde: übernehmen"},
    {u"Benutztes", Label, {2760, 120, 2775, 375}, u"Benutztes eingeben", Yellow, kHeaderFont, kHeader,
     u"Benutztes eingeben"},
    {u"BeispieleBenutztes", Button, {2760, 480, 2775, 375}, u"Beispiel", Green, kExampleFont, kNoSetting,
     u"Benutztes: Beispiel"},
    {u"Text2", TextBox, {2760, 840, 2775, 4335}, kEmptyBox, SystemDefault, kBoxFont, kListBox, u"Benutztes: Liste"},
    {u"ÜbernehmenB", Button, {2760, 5160, 1935, 375}, u"Übernehmen", Magenta, kAcceptFont, kNoSetting,
     u"Benutztes: übernehmen"},
    {u"Verben", Label, {5520, 120, 2775, 375}, u"Verben eingeben", Yellow, kHeaderFont, kHeader, u"Verben eingeben"},
    {u"BespieleV", Button, {5520, 480, 2775, 375}, u"Beispiel", Green, kExampleFont, kNoSetting, u"Verben: Beispiel"},
    {u"Text3", TextBox, {5520, 840, 2775, 4335}, kEmptyBox, SystemDefault, kBoxFont, kListBox, u"Verben: Liste"},
    {u"ÜbernehmenV", Button, {5520, 5160, 1935, 375}, u"Übernehmen", Magenta, kAcceptFont, kNoSetting,
     u"Verben: übernehmen"},
    // The trailing blank is part of the caption; centring keeps it invisible.
    {u"Adjektive", Label, {8280, 120, 2775, 375}, u"Adjektive eingeben ", Yellow, kHeaderFont, kHeader,
     u"Adjektive eingeben"},
    {u"BeispieleA", Button, {8280, 480, 2775, 375}, u"Beispiel", Green, kExampleFont, kNoSetting,
     u"Adjektive: Beispiel"},
    {u"Text4", TextBox, {8280, 840, 2775, 4335}, kEmptyBox, SystemDefault, kBoxFont, kListBox, u"Adjektive: Liste"},
    {u"ÜbernehmenA", Button, {8280, 5160, 1935, 375}, u"Übernehmen", Magenta, kAcceptFont, kNoSetting,
     u"Adjektive: übernehmen"},
    {u"Gedicht", Button, {120, 5640, 7455, 375}, u"Gedicht erzeugen mit wiederholbarer Zählung", Blue,
     kGenerateFont, kNoSetting, u"Gedicht erzeugen mit wiederholbarer Zählung"},
    {u"Text5", TextBox, {120, 6000, 10935, 4935}, kEmptyBox, SystemDefault, kBoxFont, kListBox, u"Gedicht: Ausgabe"},
    {u"Text1a", TextBox, {2040, 5160, 735, 375}, u"*", Red, kAcceptFont, kMark, u"Handelnde: Status"},
    {u"Text2a", TextBox, {4680, 5160, 855, 375}, u"*", Red, kAcceptFont, kMark, u"Benutztes: Status"},
    {u"Text3a", TextBox, {7440, 5160, 855, 375}, u"*", Red, kAcceptFont, kMark, u"Verben: Status"},
    {u"Text4a", TextBox, {10200, 5160, 855, 375}, u"*", Red, kAcceptFont, kMark, u"Adjektive: Status"},
    {u"Command2", Button, {7560, 5640, 3495, 375}, u"mit Zufallsstart", LightBlue, kGenerateFont, kNoSetting,
     u"Gedicht erzeugen mit Zufallsstart"},
    {u"Label1", Label, {120, 11040, 10935, 255}, u"Versomat - Zufallsgedichte aus eigenen Wortlisten", Teal,
     kStandardFont, kCentred, u"Versomat - Zufallsgedichte aus eigenen Wortlisten"},
    {u"statistikwerte", TextBox, {8760, 6600, 2295, 4095}, u"Text6", PaleGreen, kBoxFont, kSheet,
     u"Wahrscheinlichkeitswerte"},
    {u"WerteÜbernehmen", Button, {8760, 10680, 2295, 375}, u"Werte Übernehmen", BrightGreen, kBoxFont,
     kHiddenAtStart | kDrawnOnTop, u"Wahrscheinlichkeitswerte übernehmen"},
    {u"W_Werte", Button, {9840, 11040, 1335, 255}, u"W-Werte", Teal, kStandardFont, kDrawnOnTop,
     u"Wahrscheinlichkeitswerte anzeigen"},
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

std::span<const ControlRow> controlTable()
{
    return kControls;
}

} // namespace versomat
