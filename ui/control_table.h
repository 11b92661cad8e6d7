#pragma once

#include <QColor>
#include <QRect>
#include <QStringView>

#include <optional>
#include <span>
#include <string_view>

#include "wordlists/word_lists.h"

namespace versomat {

// Positions and sizes are kept in twips, the unit the layout was drawn in.
inline constexpr int kTwipsPerPixel = 15;

// The window's client area.
inline constexpr int kClientWidthTwips = 11190;
inline constexpr int kClientHeightTwips = 11355;

// Twips to pixels at 96 dots per inch. Every layout value is a multiple of
// kTwipsPerPixel, so the division is exact.
constexpr int twipsToPixels(int twips)
{
    return twips / kTwipsPerPixel;
}

enum class ControlKind { Label, Button, TextBox };

// What a control is for. Together with its list, the role names the handler
// that a button's click runs: Example and Accept run their list's example or
// accept handler, Generate runs Gedicht_Click, RandomStart Command2_Click,
// SheetShow W_Werte_Click and SheetAccept WerteÜbernehmen_Click.
enum class ControlRole {
    Header,
    Example,
    ListBox,
    Accept,
    Mark,
    Generate,
    RandomStart,
    Output,
    Credit,
    Sheet,
    SheetAccept,
    SheetShow,
};

enum class Colour { SystemDefault, Teal, Red, BrightGreen, Green, PaleGreen, Yellow, Magenta, Blue, LightBlue };

// The colour's RGB value; SystemDefault gives an invalid QColor, meaning the
// control keeps the toolkit's own background.
QColor colourOf(Colour colour);

// SystemDefault sets no font at all, so the control keeps the toolkit's own.
enum class Face { SystemDefault, Sans, Serif };

struct FontChoice {
    Face face = Face::SystemDefault;
    double points = 0;
    bool bold = false;
    bool italic = false;
};

enum Setting : unsigned {
    kNoSetting = 0,
    kMultiLine = 1u << 0,
    kBothScrollBars = 1u << 1, // multi-line only; without it long lines wrap
    kCentred = 1u << 2,
    kHiddenAtStart = 1u << 3,
    kDrawnOnTop = 1u << 4, // overlaps an earlier control and must stay above it
    kFramed = 1u << 5,
};

struct TwipRect {
    int left;
    int top;
    int width;
    int height;
};

struct ControlRow {
    QStringView objectName;
    ControlKind kind;
    ControlRole role;
    std::optional<WordListKind> list; // the word list a control belongs to
    TwipRect twips;
    std::u16string_view text; // core text, line breaks "\r\n"
    Colour background;
    FontChoice font;
    unsigned settings;
    QStringView accessibleName;
    QStringView help; // tooltip and accessible description; empty for none
};

// Pixel geometry of a control, converted with twipsToPixels.
QRect pixelRect(const TwipRect& twips);

// The client area in pixels: the canvas that holds every control.
QSize clientPixelSize();

// Every control of the window in tab order: a row's index is its place in
// the focus chain. Labels and hidden controls are passed over by the focus
// chain on their own.
std::span<const ControlRow> controlTable();

// The row of the one control with this role (and list, for the four
// families); a role and list that name no control is a programming error.
const ControlRow& controlRow(ControlRole role, std::optional<WordListKind> list = std::nullopt);

} // namespace versomat
