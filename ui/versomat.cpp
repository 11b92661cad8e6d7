#include "versomat.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QEvent>
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
#include "core_text.h"
#include "runtime/text_search.h"

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

QRect onScreen(const QWidget* widget)
{
    return {widget->mapToGlobal(QPoint()), widget->size()};
}

// Selects a line of the box's text, counted as the core counts lines: the box
// holds each "\r\n" as one character, whether it shows it as a new
// paragraph or as a line separator inside one.
void selectLine(QPlainTextEdit* box, int lineNumber)
{
    const std::u16string text = readText(box);
    std::size_t from = 0;
    for (int line = 1; line < lineNumber && from < text.size(); ++line)
        from = std::min(text.find(kLineBreak, from), text.size()) + kLineBreak.size();
    from = std::min(from, text.size());
    const std::size_t to = std::min(text.find(kLineBreak, from), text.size());
    const int breaksBefore = static_cast<int>(std::count(text.begin(), text.begin() + static_cast<long>(from), u'\n'));
    const int last = box->document()->characterCount() - 1;
    QTextCursor cursor(box->document());
    cursor.setPosition(std::min(static_cast<int>(from) - breaksBefore, last));
    cursor.setPosition(std::min(static_cast<int>(to) - breaksBefore, last), QTextCursor::KeepAnchor);
    box->setTextCursor(cursor);
}

} // namespace

QWidget* shownToolTip()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->inherits("QTipLabel") && widget->isVisible())
            return widget;
    return nullptr;
}

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
    for (const ControlRow& row : controlTable()) {
        QWidget* control = createControl(row, canvas);
        m_controls.push_back(control);
        // The table guarantees that every button, and nothing else, has a
        // role with a handler.
        if (row.kind == ControlKind::Button)
            connect(static_cast<QPushButton*>(control), &QPushButton::clicked, this, handlerFor(row));
        if (row.settings & kSelectsStartText)
            control->installEventFilter(this);
        if (!m_firstFocus && control->focusPolicy() != Qt::NoFocus && !(row.settings & kHiddenAtStart))
            m_firstFocus = control;
    }
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
    press(ControlRole::Example, WordListKind::Actors);
}

void Versomat::BeispieleBenutztes_Click()
{
    press(ControlRole::Example, WordListKind::Objects);
}

void Versomat::BespieleV_Click()
{
    press(ControlRole::Example, WordListKind::Verbs);
}

void Versomat::BeispieleA_Click()
{
    press(ControlRole::Example, WordListKind::Adjectives);
}

void Versomat::ÜbernehmenH_Click()
{
    press(ControlRole::Accept, WordListKind::Actors);
}

void Versomat::ÜbernehmenB_Click()
{
    press(ControlRole::Accept, WordListKind::Objects);
}

void Versomat::ÜbernehmenV_Click()
{
    press(ControlRole::Accept, WordListKind::Verbs);
}

void Versomat::ÜbernehmenA_Click()
{
    press(ControlRole::Accept, WordListKind::Adjectives);
}

void Versomat::Gedicht_Click()
{
    press(ControlRole::Generate);
}

void Versomat::Command2_Click()
{
    press(ControlRole::RandomStart);
}

void Versomat::W_Werte_Click()
{
    press(ControlRole::SheetShow);
}

void Versomat::WerteÜbernehmen_Click()
{
    press(ControlRole::SheetAccept);
}

void Versomat::press(ControlRole role, std::optional<WordListKind> list)
{
    const std::size_t button = controlIndex(controlRow(role, list));
    std::u16string input;
    if (const std::optional<std::size_t> box = WindowSession::inputOf(button))
        input = readText(qobject_cast<QPlainTextEdit*>(m_controls[*box]));
    render(m_session.click(button, input));
}

void Versomat::render(const ClickAnswer& answer)
{
    for (const ControlChange& change : answer.changes)
        apply(change);
    if (!answer.note) {
        QToolTip::hideText();
        return;
    }
    // Beside the selected line where the click selected one, else below the
    // control.
    QWidget* control = m_controls[answer.note->control];
    const auto* box = qobject_cast<QPlainTextEdit*>(control);
    const QPoint at = box && box->textCursor().hasSelection() ? box->cursorRect().bottomLeft()
                                                              : QPoint(0, control->height());
    // Posted: the events that end a real mouse click (still being delivered
    // when the click handler runs) would close a tooltip shown straight away.
    QTimer::singleShot(0, control, [this, control, at, text = toQtText(answer.note->text)] {
        QToolTip::showText(control->mapToGlobal(at), text, control);
        keepNoteClear(control);
    });
}

// A click on a note only closes it, so a note over a button swallows the
// click meant for the button, typically "Gedicht erzeugen" just under the
// accept buttons. A note that covers a caption, a button or a mark moves
// above its control, where text boxes alone may lie beneath it.
void Versomat::keepNoteClear(const QWidget* control) const
{
    QWidget* tip = shownToolTip();
    if (!tip)
        return;
    const auto coversAny = [this, control](const QRect& place) {
        for (std::size_t i = 0; i < m_controls.size(); ++i) {
            const ControlRow& row = controlTable()[i];
            const bool readOrPressed = row.kind != ControlKind::TextBox || row.role == ControlRole::Mark;
            const QWidget* other = m_controls[i];
            if (other != control && readOrPressed && other->isVisible() && place.intersects(onScreen(other)))
                return true;
        }
        return false;
    };
    if (!coversAny(tip->geometry()))
        return;
    const QRect window = onScreen(this);
    QRect above(onScreen(control).topLeft() - QPoint(0, tip->height()), tip->size());
    above.moveLeft(std::max(window.left(), std::min(above.left(), window.right() + 1 - above.width())));
    if (!coversAny(above) && control->screen()->availableGeometry().contains(above))
        tip->setGeometry(above);
}

void Versomat::apply(const ControlChange& change)
{
    QWidget* control = m_controls[change.control];
    auto* box = qobject_cast<QPlainTextEdit*>(control);
    if (change.text) {
        if (box && change.undoable)
            replaceUndoably(box, *change.text);
        else if (box)
            showText(box, *change.text);
        else if (auto* line = qobject_cast<QLineEdit*>(control))
            line->setText(toQtText(*change.text));
    }
    if (change.background)
        paintBackground(control, controlTable()[change.control].kind, qtColour(*change.background));
    if (change.help) {
        control->setToolTip(toQtText(*change.help));
        control->setAccessibleDescription(toQtText(*change.help));
    }
    if (change.visible)
        control->setVisible(*change.visible);
    if (box && change.selectLine > 0)
        selectLine(box, change.selectLine);
}

// A box that still holds its start text selects it on focus, by Tab or by
// click; again once posted, since a click places the cursor after the focus.
bool Versomat::eventFilter(QObject* watched, QEvent* event)
{
    auto* box = qobject_cast<QPlainTextEdit*>(watched);
    const auto it = std::find(m_controls.begin(), m_controls.end(), box);
    if (event->type() == QEvent::FocusIn && box && it != m_controls.end()) {
        const std::u16string_view startText = controlTable()[static_cast<std::size_t>(it - m_controls.begin())].text;
        const auto selectStartText = [box, startText] {
            if (readText(box) == startText)
                box->selectAll();
        };
        selectStartText();
        QTimer::singleShot(0, box, selectStartText);
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace versomat
