#include "versomat.h"

#include <QAccessibleWidget>
#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QStyle>
#include <QTextCursor>
#include <QTimer>
#include <QVBoxLayout>
#include <QToolTip>

#include <algorithm>

#include "control_look.h"
#include "controls/control_table.h"
#include "controls/window_texts.h"
#include "core_text.h"
#include "generator/poem_generator.h"
#include "runtime/text_search.h"
#include "settings/probability_sheet.h"
#include "wordlists/list_summary.h"

namespace versomat {
namespace {

// Title bars and task switchers; launchers take the installed scalable icon.
constexpr int kIconSizes[] = {32, 64, 128};
// Room left around the client area for the window manager's frame, so that
// the whole frame fits on a screen the window has to shrink for.
constexpr QSize kFrameAllowance(16, 40);
const QKeySequence kComposeKeys[] = {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)};

QWidget* createTextBox(const ControlRow& row, QWidget* parent)
{
    if (!(row.settings & kMultiLine)) {
        auto* line = new QLineEdit(toQtText(row.text), parent);
        if (row.settings & kCentred)
            line->setAlignment(Qt::AlignCenter);
        return line;
    }
    auto* box = new QPlainTextEdit(parent);
    showText(box, row.text);
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
    widget->setObjectName(toQtText(row.objectName));
    widget->setGeometry(qtRect(pixelRect(row.twips)));
    widget->setAccessibleName(toQtText(row.accessibleName));
    widget->setToolTip(toQtText(row.help));
    widget->setAccessibleDescription(toQtText(row.help));
    paintBackground(widget, row.kind, qtColour(row.background));
    applyFont(widget, row.font);
    if (row.settings & kHiddenAtStart)
        widget->hide();
    if (row.settings & kDrawnOnTop)
        widget->raise();
    return widget;
}

// A plain QWidget reaches screen readers as a filler, not as a window they
// can announce.
QAccessibleInterface* accessibleWindow(const QString& className, QObject* object)
{
    if (className == QLatin1String(Versomat::staticMetaObject.className()) && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    return nullptr;
}

// Replaces the box's text as one edit, so that Ctrl+Z brings back what the
// user had typed.
void replaceUndoably(QPlainTextEdit* box, std::u16string_view text)
{
    QTextCursor cursor(box->document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.insertText(toQtText(text));
    cursor.endEditBlock();
}

// Shows a hint the user must not miss at once, as a tooltip. Posted: the
// events that end a real mouse click (still being delivered when the click
// handler runs) would close a tooltip shown straight away.
void popToolTip(QWidget* owner, QPoint local, const QString& text)
{
    QTimer::singleShot(0, owner, [owner, local, text] { QToolTip::showText(owner->mapToGlobal(local), text, owner); });
}

} // namespace

Versomat::Versomat(QWidget* parent) : QWidget(parent)
{
    setWindowTitle(toQtText(kWindowCaption));
    static const bool accessibleAsWindow = (QAccessible::installFactory(accessibleWindow), true);
    Q_UNUSED(accessibleAsWindow);
    // Decoding the icon takes a few milliseconds that the first frame need
    // not wait for: it is set as soon as the event loop runs.
    QTimer::singleShot(0, this, [this] {
        QIcon icon;
        for (int size : kIconSizes)
            icon.addFile(QStringLiteral(":/versomat/icons/versomat-%1.png").arg(size));
        setWindowIcon(icon);
    });
    const QColor background = qtColour(kWindowBackground);
    paintBackground(this, ControlKind::Label, background);

    // The controls keep their places on a canvas of the layout's size; on a
    // screen too small for it the canvas scrolls instead of being cut off.
    auto* canvas = new QWidget;
    canvas->setFixedSize(qtSize(clientPixelSize()));
    paintBackground(canvas, ControlKind::Label, background);
    m_scrollArea = new QScrollArea(this);
    m_scrollArea->setFrameShape(QFrame::NoFrame);
    m_scrollArea->setFocusPolicy(Qt::NoFocus);
    m_scrollArea->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    paintBackground(m_scrollArea->viewport(), ControlKind::Label, background);
    buildControls(canvas);
    m_scrollArea->setWidget(canvas);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_scrollArea);

    for (const QKeySequence& keys : kComposeKeys)
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &Versomat::Gedicht_Click);

