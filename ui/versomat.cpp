#include "versomat.h"

#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <cassert>

#include "control_table.h"
#include "core_text.h"
#include "settings/probability_sheet.h"

namespace versomat {
namespace {

constexpr QStringView kAcceptedMarkText = u"OK";
constexpr QStringView kNotAcceptedDescription = u"nicht übernommen";
constexpr QStringView kAcceptedDescription = u"übernommen";
constexpr QStringView kFocusAtStart = u"BeispieleHandelnde";
constexpr int kIconSizes[] = {32, 64, 256};
constexpr int kBorderDarkness = 160; // percent, as QColor::darker takes it
constexpr int kPressedDarkness = 120;

struct ListControls {
    WordListKind kind;
    QStringView example;
    QStringView box;
    QStringView accept;
    QStringView mark;
};

// In WordListKind order, so a kind's value is its row.
constexpr ListControls kListControls[kWordLists] = {
    {WordListKind::Actors, u"BeispieleHandelnde", u"Text1", u"ÜbernehmenH", u"Text1a"},
    {WordListKind::Objects, u"BeispieleBenutztes", u"Text2", u"ÜbernehmenB", u"Text2a"},
    {WordListKind::Verbs, u"BespieleV", u"Text3", u"ÜbernehmenV", u"Text3a"},
    {WordListKind::Adjectives, u"BeispieleA", u"Text4", u"ÜbernehmenA", u"Text4a"},
};

struct Wiring {
    QStringView button;
    void (Versomat::*handler)();
};

const Wiring kWiring[] = {
    {u"BeispieleHandelnde", &Versomat::BeispieleHandelnde_Click},
    {u"BeispieleBenutztes", &Versomat::BeispieleBenutztes_Click},
    {u"BespieleV", &Versomat::BespieleV_Click},
    {u"BeispieleA", &Versomat::BeispieleA_Click},
    {u"ÜbernehmenH", &Versomat::ÜbernehmenH_Click},
    {u"ÜbernehmenB", &Versomat::ÜbernehmenB_Click},
    {u"ÜbernehmenV", &Versomat::ÜbernehmenV_Click},
    {u"ÜbernehmenA", &Versomat::ÜbernehmenA_Click},
    {u"Gedicht", &Versomat::Gedicht_Click},
    {u"Command2", &Versomat::Command2_Click},
    {u"W_Werte", &Versomat::W_Werte_Click},
    {u"WerteÜbernehmen", &Versomat::WerteÜbernehmen_Click},
};

// Buttons take their colour from a style sheet: styles shade a palette
// colour into a gradient, which made the blue and light-blue buttons look
// alike. The sheet also keeps a pressed and a focused look.
QString buttonStyleSheet(const QColor& colour)
{
    return QStringLiteral("QPushButton { background-color: %1; border: 1px solid %2; border-radius: 2px; }"
                          "QPushButton:pressed { background-color: %3; }"
                          "QPushButton:focus { border: 2px solid black; }")
        .arg(colour.name(), colour.darker(kBorderDarkness).name(), colour.darker(kPressedDarkness).name());
}

void paintBackground(QWidget* widget, ControlKind kind, Colour colour)
{
    const QColor rgb = colourOf(colour);
    if (!rgb.isValid())
        return;
    if (kind == ControlKind::Button) {
        widget->setStyleSheet(buttonStyleSheet(rgb));
        return;
    }
    const QPalette::ColorRole role = kind == ControlKind::Label ? QPalette::Window : QPalette::Base;
    QPalette palette = widget->palette();
    palette.setColor(role, rgb);
    widget->setPalette(palette);
    // Labels and the window draw nothing behind their content unless asked to.
    widget->setAutoFillBackground(role == QPalette::Window);
}

void applyFont(QWidget* widget, const FontChoice& choice)
{
    if (choice.face == Face::SystemDefault)
        return;
    // The Liberation faces carry every weight and slant the controls use; the
    // style hint picks a face of the same kind where they are missing.
    const bool sans = choice.face == Face::Sans;
    QFont font(sans ? QStringLiteral("Liberation Sans") : QStringLiteral("Liberation Serif"));
    font.setStyleHint(sans ? QFont::SansSerif : QFont::Serif);
    font.setPointSizeF(choice.points);
    font.setBold(choice.bold);
    font.setItalic(choice.italic);
    widget->setFont(font);
}

QWidget* createTextBox(const ControlRow& row, QWidget* parent)
{
    if (!(row.settings & kMultiLine)) {
        auto* line = new QLineEdit(toQtText(row.text), parent);
        if (row.settings & kCentred)
            line->setAlignment(Qt::AlignCenter);
        return line;
    }
    auto* box = new QPlainTextEdit(toQtText(row.text), parent);
    // Tab must leave the box, or the keyboard could never reach the buttons
    // after it.
    box->setTabChangesFocus(true);
    const bool scrolls = row.settings & kBothScrollBars;
    const Qt::ScrollBarPolicy policy = scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    box->setHorizontalScrollBarPolicy(policy);
    box->setVerticalScrollBarPolicy(policy);
    box->setLineWrapMode(scrolls ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
    return box;
}

QWidget* createControl(const ControlRow& row, QWidget* parent)
{
    QWidget* widget = nullptr;
    switch (row.kind) {
    case ControlKind::Label: {
        auto* label = new QLabel(toQtText(row.text), parent);
        if (row.settings & kCentred)
            label->setAlignment(Qt::AlignCenter);
        if (row.settings & kFramed)
            label->setFrameStyle(QFrame::Box | QFrame::Plain);
        widget = label;
        break;
    }
    case ControlKind::Button: {
        auto* button = new QPushButton(toQtText(row.text), parent);
        // Outside a dialog this only lets Enter press the focused button; no
        // button becomes a default button.
        button->setAutoDefault(true);
        widget = button;
        break;
    }
    case ControlKind::TextBox: widget = createTextBox(row, parent); break;
    }
    widget->setObjectName(row.objectName.toString());
    widget->setGeometry(pixelRect(row.twips));
    widget->setAccessibleName(row.accessibleName.toString());
    paintBackground(widget, row.kind, row.background);
    applyFont(widget, row.font);
    if (row.settings & kHiddenAtStart)
        widget->hide();
    if (row.settings & kDrawnOnTop)
        widget->raise();
    return widget;
}

} // namespace

Versomat::Versomat(QWidget* parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Versomat"));
    // Decoding the icon takes a few milliseconds that the first frame need
    // not wait for: it is set as soon as the event loop runs.
    QTimer::singleShot(0, this, [this] {
        QIcon icon;
        for (int size : kIconSizes)
            icon.addFile(QStringLiteral(":/versomat/icons/versomat-%1.png").arg(size));
        setWindowIcon(icon);
    });
    paintBackground(this, ControlKind::Label, Colour::Teal);
    resize(twipsToPixels(kClientWidthTwips), twipsToPixels(kClientHeightTwips));

    buildControls();
    wireButtons();
    control<QPushButton>(kFocusAtStart)->setFocus();
}

void Versomat::buildControls()
{
    // Creation order is the focus chain, so the table's order is the tab order.
    for (const ControlRow& row : controlTable())
        createControl(row, this);

    for (const ListControls& names : kListControls) {
        const ListRow row{names.kind, control<QPushButton>(names.example), control<QPlainTextEdit>(names.box),
                          control<QPushButton>(names.accept), control<QLineEdit>(names.mark)};
        row.mark->setAccessibleDescription(kNotAcceptedDescription.toString());
        m_listRows[static_cast<std::size_t>(names.kind)] = row;
    }
    m_text5 = control<QPlainTextEdit>(u"Text5");
    m_sheet = control<QPlainTextEdit>(u"statistikwerte");
    m_sheetAccept = control<QPushButton>(u"WerteÜbernehmen");
}

void Versomat::wireButtons()
{
    for (const Wiring& wiring : kWiring)
        connect(control<QPushButton>(wiring.button), &QPushButton::clicked, this, wiring.handler);
}

template <typename Control>
Control* Versomat::control(QStringView objectName) const
{
    auto* found = findChild<Control*>(objectName.toString(), Qt::FindDirectChildrenOnly);
    assert(found && "every name used here is a row of the control table");
    return found;
}

const Versomat::ListRow& Versomat::listRow(WordListKind kind) const
{
    return m_listRows[static_cast<std::size_t>(kind)];
}

void Versomat::BeispieleHandelnde_Click()
{
    showExample(listRow(WordListKind::Actors));
}

void Versomat::BeispieleBenutztes_Click()
{
    showExample(listRow(WordListKind::Objects));
}

void Versomat::BespieleV_Click()
{
    showExample(listRow(WordListKind::Verbs));
}

void Versomat::BeispieleA_Click()
{
    showExample(listRow(WordListKind::Adjectives));
}

void Versomat::ÜbernehmenH_Click()
{
    acceptList(listRow(WordListKind::Actors));
}

void Versomat::ÜbernehmenB_Click()
{
    acceptList(listRow(WordListKind::Objects));
}

void Versomat::ÜbernehmenV_Click()
{
    acceptList(listRow(WordListKind::Verbs));
}

void Versomat::ÜbernehmenA_Click()
{
    acceptList(listRow(WordListKind::Adjectives));
}

void Versomat::showExample(const ListRow& row)
{
    row.box->setPlainText(toQtText(fillExample(m_state, row.kind)));
}

void Versomat::acceptList(const ListRow& row)
{
    acceptWordList(m_state, row.kind, toCoreText(row.box->toPlainText()));
    row.mark->setText(kAcceptedMarkText.toString());
    paintBackground(row.mark, ControlKind::TextBox, Colour::BrightGreen);
    row.mark->setAccessibleDescription(kAcceptedDescription.toString());
}

void Versomat::Gedicht_Click()
{
    m_text5->setPlainText(toQtText(composePoemOrRefusal(m_state, m_random)));
}

void Versomat::Command2_Click()
{
    startRandomly(m_state, m_random);
    Gedicht_Click();
}

void Versomat::W_Werte_Click()
{
    m_sheetAccept->show();
    m_sheet->show();
    m_sheet->setPlainText(toQtText(showProbabilitySheet(m_state)));
}

void Versomat::WerteÜbernehmen_Click()
{
    // An unreadable sheet stays open: hiding it would throw away the user's
    // edits while keeping none of them.
    if (acceptProbabilitySheet(m_state, toCoreText(m_sheet->toPlainText())))
        return;
    m_sheetAccept->hide();
    m_sheet->hide();
}

} // namespace versomat
