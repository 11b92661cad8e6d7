// A long random session against the window: thousands of clicks, pastes and
// sheet edits, each followed by checks of what a person would see. A shadow
// session of the core takes every click with the text the window hands
// over, so each control can be compared with what the core answered.
//
//   VERSOMAT_SESSION_SEED   the session's seed (default 1, so every run is the
//                           same); "fresh" picks one from the clock. The seed is
//                           printed at start, so a failing session can be replayed.
//   VERSOMAT_SESSION_STEPS  number of actions (default 20000)
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QtTest>

#include <array>
#include <chrono>
#include <deque>
#include <memory>
#include <random>
#include <string>

#include "control_look.h"
#include "controls/control_table.h"
#include "controls/window_session.h"
#include "core_text.h"
#include "generator/poem_generator.h"
#include "versomat.h"

using namespace versomat;
using namespace Qt::StringLiterals;

namespace {

constexpr int kDefaultSteps = 20000;
constexpr int kMegaPastes = 2;
constexpr int kMegaPasteLines = 200'000; // about 3 MB of text
constexpr int kStepsPerWindowMin = 300;
constexpr int kStepsPerWindowMax = 900;
constexpr std::size_t kActionsRemembered = 12;

enum class Action {
    Example,
    Accept,
    Poem,
    RandomStart,
    ShowSheet,
    AcceptSheet,
    EditSheet,
    PasteList,
    TypeList,
    TypeOutput,
    TypeMark
};

struct WeightedAction {
    Action action;
    int perThousand;
};

// Poems are compared in full only until the window's first random start,
// so that button is pressed rarely.
constexpr WeightedAction kActionWeights[] = {
    {Action::Example, 110},  {Action::Accept, 150},     {Action::Poem, 170},      {Action::RandomStart, 1},
    {Action::ShowSheet, 49}, {Action::AcceptSheet, 80}, {Action::EditSheet, 140}, {Action::PasteList, 180},
    {Action::TypeList, 60},  {Action::TypeOutput, 30},  {Action::TypeMark, 30},
};
constexpr int kWeightTotal = [] {
    int total = 0;
    for (const WeightedAction& weighted : kActionWeights)
        total += weighted.perThousand;
    return total;
}();

struct ListNames {
    WordListKind kind;
    QString example;
    QString box;
    QString accept;
    QString mark;
};

QString nameOf(ControlRole role, std::optional<WordListKind> list = std::nullopt)
{
    return toQtText(controlRow(role, list).objectName);
}

ListNames namesOf(WordListKind list)
{
    return {list, nameOf(ControlRole::Example, list), nameOf(ControlRole::ListBox, list),
            nameOf(ControlRole::Accept, list), nameOf(ControlRole::Mark, list)};
}

const ListNames kLists[kWordLists] = {namesOf(WordListKind::Actors), namesOf(WordListKind::Objects),
                                      namesOf(WordListKind::Verbs), namesOf(WordListKind::Adjectives)};
const QString kText5 = nameOf(ControlRole::Output);
const QString kSheet = nameOf(ControlRole::Sheet);
const QString kSheetAccept = nameOf(ControlRole::SheetAccept);
const QString kSheetShow = nameOf(ControlRole::SheetShow);
const QString kGenerate = nameOf(ControlRole::Generate);
const QString kRandomStart = nameOf(ControlRole::RandomStart);

const QString kSeparatorChars[] = {u"\n"_s, u"\r"_s, u"\r\n"_s, QString(QChar(0x2028)), QString(QChar(0x2029))};
const QString kFirstWords[] = {u"der"_s, u"Die"_s, u"DAS"_s, u"viele"_s, u"dem"_s, u"ein"_s, u"d"_s, u""_s, u"x"_s};
const QString kWords[] = {u"Mann"_s, u"Bäume"_s, u"häßlich"_s, u"liebt"_s, u" alt"_s, u"Früchte"_s,
                          u"ab"_s,   u"küsst"_s, u"  "_s,      u"\t"_s,    u"="_s,    u"Straße"_s};
const QString kOddValues[] = {u"-1e308"_s, u"1e308"_s, u"1e400"_s, u"-1e-400"_s, u"-0"_s,   u"0,5"_s,    u"2"_s,
                              u"-1"_s,     u"abc"_s,   u""_s,      u" 0.5"_s,    u"1e39"_s, u"5e-324"_s, u".5"_s};

// What a text box holds after setPlainText: it keeps line breaks as "\n" and
// turns some characters (no-break spaces) into others, so texts are compared
// in that form.
QString asShown(const QString& text)
{
    QTextDocument document;
    document.setPlainText(text);
    return document.toPlainText();
}

QString coreAsShown(std::u16string_view coreText)
{
    return asShown(toQtText(coreText));
}

// The first line of a poem, without its line break.
QString headingOf(const QString& shown)
{
    return shown.left(shown.indexOf(u'\n'));
}

// Types like a keyboard: QTest maps only ASCII to keys, other characters
// arrive as key events that carry just their text, as an input method sends them.
void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7f)
            QTest::keyClick(widget, static_cast<char>(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

std::uint64_t seedFromEnvironment()
{
    constexpr std::uint64_t kDefaultSeed = 1;
    const QString asked = qEnvironmentVariable("VERSOMAT_SESSION_SEED");
    if (asked == u"fresh"_s)
        return static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    bool ok = false;
    const std::uint64_t seed = asked.toULongLong(&ok);
    return ok ? seed : kDefaultSeed;
}

int stepsFromEnvironment()
{
    bool ok = false;
    const int steps = qEnvironmentVariableIntValue("VERSOMAT_SESSION_STEPS", &ok);
    return ok && steps > 0 ? steps : kDefaultSteps;
}

} // namespace

class SessionTest : public QObject {
    Q_OBJECT

private slots:
    void randomSession();

private:
    // One window and the shadow that follows it.
    void openWindow();
    void step(int number);
    void checkAfterStep();

    // Clicks the button in the window and in the shadow, and checks what
    // the core's answer changed.
    void press(ControlRole role, std::optional<WordListKind> list = std::nullopt);
    void pasteIntoList(const ListNames& list, const QString& text);
    void typeIntoList(const ListNames& list);
    void editSheet();
    void scribbleOnOutput();
    void scribbleOnMark(const ListNames& list);
    void pasteMegabytes();

    QString randomListText();
    QString randomSheetText();
    QString randomLine();
    QString randomValueText();

    template <typename T>
    T* find(const QString& name) const
    {
        return m_window->findChild<T*>(name);
    }
    void click(const QString& button);
    int chance(int outOf) { return std::uniform_int_distribution<int>(0, outOf - 1)(m_rng); }
    template <typename T, std::size_t N>
    const T& pick(const T (&items)[N])
    {
        return items[chance(int(N))];
    }
    void remember(const QString& action);

    std::mt19937_64 m_rng;
    std::unique_ptr<Versomat> m_window;
    std::unique_ptr<WindowSession> m_shadow;
    // After a random start the window's sequence follows the clock, so
    // poems can only be checked by their heading and shape.
    bool m_randomStarted = false;
    bool m_sheetShown = false;
    // What Text5 must show, until the session itself types into it.
    QString m_expectedOutput;
    bool m_outputEdited = false;
    std::deque<QString> m_recentActions;
    int m_megaPastesLeft = kMegaPastes;
    int m_nextMegaPaste = 0;
    int m_windowEndsAt = 0;
    int m_poems = 0;
    int m_poemsCompared = 0;
    int m_unreadableSheets = 0;
    int m_windows = 0;
};

void SessionTest::randomSession()
{
    const std::uint64_t seed = seedFromEnvironment();
    const int steps = stepsFromEnvironment();
    qInfo("session seed %llu, %d actions (replay with VERSOMAT_SESSION_SEED=%llu)",
          static_cast<unsigned long long>(seed), steps, static_cast<unsigned long long>(seed));
    m_rng.seed(seed);
    m_nextMegaPaste = steps / 4 + chance(steps / 4 + 1);

    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < steps; ++i) {
        if (!m_window || i >= m_windowEndsAt) {
            openWindow();
            m_windowEndsAt = i + kStepsPerWindowMin + chance(kStepsPerWindowMax - kStepsPerWindowMin);
        }
        step(i);
        if (!QTest::currentTestFailed())
            checkAfterStep();
        if (QTest::currentTestFailed()) {
            qWarning("failed at action %d of session seed %llu; the last actions were:", i,
                     static_cast<unsigned long long>(seed));
            for (const QString& action : m_recentActions)
                qWarning("  %s", qPrintable(action));
            return;
        }
    }
    qInfo("%d actions in %lld ms: %d windows, %d poems (%d compared in full), %d unreadable sheets, "
          "%d megabyte pastes",
          steps, static_cast<long long>(timer.elapsed()), m_windows, m_poems, m_poemsCompared, m_unreadableSheets,
          kMegaPastes - m_megaPastesLeft);
}