    fitIntoScreen();
    if (m_firstFocus)
        m_firstFocus->setFocus();
}

void Versomat::buildControls(QWidget* canvas)
{
    // Creation order is the focus chain, so the table's order is the tab order.
    for (const ControlRow& row : controlTable())
        keep(row, createControl(row, canvas));
}

void Versomat::keep(const ControlRow& row, QWidget* control)
{
    const std::size_t list = row.list ? static_cast<std::size_t>(*row.list) : 0;
    switch (row.role) {
    case ControlRole::ListBox: m_lists[list].box = qobject_cast<QPlainTextEdit*>(control); break;
    case ControlRole::Mark: m_lists[list].mark = qobject_cast<QLineEdit*>(control); break;
    case ControlRole::Output: m_text5 = qobject_cast<QPlainTextEdit*>(control); break;
    case ControlRole::Sheet: m_sheet = qobject_cast<QPlainTextEdit*>(control); break;
    case ControlRole::SheetAccept: m_sheetAccept = qobject_cast<QPushButton*>(control); break;
    default: break;
    }
    // The table guarantees that every button, and nothing else, has a role
    // with a handler.
    if (row.kind == ControlKind::Button)
        connect(static_cast<QPushButton*>(control), &QPushButton::clicked, this, handlerFor(row));
    if (!m_firstFocus && control->focusPolicy() != Qt::NoFocus && !(row.settings & kHiddenAtStart))
        m_firstFocus = control;
}

Versomat::Handler Versomat::handlerFor(const ControlRow& row)
{
    // In WordListKind order.
    static constexpr std::array<Handler, kWordLists> kExampleHandlers = {
        &Versomat::BeispieleHandelnde_Click, &Versomat::BeispieleBenutztes_Click, &Versomat::BespieleV_Click,
        &Versomat::BeispieleA_Click};
    static constexpr std::array<Handler, kWordLists> kAcceptHandlers = {
        &Versomat::ÜbernehmenH_Click, &Versomat::ÜbernehmenB_Click, &Versomat::ÜbernehmenV_Click,
        &Versomat::ÜbernehmenA_Click};
    const std::size_t list = row.list ? static_cast<std::size_t>(*row.list) : 0;
    switch (row.role) {
    case ControlRole::Example: return kExampleHandlers[list];
    case ControlRole::Accept: return kAcceptHandlers[list];
    case ControlRole::Generate: return &Versomat::Gedicht_Click;
    case ControlRole::RandomStart: return &Versomat::Command2_Click;
    case ControlRole::SheetShow: return &Versomat::W_Werte_Click;
    case ControlRole::SheetAccept: return &Versomat::WerteÜbernehmen_Click;
    default: return nullptr;
    }
}

void Versomat::fitIntoScreen()
{
    const QSize canvas = qtSize(clientPixelSize());
    const QSize room = screen()->availableGeometry().size() - kFrameAllowance;
    QSize fitted = canvas.boundedTo(room);
    // A scroll bar along one side takes room from the other; widen by it
    // where the screen allows, so that one direction scrolls, not both.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_scrollArea);
    if (fitted.height() < canvas.height())
        fitted.setWidth(std::min(room.width(), canvas.width() + bar));
    if (fitted.width() < canvas.width())
        fitted.setHeight(std::min(room.height(), fitted.height() + bar));
    resize(fitted);
}

void Versomat::BeispieleHandelnde_Click()
{
    showExample(WordListKind::Actors);
}

void Versomat::BeispieleBenutztes_Click()
{
    showExample(WordListKind::Objects);
}

void Versomat::BespieleV_Click()
{
    showExample(WordListKind::Verbs);
}

