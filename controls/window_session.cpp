#include "controls/window_session.h"

#include <iterator>
#include <utility>
#include <variant>

#include "controls/list_summary.h"
#include "controls/session_record.h"
#include "controls/window_texts.h"
#include "generator/poem_generator.h"
#include "runtime/text_search.h"
#include "settings/probability_sheet.h"
#include "wordlists/word_lists.h"

namespace versomat {
namespace {

std::size_t indexOf(ControlRole role, std::optional<WordListKind> list = std::nullopt)
{
    return controlIndex(controlRow(role, list));
}

ControlChange changeOf(std::size_t control)
{
    ControlChange change;
    change.control = control;
    return change;
}

ControlChange shown(std::size_t control, bool visible)
{
    ControlChange change = changeOf(control);
    change.visible = visible;
    return change;
}

// The control as the table starts it: its own background and help.
ControlChange restored(ControlRole role)
{
    const ControlRow& row = controlRow(role);
    ControlChange change = changeOf(controlIndex(row));
    change.background = row.background;
    change.help = std::u16string(row.help);
    return change;
}

// Hides the sheet and its accept button, the sheet as the table starts it.
void closeSheet(ClickAnswer& answer)
{
    ControlChange sheet = restored(ControlRole::Sheet);
    sheet.refused = false;
    answer.changes.push_back(std::move(sheet));
    answer.changes.push_back(shown(indexOf(ControlRole::SheetAccept), false));
    answer.changes.push_back(shown(indexOf(ControlRole::Sheet), false));
}

// The output box's change in a click's answer.
ControlChange outputChangeOf(const ClickAnswer& answer)
{
    const std::size_t output = indexOf(ControlRole::Output);
    for (const ControlChange& change : answer.changes) {
        if (change.control == output)
            return change;
    }
    return changeOf(output);
}

} // namespace

std::optional<std::size_t> WindowSession::inputOf(std::size_t button)
{
    const std::span<const ControlRow> table = controlTable();
    if (button >= table.size())
        return std::nullopt;
    const ControlRow& row = table[button];
    switch (row.role) {
    case ControlRole::Accept: return indexOf(ControlRole::ListBox, row.list);
    case ControlRole::SheetAccept: return indexOf(ControlRole::Sheet);
    default: return std::nullopt;
    }
}

ClickAnswer WindowSession::click(std::size_t button, std::u16string_view input)
{
    const std::span<const ControlRow> table = controlTable();
    if (button >= table.size())
        return {};
    const ControlRow& row = table[button];
    switch (row.role) {
    case ControlRole::Example: return example(*row.list);
    case ControlRole::Accept: return accept(*row.list, input);
    case ControlRole::Generate: m_poemAsked = true; return poem();
    case ControlRole::RandomStart:
        m_poemAsked = true;
        startRandomly(m_state, m_random);
        return poem();
    case ControlRole::SheetShow: return showSheet();
    case ControlRole::SheetAccept: return acceptSheet(input);
    default: return {};
    }
}

ClickAnswer WindowSession::example(WordListKind list)
{
    ControlChange box = changeOf(indexOf(ControlRole::ListBox, list));
    box.text = fillExample(m_state, list);
    box.undoable = true;
    ClickAnswer answer;
    answer.changes.push_back(std::move(box));
    return answer;
}

ClickAnswer WindowSession::accept(WordListKind list, std::u16string_view text)
{
    const IntakeReport intake = acceptWordList(m_state, list, text);
    m_accepted[static_cast<std::size_t>(list)] = std::make_shared<const std::u16string>(text);
    ListSummary summary = acceptedListSummary(m_state, list, intake);
    const std::size_t mark = indexOf(ControlRole::Mark, list);
    ClickAnswer answer;
    ControlChange accepted = changeOf(mark);
    accepted.text = std::u16string(kAcceptedMark);
    accepted.background = kAcceptedMarkBackground;
    accepted.help = summary.text;
    answer.changes.push_back(std::move(accepted));
    if (summary.needsAttention)
        answer.note = ClickNote{mark, summary.text};
    answer.announcement = std::move(summary.text);
    return answer;
}

ClickAnswer WindowSession::poem()
{
    ensureTables(m_state);
    const PoemStart start{m_accepted, probabilityValuesOf(m_state), m_random.position(), m_state.PoemCounter,
                          !m_state.TitlePrefix.empty()};
    std::u16string text;
    const PoemOutcome outcome = composePoemOrRefusal(m_state, m_random, text);
    if (outcome != PoemOutcome::MissingData)
        m_lastPoem = start;
    const bool cut = outcome == PoemOutcome::Cut;
    if (cut) {
        text += kLineBreak;
        text += kPoemCutMark;
    }
    ClickAnswer answer;
    answer.announcement = poemAnnouncement(text, cut);
    ControlChange output = changeOf(indexOf(ControlRole::Output));
    output.text = std::move(text);
    answer.changes.push_back(std::move(output));
    return answer;
}

ClickAnswer WindowSession::showSheet()
{
    ClickAnswer answer;
    ControlChange sheet = restored(ControlRole::Sheet);
    sheet.text = showProbabilitySheet(m_state);
    sheet.visible = true;
    sheet.refused = false;
    answer.changes.push_back(shown(indexOf(ControlRole::SheetAccept), true));
    answer.changes.push_back(std::move(sheet));
    answer.changes.push_back(restored(ControlRole::SheetShow));
    return answer;
}

ClickAnswer WindowSession::acceptSheet(std::u16string_view text)
{
    ClickAnswer answer;
    const std::size_t sheet = indexOf(ControlRole::Sheet);
    SheetPieces pieces;
    // An unreadable sheet stays open with the user's text: hiding it would
    // throw away the edits while keeping none of them.
    if (const std::optional<SheetRefusal> refusal = acceptProbabilitySheet(m_state, text, &pieces)) {
        SheetHint hint = sheetRefusalHint(*refusal);
        ControlChange refused = changeOf(sheet);
        refused.background = kRefusedSheetBackground;
        refused.help = hint.text;
        refused.refused = true;
        refused.selectLine = hint.line;
        answer.changes.push_back(std::move(refused));
        answer.note = ClickNote{sheet, hint.text};
        answer.announcement = std::move(hint.text);
        return answer;
    }
    closeSheet(answer);
    // The sheet is gone, so its note stands where it was opened from.
    ControlChange show = restored(ControlRole::SheetShow);
    std::u16string note = sheetValueNote(pieces, probabilityValuesOf(m_state));
    if (!note.empty()) {
        show.help = note;
        answer.note = ClickNote{show.control, note};
        answer.announcement = std::move(note);
    }
    answer.changes.push_back(std::move(show));
    return answer;
}

std::optional<PoemOrigin> WindowSession::lastPoemOrigin() const
{
    if (!m_lastPoem)
        return std::nullopt;
    PoemOrigin origin;
    for (std::size_t i = 0; i < kWordLists; ++i)
        origin.lists[i] = *m_lastPoem->lists[i];
    origin.values = m_lastPoem->values;
    origin.random = m_lastPoem->random;
    origin.counter = m_lastPoem->counter;
    origin.randomStart = m_lastPoem->randomStart;
    return origin;
}

std::optional<ListSet> WindowSession::acceptedLists() const
{
    ListSet lists;
    for (std::size_t i = 0; i < kWordLists; ++i) {
        if (!m_accepted[i])
            return std::nullopt;
        lists.lists[i] = *m_accepted[i];
    }
    // Before the tables are filled the state holds no values yet; the first
    // poem will take the start values.
    lists.values = m_state.TablesReady != 0 ? probabilityValuesOf(m_state) : startProbabilityValues();
    return lists;
}

ClickAnswer WindowSession::startWith(const std::array<std::u16string, kWordLists>& lists,
                                     const ProbabilityValues& values)
{
    *this = WindowSession();
    ClickAnswer answer;
    for (const WordListKind list : kAllWordLists) {
        const std::u16string& text = lists[static_cast<std::size_t>(list)];
        ControlChange box = changeOf(indexOf(ControlRole::ListBox, list));
        box.text = text;
        answer.changes.push_back(std::move(box));
        ClickAnswer accepted = accept(list, text);
        std::move(accepted.changes.begin(), accepted.changes.end(), std::back_inserter(answer.changes));
    }
    // What accepting the sheet does on a fresh page: the first poem then
    // finds its tables filled and the values kept.
    ensureTables(m_state);
    applyProbabilityValues(m_state, values);
    return answer;
}

ClickAnswer WindowSession::startFromLists(const ListSet& lists)
{
    ClickAnswer answer = startWith(lists.lists, lists.values);
    ControlChange output = changeOf(indexOf(ControlRole::Output));
    output.text = std::u16string(controlRow(ControlRole::Output).text);
    answer.changes.push_back(std::move(output));
    return answer;
}

ClickAnswer WindowSession::startFrom(const PoemOrigin& origin)
{
    ClickAnswer answer = startWith(origin.lists, origin.values);
    m_state.PoemCounter = origin.counter;
    if (origin.randomStart)
        m_state.TitlePrefix = kRandomStartPrefix;
    m_random.moveTo(origin.random);
    // An open sheet shows the values the session had before; left open, its
    // accept would quietly put them back.
    closeSheet(answer);
    ClickAnswer shown = poem();
    std::move(shown.changes.begin(), shown.changes.end(), std::back_inserter(answer.changes));
    answer.announcement = std::move(shown.announcement);
    return answer;
}

std::string WindowSession::savedSession() const
{
    SessionRecord record;
    for (std::size_t i = 0; i < kWordLists; ++i) {
        if (m_accepted[i])
            record.accepted[i] = *m_accepted[i];
    }
    record.values = probabilityValuesOf(m_state);
    record.random = m_random.position();
    record.counter = m_state.PoemCounter;
    record.randomStart = !m_state.TitlePrefix.empty();
    record.tablesReady = m_state.TablesReady != 0;
    // No list is ever taken back, so once there is a poem no click refuses.
    record.output = m_lastPoem ? OutputShows::Poem : m_poemAsked ? OutputShows::Refusal : OutputShows::StartText;
    record.lastPoem = lastPoemOrigin();
    return sessionRecordOf(record);
}

std::optional<ClickAnswer> WindowSession::restoreSession(std::string_view text)
{
    const std::optional<SessionRecord> record = readSessionRecord(text);
    if (!record)
        return std::nullopt;
    // What the box showed is made again the way it was made, in a session of
    // its own, rather than kept in the record.
    ControlChange output = changeOf(indexOf(ControlRole::Output));
    switch (record->output) {
    case OutputShows::StartText: output.text = std::u16string(controlRow(ControlRole::Output).text); break;
    case OutputShows::Refusal: output = outputChangeOf(WindowSession().click(indexOf(ControlRole::Generate))); break;
    case OutputShows::Poem: output = outputChangeOf(WindowSession().startFrom(*record->lastPoem)); break;
    }

    *this = WindowSession();
    ClickAnswer answer;
    for (const WordListKind list : kAllWordLists) {
        const std::optional<std::u16string>& text = record->accepted[static_cast<std::size_t>(list)];
        if (!text) {
            const ControlRow& row = controlRow(ControlRole::Mark, list);
            ControlChange mark = changeOf(controlIndex(row));
            mark.text = std::u16string(row.text);
            mark.background = row.background;
            mark.help = std::u16string(row.help);
            answer.changes.push_back(std::move(mark));
            continue;
        }
        ControlChange box = changeOf(indexOf(ControlRole::ListBox, list));
        box.text = *text;
        answer.changes.push_back(std::move(box));
        ClickAnswer accepted = accept(list, *text);
        std::move(accepted.changes.begin(), accepted.changes.end(), std::back_inserter(answer.changes));
    }
    if (record->tablesReady)
        ensureTables(m_state);
    applyProbabilityValues(m_state, record->values);
    m_state.PoemCounter = record->counter;
    m_state.TitlePrefix = record->randomStart ? kRandomStartPrefix : u"";
    m_random.moveTo(record->random);
    m_poemAsked = record->output != OutputShows::StartText;
    if (const std::optional<PoemOrigin>& poem = record->lastPoem) {
        PoemStart start{{}, poem->values, poem->random, poem->counter, poem->randomStart};
        for (std::size_t i = 0; i < kWordLists; ++i) {
            const bool asAccepted = m_accepted[i] && *m_accepted[i] == poem->lists[i];
            start.lists[i] = asAccepted ? m_accepted[i] : std::make_shared<const std::u16string>(poem->lists[i]);
        }
        m_lastPoem = std::move(start);
    }
    answer.changes.push_back(std::move(output));
    return answer;
}

} // namespace versomat
