// The yardstick for the startup benchmark: a window with the same 27
// controls at the same places as Versomat, but with the toolkit's default
// font, colours and icon and no handlers. Whatever Versomat needs beyond
// this window at startup is its own cost.
//
// Each option adds one thing Versomat does on top, so that the benchmark can
// tell what each one costs:
//   --fusion        sets the Fusion style explicitly
//   --icon          loads the window icon from three PNG sizes
//   --small-icon    (not in --all) the same icon without its 128 px size
//   --palettes      colours the window, labels and text boxes by palette
//   --style-sheets  colours each button by its own style sheet
//   --fonts         gives the controls their Liberation faces and sizes
//   --scroll-bars   shows both scroll bars on the five big text boxes
//   --display-check runs Versomat's display check before Qt starts
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

#include "control_look.h"
#include "controls/control_table.h"
#include "core_text.h"
#include "display_check.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

using namespace versomat;

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

void colourByPalette(QWidget* widget, QPalette::ColorRole role, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(role == QPalette::Window);
}

QString windowStyleSheet()
{
    QString sheet;
    for (const ControlRow& row : controlTable()) {
        if (row.kind == ControlKind::Button && row.background)
            // Qt's style sheet parser takes no "Ü" in a #name selector, but
            // it does in a quoted property value.
            sheet += buttonStyleSheet(qtColour(row.background), Qt::black)
                         .replace(QStringLiteral("QPushButton"),
                                  QStringLiteral("QPushButton[objectName=\"%1\"]").arg(toQtText(row.objectName)));
    }
    return sheet;
}

void createControl(const ControlRow& row, const Features& features, QWidget* parent)
{
    const QString text =
        QString::fromStdU16String(std::u16string(row.text)).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const bool hidden = row.settings & kHiddenAtStart;
    QWidget* widget = nullptr;
    switch (row.kind) {
    case ControlKind::Label: widget = new QLabel(text, parent); break;
    case ControlKind::Button: widget = new QPushButton(text, parent); break;
    case ControlKind::TextBox:
        if (row.settings & kMultiLine)
            widget = new QPlainTextEdit(text, parent);
        else
            widget = new QLineEdit(text, parent);
        break;
    }
    widget->setObjectName(toQtText(row.objectName));
    widget->setGeometry(qtRect(pixelRect(row.twips)));
    widget->setHidden(hidden);
    const QColor background = qtColour(row.background);
    if (background.isValid()) {
        if (row.kind == ControlKind::Button && features.styleSheets)
            widget->setStyleSheet(buttonStyleSheet(background, Qt::black));
        if (row.kind != ControlKind::Button && features.palettes)
            colourByPalette(widget, row.kind == ControlKind::Label ? QPalette::Window : QPalette::Base, background);
    }
    if (features.fonts)
        applyFont(widget, row.font);
    auto* box = qobject_cast<QPlainTextEdit*>(widget);
    if (box && features.scrollBars && !hidden) {
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
    const std::unique_ptr<QApplication> app = features.displayCheck ? applicationOnADisplay(argc, argv, std::getenv)
                                                                    : std::make_unique<QApplication>(argc, argv);
    if (!app)
        return 1;
    if (features.fusion)
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    QWidget window;
    window.setWindowTitle(QStringLiteral("Versomat bare window"));
    if (features.icon || features.smallIcon) {
        QIcon icon;
        for (int size : {32, 64, 128}) {
            if (size < 128 || !features.smallIcon)
                icon.addFile(QStringLiteral(":/versomat/icons/versomat-%1.png").arg(size));
        }
        window.setWindowIcon(icon);
    }
    if (features.palettes)
        colourByPalette(&window, QPalette::Window, qtColour(kWindowBackground));
    if (features.oneStyleSheet)
        window.setStyleSheet(windowStyleSheet());
    window.resize(qtSize(clientPixelSize()));
    for (const ControlRow& row : controlTable())
        createControl(row, features, &window);
    window.show();
    return app->exec();
}