void SessionTest::openWindow()
{
    m_window = std::make_unique<Versomat>();
    m_window->show();
    m_shadow = std::make_unique<WindowSession>();
    m_randomStarted = false;
    m_sheetShown = false;
    m_expectedOutput = asShown(u"noch leer\n"_s);
    m_outputEdited = false;
    ++m_windows;
    remember(u"new window"_s);
}

void SessionTest::step(int number)
{
    if (m_megaPastesLeft > 0 && number >= m_nextMegaPaste) {
        --m_megaPastesLeft;
        m_nextMegaPaste = number + 1 + chance(1000);
        pasteMegabytes();
        return;
    }
    const ListNames& list = pick(kLists);
    int roll = chance(kWeightTotal);
    Action action = kActionWeights[0].action;
    for (const WeightedAction& weighted : kActionWeights) {
        action = weighted.action;
        if ((roll -= weighted.perThousand) < 0)
            break;
    }
    switch (action) {
    case Action::Example: press(ControlRole::Example, list.kind); break;
    case Action::Accept: press(ControlRole::Accept, list.kind); break;
    case Action::Poem: press(ControlRole::Generate); break;
    case Action::RandomStart: press(ControlRole::RandomStart); break;
    case Action::ShowSheet: press(ControlRole::SheetShow); break;
    // A person can reach the sheet only while it is shown.
    case Action::AcceptSheet: press(m_sheetShown ? ControlRole::SheetAccept : ControlRole::SheetShow); break;
    case Action::EditSheet: m_sheetShown ? editSheet() : press(ControlRole::Generate); break;
    case Action::PasteList: pasteIntoList(list, randomListText()); break;
    case Action::TypeList: typeIntoList(list); break;
    case Action::TypeOutput: scribbleOnOutput(); break;
    case Action::TypeMark: scribbleOnMark(list); break;
    }
}

