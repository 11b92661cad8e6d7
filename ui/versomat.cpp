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
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <QVBoxLayout>
#include <QToolTip>

#include <algorithm>
#include <cassert>

#include "control_look.h"
#include "control_table.h"
#include "core_text.h"
#include "generator/poem_generator.h"
#include "settings/probability_sheet.h"
#include "wordlists/list_summary.h"

namespace versomat {
namespace {

constexpr QStringView kAcceptedMarkText = u"OK";
constexpr int kIconSizes[] = {32, 64, 256};
// The sheet's background while it shows a sheet that could not be taken.
const QColor kRefusedSheet(255, 192, 192);
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
    widget->setObjectName(row.objectName.toString());
    widget->setGeometry(pixelRect(row.twips));
    widget->setAccessibleName(row.accessibleName.toString());
    widget->setToolTip(row.help.toString());
    widget->setAccessibleDescription(row.help.toString());
    paintBackground(widget, row.kind, colourOf(row.background));
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

} // namespace

Versomat::Versomat(QWidget* parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Versomat"));
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
    const QColor teal = colourOf(Colour::Teal);
    paintBackground(this, ControlKind::Label, teal);

    // The controls keep their places on a canvas of the layout's size; on a
    // screen too small for it the canvas scrolls instead of being cut off.
    auto* canvas = new QWidget;
    canvas->setFixedSize(clientPixelSize());
    paintBackground(canvas, ControlKind::Label, teal);
    m_scrollArea = new QScrollArea(this);
    m_scrollArea->setFrameShape(QFrame::NoFrame);
    m_scrollArea->setFocusPolicy(Qt::NoFocus);
    m_scrollArea->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    paintBackground(m_scrollArea->viewport(), ControlKind::Label, teal);
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
    if (const Handler handler = handlerFor(row)) {
        auto* button = qobject_cast<QPushButton*>(control);
        assert(button && "only buttons have handlers");
        connect(button, &QPushButton::clicked, this, handler);
    }
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
    const QSize canvas = clientPixelSize();
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
    controls.mark->setText(kAcceptedMarkText.toString());
    paintBackground(controls.mark, ControlKind::TextBox, colourOf(Colour::BrightGreen));
    const QString summary = toQtText(acceptedListSummary(m_state, list));
    controls.mark->setToolTip(summary);
    controls.mark->setAccessibleDescription(summary);
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
    if (const std::optional<SheetRefusal> refusal = acceptProbabilitySheet(m_state, readText(m_sheet))) {
        markSheetRefused(*refusal);
        return;
    }
    clearSheetMark();
    m_sheetAccept->hide();
    m_sheet->hide();
}

void Versomat::markSheetRefused(const SheetRefusal& refusal)
{
    QTextCursor line(m_sheet->document()->findBlockByNumber(refusal.line - 1));
    const bool lineExists = line.block().isValid();
    const int found = refusal.value - 1;
    const QString hint =
        lineExists ? QStringLiteral("Nicht übernommen: Zeile %1 enthält kein „=“, gefunden sind nur %2 von %3 Werten.\n"
                                    "Jede Zeile braucht die Form „w1=0,7“.")
                         .arg(refusal.line)
                         .arg(found)
                         .arg(kProbabilityCount)
                   : QStringLiteral(
                         "Nicht übernommen: gefunden sind nur %1 von %2 Werten.\nJede Zeile braucht die Form „w1=0,7“.")
                         .arg(found)
                         .arg(kProbabilityCount);
    if (!lineExists)
        line = QTextCursor(m_sheet->document()->lastBlock());
    line.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    m_sheet->setTextCursor(line);

    paintBackground(m_sheet, ControlKind::TextBox, kRefusedSheet);
    m_sheet->setToolTip(hint);
    m_sheet->setAccessibleDescription(hint);
    QToolTip::showText(m_sheet->mapToGlobal(m_sheet->cursorRect().bottomLeft()), hint, m_sheet);
}

void Versomat::clearSheetMark()
{
    const ControlRow& row = controlRow(ControlRole::Sheet);
    paintBackground(m_sheet, row.kind, colourOf(row.background));
    m_sheet->setToolTip(row.help.toString());
    m_sheet->setAccessibleDescription(row.help.toString());
}

} // namespace versomat