void Versomat::BeispieleA_Click()
{
    showExample(WordListKind::Adjectives);
}

void Versomat::ÜbernehmenH_Click()
{
    acceptList(WordListKind::Actors);
}

void Versomat::ÜbernehmenB_Click()
{
    acceptList(WordListKind::Objects);
}

void Versomat::ÜbernehmenV_Click()
{
    acceptList(WordListKind::Verbs);
}

void Versomat::ÜbernehmenA_Click()
{
    acceptList(WordListKind::Adjectives);
}

void Versomat::showExample(WordListKind list)
{
    replaceUndoably(m_lists[static_cast<std::size_t>(list)].box, fillExample(m_state, list));
}

void Versomat::acceptList(WordListKind list)
{
    const ListControls& controls = m_lists[static_cast<std::size_t>(list)];
    acceptWordList(m_state, list, readText(controls.box));
    controls.mark->setText(toQtText(kAcceptedMark));
    paintBackground(controls.mark, ControlKind::TextBox, qtColour(kAcceptedMarkBackground));
    const QString summary = toQtText(acceptedListSummary(m_state, list));
    controls.mark->setToolTip(summary);
    controls.mark->setAccessibleDescription(summary);
    // A green mark over an empty list would hide that the poem lacks it.
    if (acceptTookNothing(m_state, list))
        popToolTip(controls.mark, QPoint(0, controls.mark->height()), summary);
}

void Versomat::Gedicht_Click()
{
    showText(m_text5, composePoemOrRefusal(m_state, m_random));
}

void Versomat::Command2_Click()
{
    startRandomly(m_state, m_random);
    Gedicht_Click();
}

void Versomat::W_Werte_Click()
{
    clearSheetMark();
    m_sheetAccept->show();
    m_sheet->show();
    showText(m_sheet, showProbabilitySheet(m_state));
}

void Versomat::WerteÜbernehmen_Click()
{
    // An unreadable sheet stays open: hiding it would throw away the user's
    // edits while keeping none of them.
    const std::u16string sheet = readText(m_sheet);
    if (const std::optional<SheetRefusal> refusal = acceptProbabilitySheet(m_state, sheet)) {
        markSheetRefused(sheet, sheetRefusalHint(sheet, *refusal));
        return;
    }
    clearSheetMark();
    m_sheetAccept->hide();
    m_sheet->hide();
}

void Versomat::markSheetRefused(std::u16string_view sheet, const SheetHint& hint)
{
    // The hint counts lines of the core text; the box holds each of its
    // "\r\n" as one character, whether it shows it as a new paragraph or
    // as a line separator inside one.
    std::size_t from = 0;
    for (int line = 1; line < hint.line; ++line)
        from = sheet.find(kLineBreak, from) + kLineBreak.size();
    const std::size_t to = std::min(sheet.find(kLineBreak, from), sheet.size());
    const int breaksBefore = hint.line - 1;
    const int last = m_sheet->document()->characterCount() - 1;
    QTextCursor line(m_sheet->document());
    line.setPosition(std::min(static_cast<int>(from) - breaksBefore, last));
    line.setPosition(std::min(static_cast<int>(to) - breaksBefore, last), QTextCursor::KeepAnchor);
    m_sheet->setTextCursor(line);

    const QString text = toQtText(hint.text);
    paintBackground(m_sheet, ControlKind::TextBox, qtColour(kRefusedSheetBackground));
    m_sheet->setToolTip(text);
    m_sheet->setAccessibleDescription(text);
    popToolTip(m_sheet, m_sheet->cursorRect().bottomLeft(), text);
}

void Versomat::clearSheetMark()
{
    const ControlRow& row = controlRow(ControlRole::Sheet);
    paintBackground(m_sheet, row.kind, qtColour(row.background));
    m_sheet->setToolTip(toQtText(row.help));
    m_sheet->setAccessibleDescription(toQtText(row.help));
}

} // namespace versomat