void SessionTest::remember(const QString& action)
{
    m_recentActions.push_back(action);
    if (m_recentActions.size() > kActionsRemembered)
        m_recentActions.pop_front();
}

void SessionTest::click(const QString& button)
{
    auto* control = find<QPushButton>(button);
    QVERIFY2(control, qPrintable(button));
    QVERIFY2(control->isVisible(), qPrintable(button + u" is not visible"_s));
    QTest::mouseClick(control, Qt::LeftButton);
}

void SessionTest::press(ControlRole role, std::optional<WordListKind> list)
{
    const std::size_t button = controlIndex(controlRow(role, list));
    std::u16string input;
    if (const std::optional<std::size_t> box = WindowSession::inputOf(button))
        input = readText(find<QPlainTextEdit>(toQtText(controlTable()[*box].objectName)));
    const QString name = toQtText(controlTable()[button].objectName);
    remember(u"click %1 with %2 characters handed over"_s.arg(name).arg(input.size()));
    m_randomStarted |= role == ControlRole::RandomStart;
    click(name);
    const ClickAnswer answer = m_shadow->click(button, input);
    for (const ControlChange& change : answer.changes) {
        const ControlRow& row = controlTable()[change.control];
        QWidget* control = find<QWidget>(toQtText(row.objectName));
        if (change.visible) {
            QCOMPARE(control->isVisible(), *change.visible);
            if (row.role == ControlRole::Sheet)
                m_sheetShown = *change.visible;
        }
        if (change.background && row.kind == ControlKind::TextBox)
            QCOMPARE(control->palette().color(QPalette::Base), qtColour(*change.background));
        if (!change.text)
            continue;
        const QString expected = coreAsShown(*change.text);
        if (auto* line = qobject_cast<QLineEdit*>(control)) {
            QCOMPARE(line->text(), expected);
            continue;
        }
        const QString shown = qobject_cast<QPlainTextEdit*>(control)->toPlainText();
        if (row.role != ControlRole::Output) {
            QCOMPARE(shown, expected);
            continue;
        }
        m_expectedOutput = shown;
        m_outputEdited = false;
        const bool refused = answer.changes.size() == 1 && *change.text == kMissingDataMessage;
        if (!m_randomStarted || refused) {
            QCOMPARE(shown, expected);
            m_poemsCompared += !refused;
        } else {
            // The random start's draws are unknown here; the heading still
            // carries the number and the prefix.
            QCOMPARE(headingOf(shown), headingOf(expected));
        }
        m_poems += !refused;
    }
    m_unreadableSheets += role == ControlRole::SheetAccept && m_sheetShown;
}

void SessionTest::pasteIntoList(const ListNames& list, const QString& text)
{
    remember(u"paste %1 characters into "_s.arg(text.size()) + list.box);
    find<QPlainTextEdit>(list.box)->setPlainText(text);
}

void SessionTest::typeIntoList(const ListNames& list)
{
    auto* box = find<QPlainTextEdit>(list.box);
    const QString typed = randomLine();
    remember(u"type %1 characters and Enter into "_s.arg(typed.size()) + list.box);
    box->moveCursor(chance(2) ? QTextCursor::End : QTextCursor::Start);
    typeText(box, typed);
    QTest::keyClick(box, Qt::Key_Return);
}

