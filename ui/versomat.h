#pragma once

#include <QWidget>

#include <array>
#include <string_view>

#include "runtime/random_source.h"
#include "state/generator_state.h"
#include "wordlists/word_lists.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;

namespace versomat {

struct ControlRow;
struct SheetHint;

// The program's only window, built from the control table. The four example
// buttons call fillExample and the four accept buttons acceptWordList, one
// routine each, driven by a row per word list. Gedicht calls
// composePoemOrRefusal; Command2 calls startRandomly first. W_Werte shows the
// probability sheet from showProbabilitySheet and WerteÜbernehmen hands it
// back to acceptProbabilitySheet. Every text crosses between box and core
// through toQtText/toCoreText.
class Versomat : public QWidget {
    Q_OBJECT

public:
    // Builds the window with all its controls, the sheet hidden and the focus
    // on the first control that takes it. The generator state starts fresh.
    // On a screen smaller than the window it opens no larger than the screen
    // and its content scrolls.
    explicit Versomat(QWidget* parent = nullptr);

private:
    // The twelve click handlers, reached only through their buttons.
    void BeispieleHandelnde_Click();
    void BeispieleBenutztes_Click();
    void BespieleV_Click();
    void BeispieleA_Click();
    void ÜbernehmenH_Click();
    void ÜbernehmenB_Click();
    void ÜbernehmenV_Click();
    void ÜbernehmenA_Click();
    void Gedicht_Click();
    void Command2_Click();
    void W_Werte_Click();
    void WerteÜbernehmen_Click();

    struct ListControls {
        QPlainTextEdit* box = nullptr;
        QLineEdit* mark = nullptr;
    };
    using Handler = void (Versomat::*)();

    static Handler handlerFor(const ControlRow& row);
    void buildControls(QWidget* canvas);
    void keep(const ControlRow& row, QWidget* control);
    void fitIntoScreen();
    void showExample(WordListKind list);
    void acceptList(WordListKind list);
    void markSheetRefused(std::u16string_view sheet, const SheetHint& hint);
    void clearSheetMark();

    GeneratorState m_state;
    RandomSource m_random;
    std::array<ListControls, kWordLists> m_lists{};
    QScrollArea* m_scrollArea = nullptr;
    QPlainTextEdit* m_text5 = nullptr;
    QPlainTextEdit* m_sheet = nullptr;
    QPushButton* m_sheetAccept = nullptr;
    QWidget* m_firstFocus = nullptr;
};

} // namespace versomat
