#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/control_table.h"
#include "controls/poem_link.h"
#include "controls/short_link.h"
#include "runtime/random_source.h"
#include "settings/probability_sheet.h"
#include "state/generator_state.h"

namespace versomat {

// What one control shows after a click; only what the click changed is set.
struct ControlChange {
    std::size_t control = 0;            // its row in controlTable()
    std::optional<std::u16string> text; // core text
    bool undoable = false;              // the new text is one edit the user can undo
    std::optional<Rgb> background;      // the text on it takes readableTextOn
    std::optional<std::u16string> help; // tooltip and accessible description
    std::optional<bool> visible;
    std::optional<bool> refused; // holds text that could not be taken
    int selectLine = 0;          // 1-based line of the new or kept text to select; 0 for none
};

// Something the user must not miss, shown at once beside its control.
struct ClickNote {
    std::size_t control = 0;
    std::u16string text;
};

// Everything a click changes in the window, for a front end to render.
struct ClickAnswer {
    std::vector<ControlChange> changes; // in the order to apply them
    std::optional<ClickNote> note;      // a note shown before is hidden when there is none
    std::u16string announcement;        // for screen readers; empty: nothing to say
};

// The window's state and its twelve click handlers, without a toolkit: each
// click is answered with what every control then shows.
class WindowSession {
public:
    // The text box whose text a click on this button hands over, if any.
    static std::optional<std::size_t> inputOf(std::size_t button);

    // A click on the button in that row of controlTable(), given the text of
    // its inputOf() box. A row that is no button answers with no change.
    ClickAnswer click(std::size_t button, std::u16string_view input = {});

    const GeneratorState& state() const { return m_state; }

    // Where the poem shown last came from; none before the first poem.
    std::optional<PoemOrigin> lastPoemOrigin() const;

    // Starts the session afresh from a poem's origin: the lists accepted as
    // they were, the values, the number and prefix, and the random sequence
    // where it stood, then composes that poem again. The answer fills the
    // boxes and marks and shows the poem.
    ClickAnswer startFrom(const PoemOrigin& origin);

    // The four lists as accepted and the values, for a link that hands them
    // out; none while a list is not accepted.
    std::optional<ListSet> acceptedLists() const;

    // Starts the session afresh from handed-out lists: they are accepted and
    // the values taken as on a fresh page, and the random sequence starts as
    // there, so the first poem is a fresh page's. The answer fills the boxes,
    // marks them and shows the output box's start text.
    ClickAnswer startFromLists(const ListSet& lists);

    // The session as plain ASCII, for a page to keep in its tab's storage
    // and bring back after a reload: a restored session's next clicks give
    // what this one's would have.
    std::string savedSession() const;

    // Starts the session afresh from a saved one. The answer fills the
    // accepted lists' boxes, sets every mark and shows in the output box
    // what it showed; none, and nothing changed, for a record that cannot
    // be read.
    std::optional<ClickAnswer> restoreSession(std::string_view record);

private:
    using AcceptedTexts = std::array<std::shared_ptr<const std::u16string>, kWordLists>;
    struct PoemStart {
        AcceptedTexts lists;
        ProbabilityValues values;
        RandomSource::Position random;
        std::int16_t counter = 0;
        bool randomStart = false;
    };

    ClickAnswer startWith(const std::array<std::u16string, kWordLists>& lists, const ProbabilityValues& values);
    ClickAnswer example(WordListKind list);
    ClickAnswer accept(WordListKind list, std::u16string_view text);
    ClickAnswer poem();
    ClickAnswer showSheet();
    ClickAnswer acceptSheet(std::u16string_view sheet);

    GeneratorState m_state;
    RandomSource m_random;
    // Shared, so that remembering them for every poem copies no text.
    AcceptedTexts m_accepted;
    std::optional<PoemStart> m_lastPoem;
    // A poem was asked for: the output box no longer holds its start text.
    bool m_poemAsked = false;
};

} // namespace versomat
