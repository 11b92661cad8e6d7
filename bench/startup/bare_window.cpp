// The yardstick for the startup benchmark: a window with the same 27
// controls at the same places as Versomat, but with the toolkit's default
// font, colours and icon and no handlers. Whatever Versomat needs beyond
// this window at startup is its own cost.
//
// Each option adds one thing Versomat does on top, so that the benchmark can
// tell what each one costs:
//   --fusion        sets the Fusion style explicitly
//   --icon          loads the window icon from three PNG sizes
//   --small-icon    (not in --all) the same icon without its 256 px size
//   --palettes      colours the window, labels and text boxes by palette
//   --style-sheets  colours each button by its own style sheet
//   --fonts         gives the controls their Liberation faces and sizes
//   --scroll-bars   shows both scroll bars on the five big text boxes
//   --display-check asks the X server for a connection before Qt starts
//   --all           all of the above
//   --one-style-sheet  (not in --all) colours the buttons by one style sheet
//                   on the window, with a rule per button name, instead of
//                   one sheet per button

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyleFactory>
#include <QWidget>

#ifdef VERSOMAT_HAVE_XCB
#include <xcb/xcb.h>
#endif

#include <array>
#include <cstdio>
#include <cstring>

namespace {

enum class Kind { Label, Button, MultiLine, OneLine };
enum class Font { Standard, Header, Box, Accept, Example, Generate };

struct Control {
    const char* name;
    Kind kind;
    int left, top, width, height; // twips
    const char* text;
    QRgb background; // 0: the toolkit's own
    Font font;
    bool hidden;
};

constexpr int kTwipsPerPixel = 15;
constexpr int kClientWidthTwips = 11190;
constexpr int kClientHeightTwips = 11355;
constexpr QRgb kTeal = 0xff00c0c0;

// clang-format off
constexpr std::array<Control, 27> kControls = {{
    {"Handelnde",          Kind::Label,     120,   120,   2655,  375,  "Handelnde eingeben",  0xffffff00, Font::Header,   false},
    {"BeispieleHandelnde", Kind::Button,    120,   480,   2655,  375,  "Beispiel",            0xff00c000, Font::Example,  false},
    {"Text1",              Kind::MultiLine, 120,   840,   2655,  4335, "noch leer\n",         0,          Font::Box,      false},
    {"ÜbernehmenH",        Kind::Button,    120,   5160,  1935,  375,  "Übernehmen",          0xffff00ff, Font::Accept,   false},
    {"Benutztes",          Kind::Label,     2760,  120,   2775,  375,  "Benutztes eingeben",  0xffffff00, Font::Header,   false},
    {"BeispieleBenutztes", Kind::Button,    2760,  480,   2775,  375,  "Beispiel",            0xff00c000, Font::Example,  false},
    {"Text2",              Kind::MultiLine, 2760,  840,   2775,  4335, "noch leer\n",         0,          Font::Box,      false},
    {"ÜbernehmenB",        Kind::Button,    2760,  5160,  1935,  375,  "Übernehmen",          0xffff00ff, Font::Accept,   false},
    {"Verben",             Kind::Label,     5520,  120,   2775,  375,  "Verben eingeben",     0xffffff00, Font::Header,   false},
    {"BespieleV",          Kind::Button,    5520,  480,   2775,  375,  "Beispiel",            0xff00c000, Font::Example,  false},
    {"Text3",              Kind::MultiLine, 5520,  840,   2775,  4335, "noch leer\n",         0,          Font::Box,      false},
    {"ÜbernehmenV",        Kind::Button,    5520,  5160,  1935,  375,  "Übernehmen",          0xffff00ff, Font::Accept,   false},
    {"Adjektive",          Kind::Label,     8280,  120,   2775,  375,  "Adjektive eingeben ", 0xffffff00, Font::Header,   false},
    {"BeispieleA",         Kind::Button,    8280,  480,   2775,  375,  "Beispiel",            0xff00c000, Font::Example,  false},
    {"Text4",              Kind::MultiLine, 8280,  840,   2775,  4335, "noch leer\n",         0,          Font::Box,      false},
    {"ÜbernehmenA",        Kind::Button,    8280,  5160,  1935,  375,  "Übernehmen",          0xffff00ff, Font::Accept,   false},
    {"Gedicht",            Kind::Button,    120,   5640,  7455,  375,  "Gedicht erzeugen mit wiederholbarer Zählung",
                                                                                             0xff8080ff, Font::Generate, false},
    {"Text5",              Kind::MultiLine, 120,   6000,  10935, 4935, "noch leer\n",         0,          Font::Box,      false},
    {"Text1a",             Kind::OneLine,   2040,  5160,  735,   375,  "*",                   0xffff0000, Font::Accept,   false},
    {"Text2a",             Kind::OneLine,   4680,  5160,  855,   375,  "*",                   0xffff0000, Font::Accept,   false},
    {"Text3a",             Kind::OneLine,   7440,  5160,  855,   375,  "*",                   0xffff0000, Font::Accept,   false},
    {"Text4a",             Kind::OneLine,   10200, 5160,  855,   375,  "*",                   0xffff0000, Font::Accept,   false},
    {"Command2",           Kind::Button,    7560,  5640,  3495,  375,  "mit Zufallsstart",    0xffc0c0ff, Font::Generate, false},
    {"Label1",             Kind::Label,     120,   11040, 10935, 255,  "Versomat",            kTeal,      Font::Standard, false},
    {"statistikwerte",     Kind::MultiLine, 8760,  6600,  2295,  4095, "Text6",               0xffc0ffc0, Font::Box,      true},
    {"WerteÜbernehmen",    Kind::Button,    8760,  10680, 2295,  375,  "Werte Übernehmen",    0xff00ff00, Font::Box,      true},
    {"W_Werte",            Kind::Button,    9840,  11040, 1335,  255,  "W-Werte",             kTeal,      Font::Standard, false},
}};
// clang-format on

struct Features {
    bool fusion = false;
    bool icon = false;
    bool smallIcon = false;
    bool palettes = false;
    bool styleSheets = false;
    bool fonts = false;
    bool scrollBars = false;
    bool displayCheck = false;
    bool oneStyleSheet = false;
};

QFont fontFor(Font font)
{
    const bool sans = font == Font::Header || font == Font::Box || font == Font::Accept;
    QFont qfont(sans ? QStringLiteral("Liberation Sans") : QStringLiteral("Liberation Serif"));
    qfont.setStyleHint(sans ? QFont::SansSerif : QFont::Serif);
    qfont.setPointSizeF(font == Font::Header || font == Font::Box ? 12 : font == Font::Accept ? 13.5 : 14.25);
    qfont.setBold(font == Font::Header || font == Font::Generate);
    qfont.setItalic(font == Font::Generate);
    return qfont;
}

void colourByPalette(QWidget* widget, QPalette::ColorRole role, QRgb rgb)
{
    QPalette palette = widget->palette();
    palette.setColor(role, QColor::fromRgb(rgb));
    widget->setPalette(palette);
    widget->setAutoFillBackground(role == QPalette::Window);
}

// The same rules as Versomat's buttons; selector is "QPushButton" for a
// sheet on the button itself, or names one button for a sheet on the window.
QString buttonStyleSheet(const QString& selector, const QColor& colour)
{
    return QStringLiteral("%1 { background-color: %2; border: 1px solid %3; border-radius: 2px; }"
                          "%1:pressed { background-color: %4; }"
                          "%1:focus { border: 2px solid black; }")
        .arg(selector, colour.name(), colour.darker(160).name(), colour.darker(120).name());
}

QString windowStyleSheet()
{
    QString sheet;
    for (const Control& control : kControls) {
        if (control.kind == Kind::Button && control.background != 0)
            // Qt's style sheet parser takes no "Ü" in a #name selector, but
            // it does in a quoted property value.
            sheet +=
                buttonStyleSheet(QStringLiteral("QPushButton[objectName=\"%1\"]").arg(QString::fromUtf8(control.name)),
                                 QColor::fromRgb(control.background));
    }
    return sheet;
}

void createControl(const Control& control, const Features& features, QWidget* parent)
{
    const QString text = QString::fromUtf8(control.text);
    QWidget* widget = nullptr;
    switch (control.kind) {
    case Kind::Label: widget = new QLabel(text, parent); break;
    case Kind::Button: widget = new QPushButton(text, parent); break;
    case Kind::MultiLine: widget = new QPlainTextEdit(text, parent); break;
    case Kind::OneLine: widget = new QLineEdit(text, parent); break;
    }
    widget->setObjectName(QString::fromUtf8(control.name));
    widget->setGeometry(control.left / kTwipsPerPixel, control.top / kTwipsPerPixel, control.width / kTwipsPerPixel,
                        control.height / kTwipsPerPixel);
    widget->setHidden(control.hidden);
    if (control.background != 0) {
        if (control.kind == Kind::Button && features.styleSheets)
            widget->setStyleSheet(buttonStyleSheet(QStringLiteral("QPushButton"), QColor::fromRgb(control.background)));
        if (control.kind != Kind::Button && features.palettes)
            colourByPalette(widget, control.kind == Kind::Label ? QPalette::Window : QPalette::Base,
                            control.background);
    }
    if (features.fonts && control.font != Font::Standard)
        widget->setFont(fontFor(control.font));
    auto* box = qobject_cast<QPlainTextEdit*>(widget);
    if (box && features.scrollBars && !control.hidden) {
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        box->setLineWrapMode(QPlainTextEdit::NoWrap);
    }
}

bool parseOptions(int argc, char** argv, Features& features)
{
    for (int i = 1; i < argc; ++i) {
        const char* option = argv[i];
        // Qt's own options start with a single dash and are Qt's business.
        if (std::strncmp(option, "--", 2) != 0)
            continue;
        const bool all = std::strcmp(option, "--all") == 0;
        bool known = all;
        if (all || std::strcmp(option, "--fusion") == 0)
            known = features.fusion = true;
        if (all || std::strcmp(option, "--icon") == 0)
            known = features.icon = true;
        if (all || std::strcmp(option, "--palettes") == 0)
            known = features.palettes = true;
        if (all || std::strcmp(option, "--style-sheets") == 0)
            known = features.styleSheets = true;
        if (all || std::strcmp(option, "--fonts") == 0)
            known = features.fonts = true;
        if (all || std::strcmp(option, "--scroll-bars") == 0)
            known = features.scrollBars = true;
        if (all || std::strcmp(option, "--display-check") == 0)
            known = features.displayCheck = true;
        if (std::strcmp(option, "--small-icon") == 0)
            known = features.smallIcon = true;
        if (std::strcmp(option, "--one-style-sheet") == 0)
            known = features.oneStyleSheet = true;
        if (!known) {
            std::fprintf(stderr, "versomat_bare_window: unknown option %s\n", option);
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    Features features;
    // Read before QApplication so that the display check can precede it.
    if (!parseOptions(argc, argv, features))
        return 2;
#ifdef VERSOMAT_HAVE_XCB
    // Held, like Versomat's, until Qt has its own connection.
    xcb_connection_t* check = features.displayCheck ? xcb_connect(nullptr, nullptr) : nullptr;
#endif
    QApplication app(argc, argv);
#ifdef VERSOMAT_HAVE_XCB
    if (check)
        xcb_disconnect(check);
#endif
    if (features.fusion)
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    QWidget window;
    window.setWindowTitle(QStringLiteral("Versomat bare window"));
    if (features.icon || features.smallIcon) {
        QIcon icon;
        for (int size : {32, 64, 256}) {
            if (size < 256 || !features.smallIcon)
                icon.addFile(QStringLiteral(":/versomat/icons/versomat-%1.png").arg(size));
        }
        window.setWindowIcon(icon);
    }
    if (features.palettes)
        colourByPalette(&window, QPalette::Window, kTeal);
    if (features.oneStyleSheet)
        window.setStyleSheet(windowStyleSheet());
    window.resize(kClientWidthTwips / kTwipsPerPixel, kClientHeightTwips / kTwipsPerPixel);
    for (const Control& control : kControls)
        createControl(control, features, &window);
    window.show();
    return app.exec();
}
