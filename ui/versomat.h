#pragma once

#include <QWidget>

#include <array>

#include "generator/poem_generator.h"
#include "runtime/random_source.h"
#include "state/generator_state.h"
#include "wordlists/word_lists.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace versomat {

// The program's only window. The four example buttons call fillExample and the
// four accept buttons acceptWordList, one routine each, driven by a row per
// word list. Gedicht calls composePoemOrRefusal; Command2 calls startRandomly
// first. W_Werte shows the probability sheet from showProbabilitySheet and
// WerteÜbernehmen hands it back to acceptProbabilitySheet. Every text crosses
// between box and core through toQtText/toCoreText.
class Versomat : public QWidget {
    Q_OBJECT

public:
    // Builds the window with all its controls, the sheet hidden and the focus
    // on the actors' example button. The generator state starts fresh.
    explicit Versomat(QWidget* parent = nullptr);

    // Each fills its list box with the built-in example; nothing is accepted.
    void BeispieleHandelnde_Click();
    void BeispieleBenutztes_Click();
    void BespieleV_Click();
    void BeispieleA_Click();

    // Each takes its list box in as the list and turns its mark to "OK" on
    // bright green, which it keeps for the rest of the run.
    void ÜbernehmenH_Click();
    void ÜbernehmenB_Click();
    void ÜbernehmenV_Click();
    void ÜbernehmenA_Click();

    // Replaces Text5 with the next poem, or with the missing-data message
    // while a list has not been accepted.
    void Gedicht_Click();
    // As Gedicht_Click, after reseeding from the clock; headings from now on
    // start with "Zufalls-".
    void Command2_Click();

    // Shows the sheet and fills it with the current values, dropping edits
    // that were not accepted.
    void W_Werte_Click();
    // Takes the sheet's values and hides it. A sheet that cannot be read
    // changes no value and stays open for mending.
    void WerteÜbernehmen_Click();

private:
    struct ListRow {
        WordListKind kind;
        QPushButton* example;
        QPlainTextEdit* box;
        QPushButton* accept;
        QLineEdit* mark;
    };

    void buildControls();
    void wireButtons();
    template <typename Control>
    Control* control(QStringView objectName) const;
    const ListRow& listRow(WordListKind kind) const;
    void showExample(const ListRow& row);
    void acceptList(const ListRow& row);

    GeneratorState m_state;
    RandomSource m_random;
    std::array<ListRow, kWordLists> m_listRows{};
    QPlainTextEdit* m_text5 = nullptr;
    QPlainTextEdit* m_sheet = nullptr;
    QPushButton* m_sheetAccept = nullptr;
};

} // namespace versomat
