#pragma once

#include <cstdint>
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
// kTwipsPerPixel (the table checks so), so the division is exact.
constexpr int twipsToPixels(int twips)
{
    return twips / kTwipsPerPixel;
}

struct Rgb {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb kTeal{0, 192, 192};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kBrightGreen{0, 255, 0};
inline constexpr Rgb kGreen{0, 192, 0};
inline constexpr Rgb kPaleGreen{192, 255, 192};
inline constexpr Rgb kYellow{255, 255, 0};
inline constexpr Rgb kMagenta{255, 0, 255};
inline constexpr Rgb kBlue{128, 128, 255};
inline constexpr Rgb kLightBlue{192, 192, 255};

inline constexpr std::u16string_view kWindowCaption = u"Versomat";
inline constexpr Rgb kWindowBackground = kTeal;

enum class ControlKind { Label, Button, TextBox };

// What a control is for. Together with its list, the role names the handler
// that a button's click runs: Example and Accept run their list's example or
// accept handler, Generate runs Gedicht_Click, RandomStart Command2_Click,
// SheetShow W_Werte_Click and SheetAccept WerteÜbernehmen_Click. Every button
// has one of these roles, and no other control has.
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
    // While it still holds its start text, focusing the box selects it all,
    // so that typing replaces it instead of keeping it as a first entry.
    kSelectsStartText = 1u << 6,
};

struct TwipRect {
    int left;
    int top;
    int width;
    int height;
};

struct PixelRect {
    int left;
    int top;
    int width;
    int height;
    bool operator==(const PixelRect&) const = default;
};

struct PixelSize {
    int width;
    int height;
    bool operator==(const PixelSize&) const = default;
};

constexpr PixelRect pixelRect(const TwipRect& twips)
{
    return {twipsToPixels(twips.left), twipsToPixels(twips.top), twipsToPixels(twips.width),
            twipsToPixels(twips.height)};
}

// The client area in pixels: the canvas that holds every control.
constexpr PixelSize clientPixelSize()
{
    return {twipsToPixels(kClientWidthTwips), twipsToPixels(kClientHeightTwips)};
}

// Texts are core text ("\r\n" line breaks).
struct ControlRow {
    std::u16string_view objectName;
    ControlKind kind;
    ControlRole role;
    std::optional<WordListKind> list; // the word list a control belongs to
    TwipRect twips;
    std::u16string_view text;
    std::optional<Rgb> background; // none: the toolkit's own background
    FontChoice font;
    unsigned settings;
    std::u16string_view accessibleName;
    std::u16string_view help; // tooltip and accessible description; empty for none
};

// Every control of the window in tab order: a row's index is its place in
// the focus chain. Labels and hidden controls are passed over by the focus
// chain on their own.
std::span<const ControlRow> controlTable();

// The index of a row in controlTable().
std::size_t controlIndex(const ControlRow& row);

// Where the control goes when a narrow screen stacks the controls in one
// column: each list's column in turn, then the poem buttons, the poem, the
// sheet and the credit line.
int oneColumnOrder(const ControlRow& row);

// The row of the one control with this role (and list, for the four
// families). A role and list that name no control stop the program.
const ControlRow& controlRow(ControlRole role, std::optional<WordListKind> list = std::nullopt);

// The names the scripts and the web page know kinds, roles and lists by.
std::string_view kindName(ControlKind kind);
std::string_view roleName(ControlRole role);
std::string_view listName(WordListKind list);

} // namespace versomat
