#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QStyleFactory>
#include <QtTest>

#include <memory>

#include "core_text.h"
#include "generator/poem_generator.h"
#include "settings/probability_sheet.h"
#include "versomat.h"
#include "wordlists/word_lists.h"

using namespace versomat;
using namespace Qt::StringLiterals;

namespace {

struct ListControls {
    WordListKind kind;
    const char16_t* example;
    const char16_t* box;
    const char16_t* accept;
    const char16_t* mark;
};

const ListControls kLists[kWordLists] = {
    {WordListKind::Actors, u"BeispieleHandelnde", u"Text1", u"ÜbernehmenH", u"Text1a"},
    {WordListKind::Objects, u"BeispieleBenutztes", u"Text2", u"ÜbernehmenB", u"Text2a"},
    {WordListKind::Verbs, u"BespieleV", u"Text3", u"ÜbernehmenV", u"Text3a"},
    {WordListKind::Adjectives, u"BeispieleA", u"Text4", u"ÜbernehmenA", u"Text4a"},
};

const QString kEmptyBox = u"noch leer\n"_s;
const QColor kRed(255, 0, 0);
const QColor kBrightGreen(0, 255, 0);

QString qs(const char16_t* text)
{
    return QString::fromUtf16(text);
}

void addListRows()
{
    QTest::addColumn<int>("list");
    const char* names[kWordLists] = {"actors", "objects", "verbs", "adjectives"};
    for (int i = 0; i < int(kWordLists); ++i)
        QTest::newRow(names[i]) << i;
}

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setStyle(QStyleFactory::create(u"Fusion"_s)); }

    void init()
    {
        m_window = std::make_unique<Versomat>();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanup() { m_window.reset(); }

    void startState()
    {
        QCOMPARE(m_window->windowTitle(), u"Versomat"_s);
        QCOMPARE(m_window->size(), QSize(746, 757));
        QVERIFY(!m_window->windowIcon().isNull());
        const auto controls = m_window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        QCOMPARE(controls.size(), 27);
        for (const QWidget* control : controls)
            QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));
        for (const ListControls& list : kLists) {
            QCOMPARE(box(list.box)->toPlainText(), kEmptyBox);
            QCOMPARE(mark(list.mark)->text(), u"*"_s);
            QCOMPARE(mark(list.mark)->palette().color(QPalette::Base), kRed);
            QCOMPARE(mark(list.mark)->accessibleDescription(), u"nicht übernommen"_s);
        }
        QCOMPARE(box(u"Text5")->toPlainText(), kEmptyBox);
        QVERIFY(!box(u"statistikwerte")->isVisible());
        QVERIFY(!button(u"WerteÜbernehmen")->isVisible());
        QCOMPARE(m_window->focusWidget(), button(u"BeispieleHandelnde"));
    }

    void controlsStayPutWhenEnlarged()
    {
        m_window->resize(1000, 900);
        QCOMPARE(box(u"Text5")->geometry(), QRect(8, 400, 729, 329));
        QCOMPARE(button(u"W_Werte")->geometry(), QRect(656, 736, 89, 17));
        QCOMPARE(mark(u"Text4a")->geometry(), QRect(680, 344, 57, 25));
    }

    void exampleFillsOnlyItsBox_data() { addListRows(); }
    void exampleFillsOnlyItsBox()
    {
        QFETCH(int, list);
        const ListControls& row = kLists[list];
        box(row.box)->setPlainText(u"getippt"_s);
        click(row.example);
        GeneratorState fresh;
        QCOMPARE(box(row.box)->toPlainText(), toQtText(fillExample(fresh, row.kind)));
        QCOMPARE(mark(row.mark)->text(), u"*"_s);
        for (const ListControls& other : kLists) {
            if (other.box != row.box)
                QCOMPARE(box(other.box)->toPlainText(), kEmptyBox);
        }
    }

    void acceptTurnsMarkGreenForGood_data() { addListRows(); }
    void acceptTurnsMarkGreenForGood()
    {
        QFETCH(int, list);
        const ListControls& row = kLists[list];
        click(row.accept);
        box(row.box)->setPlainText(u"geändert"_s);
        click(row.example);
        for (const ListControls& other : kLists) {
            const bool accepted = other.mark == row.mark;
            QCOMPARE(mark(other.mark)->text(), accepted ? u"OK"_s : u"*"_s);
            QCOMPARE(mark(other.mark)->palette().color(QPalette::Base), accepted ? kBrightGreen : kRed);
            QCOMPARE(mark(other.mark)->accessibleDescription(), accepted ? u"übernommen"_s : u"nicht übernommen"_s);
        }
    }

    void poemWaitsForEveryList_data() { addListRows(); }
    void poemWaitsForEveryList()
    {
        QFETCH(int, list);
        for (const ListControls& other : kLists) {
            if (other.box != kLists[list].box)
                click(other.accept);
        }
        click(u"Gedicht");
        QCOMPARE(box(u"Text5")->toPlainText(), toQtText(kMissingDataMessage));
        click(kLists[list].accept);
        click(u"Gedicht");
        QVERIFY(box(u"Text5")->toPlainText().startsWith(u"Poem-Text 1\n"_s));
    }

    void poemsMatchTheCore()
    {
        GeneratorState state;
        RandomSource random;
        for (const ListControls& list : kLists) {
            click(list.example);
            click(list.accept);
            acceptWordList(state, list.kind, fillExample(state, list.kind));
        }
        for (int poem = 0; poem < 2; ++poem) {
            click(u"Gedicht");
            const std::u16string expected = composePoemOrRefusal(state, random);
            QCOMPARE(box(u"Text5")->toPlainText(), toQtText(expected));
            // Each "\r\n" of the poem starts a new line in the box.
            QCOMPARE(box(u"Text5")->document()->blockCount(), QString::fromStdU16String(expected).count(u"\r\n") + 1);
        }
    }

    void typedLinesReachTheCoreAsCrLf()
    {
        const std::u16string_view lines[kWordLists][2] = {
            {u"der Hund", u"die Katze"}, {u"das Brot", u"die Milch"}, {u"frisst", u"sieht"}, {u" klein", u" groß"}};
        GeneratorState state;
        RandomSource random;
        for (const ListControls& list : kLists) {
            QPlainTextEdit* input = box(list.box);
            input->clear();
            std::u16string coreText;
            for (std::u16string_view line : lines[std::size_t(list.kind)]) {
                QTest::keyClicks(input, toQtText(line));
                QTest::keyClick(input, Qt::Key_Return);
                (coreText += line) += u"\r\n";
            }
            click(list.accept);
            acceptWordList(state, list.kind, coreText);
        }
        click(u"Gedicht");
        QCOMPARE(box(u"Text5")->toPlainText(), toQtText(composePoemOrRefusal(state, random)));
    }

    void randomStartMarksLaterHeadings()
    {
        for (const ListControls& list : kLists) {
            click(list.example);
            click(list.accept);
        }
        click(u"Command2");
        QVERIFY(box(u"Text5")->toPlainText().startsWith(u"Zufalls-Poem-Text 1\n"_s));
        click(u"Gedicht");
        QVERIFY(box(u"Text5")->toPlainText().startsWith(u"Zufalls-Poem-Text 2\n"_s));
    }

    void sheetShowsAndTakesValues()
    {
        GeneratorState state;
        click(u"W_Werte");
        QPlainTextEdit* sheet = box(u"statistikwerte");
        QVERIFY(sheet->isVisible());
        QVERIFY(button(u"WerteÜbernehmen")->isVisible());
        QCOMPARE(sheet->toPlainText(), toQtText(showProbabilitySheet(state)));
        QVERIFY(sheet->isAncestorOf(m_window->childAt(sheet->geometry().center())));

        ProbabilityValues edited = probabilityValuesOf(state);
        edited.w[0] = 0.25;
        edited.w13 = 0.5f;
        sheet->setPlainText(toQtText(writeProbabilitySheet(edited)));
        click(u"WerteÜbernehmen");
        QVERIFY(!sheet->isVisible());
        QVERIFY(!button(u"WerteÜbernehmen")->isVisible());
        click(u"W_Werte");
        QCOMPARE(sheet->toPlainText(), toQtText(writeProbabilitySheet(edited)));
    }

    void unreadableSheetStaysOpenAndChangesNothing()
    {
        click(u"W_Werte");
        QPlainTextEdit* sheet = box(u"statistikwerte");
        const QString shown = sheet->toPlainText();
        sheet->setPlainText(u"w1\n=0.5"_s);
        click(u"WerteÜbernehmen");
        QVERIFY(sheet->isVisible());
        QVERIFY(button(u"WerteÜbernehmen")->isVisible());
        QCOMPARE(sheet->toPlainText(), u"w1\n=0.5"_s);
        click(u"W_Werte");
        QCOMPARE(sheet->toPlainText(), shown);
    }

    void lineBreaksCrossTheBoundary_data()
    {
        QTest::addColumn<QString>("qt");
        QTest::addColumn<QString>("core");
        QTest::addColumn<bool>("showsAsWritten"); // toQtText(core) gives qt back
        QTest::newRow("newline") << u"a\nb"_s << u"a\r\nb"_s << true;
        QTest::newRow("final newline") << u"a\n"_s << u"a\r\n"_s << true;
        QTest::newRow("empty lines") << u"\n\n"_s << u"\r\n\r\n"_s << true;
        QTest::newRow("umlauts and blanks") << u" häßlich "_s << u" häßlich "_s << true;
        QTest::newRow("empty") << QString() << QString() << true;
        QTest::newRow("crlf stays one break") << u"a\r\nb"_s << u"a\r\nb"_s << false;
        QTest::newRow("lone cr") << u"a\rb"_s << u"a\r\nb"_s << false;
        QTest::newRow("cr cr lf") << u"a\r\r\nb"_s << u"a\r\n\r\nb"_s << false;
        QTest::newRow("line separator") << u"a\u2028b"_s << u"a\r\nb"_s << false;
        QTest::newRow("paragraph separator") << u"a\u2029b"_s << u"a\r\nb"_s << false;
    }
    void lineBreaksCrossTheBoundary()
    {
        QFETCH(QString, qt);
        QFETCH(QString, core);
        QFETCH(bool, showsAsWritten);
        QCOMPARE(QString::fromStdU16String(toCoreText(qt)), core);
        if (showsAsWritten)
            QCOMPARE(toQtText(core.toStdU16String()), qt);
    }

    void controlsPaintTheirOwnColour_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("header") << u"Handelnde"_s << QColor(255, 255, 0);
        QTest::newRow("example") << u"BeispieleHandelnde"_s << QColor(0, 192, 0);
        QTest::newRow("accept") << u"ÜbernehmenH"_s << QColor(255, 0, 255);
        QTest::newRow("mark") << u"Text1a"_s << kRed;
        QTest::newRow("Gedicht") << u"Gedicht"_s << QColor(128, 128, 255);
        QTest::newRow("Command2") << u"Command2"_s << QColor(192, 192, 255);
        QTest::newRow("W_Werte") << u"W_Werte"_s << QColor(0, 192, 192);
    }
    void controlsPaintTheirOwnColour()
    {
        QFETCH(QString, name);
        QFETCH(QColor, colour);
        QWidget* control = m_window->findChild<QWidget*>(name);
        QVERIFY(control);
        // Inside the border, left of the centred caption.
        const QImage image = control->grab().toImage();
        const QColor painted = image.pixelColor(3, image.height() / 2);
        constexpr int kShade = 8;
        QVERIFY2(std::abs(painted.red() - colour.red()) <= kShade &&
                     std::abs(painted.green() - colour.green()) <= kShade &&
                     std::abs(painted.blue() - colour.blue()) <= kShade,
                 qPrintable(painted.name()));
    }

    void tabFollowsTheTable_data()
    {
        QTest::addColumn<bool>("sheetShown");
        QTest::addColumn<QStringList>("stops");
        const QStringList before = {u"BeispieleHandelnde"_s,
                                    u"Text1"_s,
                                    u"ÜbernehmenH"_s,
                                    u"BeispieleBenutztes"_s,
                                    u"Text2"_s,
                                    u"ÜbernehmenB"_s,
                                    u"BespieleV"_s,
                                    u"Text3"_s,
                                    u"ÜbernehmenV"_s,
                                    u"BeispieleA"_s,
                                    u"Text4"_s,
                                    u"ÜbernehmenA"_s,
                                    u"Gedicht"_s,
                                    u"Text5"_s,
                                    u"Text1a"_s,
                                    u"Text2a"_s,
                                    u"Text3a"_s,
                                    u"Text4a"_s,
                                    u"Command2"_s};
        const QStringList after = {u"W_Werte"_s, u"BeispieleHandelnde"_s};
        QTest::newRow("sheet hidden") << false << before + after;
        QTest::newRow("sheet shown") << true << before + QStringList{u"statistikwerte"_s, u"WerteÜbernehmen"_s} + after;
    }
    void tabFollowsTheTable()
    {
        QFETCH(bool, sheetShown);
        QFETCH(QStringList, stops);
        if (sheetShown) {
            click(u"W_Werte");
            button(u"BeispieleHandelnde")->setFocus();
        }
        QStringList visited{m_window->focusWidget()->objectName()};
        while (visited.size() < stops.size()) {
            QTest::keyClick(m_window->focusWidget(), Qt::Key_Tab);
            visited << m_window->focusWidget()->objectName();
        }
        QCOMPARE(visited, stops);
    }

    void keysPressTheFocusedButton_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("space") << int(Qt::Key_Space);
        QTest::newRow("return") << int(Qt::Key_Return);
        QTest::newRow("enter") << int(Qt::Key_Enter);
    }
    void keysPressTheFocusedButton()
    {
        QFETCH(int, key);
        QTest::keyClick(m_window->focusWidget(), Qt::Key(key));
        QVERIFY(box(u"Text1")->toPlainText() != kEmptyBox);
    }

    void startsOnlyWhereThereIsADisplay()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE"})
            environment.remove(QString::fromLatin1(name));
        QProcess program;
        // A Wayland display named after a compositor that has gone made Qt
        // abort with a core dump instead of the message.
        const QTemporaryDir runtimeDir;
        QProcessEnvironment staleWayland = environment;
        staleWayland.insert(u"XDG_RUNTIME_DIR"_s, runtimeDir.path());
        staleWayland.insert(u"WAYLAND_DISPLAY"_s, u"wayland-gone"_s);
        for (const QProcessEnvironment& withoutDisplay : {environment, staleWayland}) {
            program.setProcessEnvironment(withoutDisplay);
            program.start(QStringLiteral(VERSOMAT_BINARY), {});
            QVERIFY(program.waitForFinished(10000));
            QCOMPARE(program.exitStatus(), QProcess::NormalExit);
            QCOMPARE(program.exitCode(), 1);
            const QString message = QString::fromLocal8Bit(program.readAllStandardError());
            QVERIFY2(message.startsWith(u"versomat: no display found") && message.count(u'\n') == 1,
                     qPrintable(message));
        }

        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(VERSOMAT_BINARY), {});
        QVERIFY(program.waitForStarted());
        QVERIFY2(!program.waitForFinished(1500), program.readAllStandardError().constData());
        program.kill();
        program.waitForFinished();
    }

private:
    template <typename Control>
    Control* find(const char16_t* name) const
    {
        auto* control = m_window->findChild<Control*>(qs(name));
        if (!control)
            qFatal("no control named %s", qPrintable(qs(name)));
        return control;
    }
    QPlainTextEdit* box(const char16_t* name) const { return find<QPlainTextEdit>(name); }
    QLineEdit* mark(const char16_t* name) const { return find<QLineEdit>(name); }
    QPushButton* button(const char16_t* name) const { return find<QPushButton>(name); }
    void click(const char16_t* name) const { QTest::mouseClick(button(name), Qt::LeftButton); }

    std::unique_ptr<Versomat> m_window;
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