void SessionTest::editSheet()
{
    const QString text = randomSheetText();
    remember(u"put a sheet of %1 characters into statistikwerte"_s.arg(text.size()));
    find<QPlainTextEdit>(kSheet)->setPlainText(text);
}

void SessionTest::scribbleOnOutput()
{
    remember(u"type into "_s + kText5);
    typeText(find<QPlainTextEdit>(kText5), randomLine());
    m_outputEdited = true;
}

void SessionTest::scribbleOnMark(const ListNames& list)
{
    remember(u"type into "_s + list.mark);
    typeText(find<QLineEdit>(list.mark), u"x*"_s);
}

void SessionTest::pasteMegabytes()
{
    const ListNames& list = pick(kLists);
    QString text;
    text.reserve(kMegaPasteLines * 16);
    for (int i = 0; i < kMegaPasteLines; ++i)
        text += pick(kFirstWords) + u' ' + pick(kWords) + QString::number(i) + u'\n';
    pasteIntoList(list, text);
    press(ControlRole::Accept, list.kind);
}

QString SessionTest::randomLine()
{
    QString line;
    if (chance(3) == 0) {
        line = pick(kFirstWords) + u' ' + pick(kWords);
    } else {
        const int words = chance(4);
        for (int i = 0; i < words; ++i)
            line += pick(kWords);
    }
    if (chance(10) == 0)
        line += QChar(static_cast<char16_t>(0xD800 + chance(0x800))); // a lone surrogate
    if (chance(10) == 0)
        line += u"\U0001F600"_s;
    return line;
}

QString SessionTest::randomListText()
{
    switch (chance(12)) {
    case 0: return {};
    case 1: return QString(1 + chance(30), u'\n');
    case 2: return QString(1 + chance(30), u'\r');
    case 3: return QString(1 + chance(30), u' ');
    case 4: {
        QString surrogates;
        for (int i = 0; i < 1 + chance(40); ++i)
            surrogates += QChar(static_cast<char16_t>(0xD800 + chance(0x800)));
        return surrogates;
    }
    case 5: return QString(1 + chance(2000), pick(kWords).at(0)); // one long line
    case 6: {
        QString many;
        for (int i = 0; i < 40 + chance(40); ++i)
            many += pick(kFirstWords) + u' ' + pick(kWords) + QString::number(i) + pick(kSeparatorChars);
        return many;
    }
    default: {
        QString text;
        for (int i = 0; i < chance(15); ++i)
            text += randomLine() + pick(kSeparatorChars);
        if (chance(2))
            text += randomLine();
        return text;
    }
    }
}

QString SessionTest::randomValueText()
{
    switch (chance(4)) {
    case 0: return pick(kOddValues);
    case 1: return QString::number(std::uniform_real_distribution<double>(-0.5, 1.5)(m_rng), 'g', 17);
    case 2: return QString::number(std::uniform_real_distribution<double>(-1e308, 1e308)(m_rng), 'g', 17);
    default: return QString::number(std::uniform_real_distribution<double>(0, 1)(m_rng), 'g', 3);
    }
}

QString SessionTest::randomSheetText()
{
    QStringList lines = find<QPlainTextEdit>(kSheet)->toPlainText().split(u'\n');
    if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast();
    const int edits = 1 + chance(3);
    for (int e = 0; e < edits && !lines.isEmpty(); ++e) {
        const int at = chance(int(lines.size()));
        switch (chance(10)) {
        case 0: lines.removeAt(at); break; // a value line lost
        case 1: lines.insert(at, chance(2) ? QString() : u"no value here"_s); break;
        case 2: lines[at].remove(u'='); break;     // its "=" lost
        case 3: lines.insert(0, QString()); break; // unreadable: break first
        case 4: lines.swapItemsAt(at, chance(int(lines.size()))); break;
        case 5: lines[at] += u"=="_s + randomValueText(); break;
        case 6: return QString(1 + chance(5000), u'=');
        case 7: return randomListText();
        default: lines[at] = lines[at].section(u'=', 0, 0) + u'=' + randomValueText(); break;
        }
    }
    QString sheet = lines.join(u'\n');
    if (chance(3))
        sheet += u'\n';
    return sheet;
}

// Typing into a mark or the poem box changes nothing else.
void SessionTest::checkAfterStep()
{
    const bool sheetVisible = find<QPlainTextEdit>(kSheet)->isVisible();
    QCOMPARE(find<QPushButton>(kSheetAccept)->isVisible(), sheetVisible);
    QCOMPARE(sheetVisible, m_sheetShown);
    if (!m_outputEdited)
        QCOMPARE(find<QPlainTextEdit>(kText5)->toPlainText(), m_expectedOutput);
}

QTEST_MAIN(SessionTest)
#include "session_test.moc"
