#pragma once

#include <QWidget>

#include <optional>
#include <vector>

#include "controls/window_session.h"
#include "wordlists/word_lists.h"

class QScrollArea;

namespace versomat {

// The note Qt shows as a tooltip, while one is shown.
QWidget* shownToolTip();

// The program's only window, built from the control table. Each of the
// twelve handlers hands its click to the core's WindowSession, with the text
// of the box the click reads, and renders the answer: texts, colours, help,
// visibility, a line to select and a note shown at once. Every text crosses
// between box and core through toQtText/toCoreText.
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

    using Handler = void (Versomat::*)();

    static Handler handlerFor(const ControlRow& row);
    void buildControls(QWidget* canvas);
    void fitIntoScreen();
    void press(ControlRole role, std::optional<WordListKind> list = std::nullopt);
    void render(const ClickAnswer& answer);
    void keepNoteClear(const QWidget* control) const;
    void apply(const ControlChange& change);
    bool eventFilter(QObject* watched, QEvent* event) override;

    WindowSession m_session;
    std::vector<QWidget*> m_controls; // in table order
    QScrollArea* m_scrollArea = nullptr;
    QWidget* m_firstFocus = nullptr;
};

} // namespace versomat
