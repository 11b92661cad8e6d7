#include "controls/list_summary.h"

#include <string_view>

#include "controls/window_texts.h"
#include "runtime/text_search.h"

namespace versomat {
namespace {

// Why a line ends a verb or adjective list.
constexpr std::u16string_view kTooShort = u"weniger als drei Zeichen";

// The first word that puts a noun into each class, as users write it.
constexpr std::u16string_view kClassWords[kNounClasses] = {u"der", u"die", u"das", u"viele"};

std::u16string countText(int count)
{
    std::u16string text;
    for (const char c : std::to_string(count))
        text += static_cast<char16_t>(c);
    return text;
}

// "„das“", "„das“ oder „viele“", "„der“, „das“ oder „viele“".
std::u16string alternatives(const std::u16string_view* words, std::size_t count)
{
    std::u16string text;
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0)
            text += i + 1 == count ? u" oder " : u", ";
        text += u"„";
        text += words[i];
        text += u"“";
    }
    return text;
}

ListSummary nounSummary(const NounLasts& lasts, std::u16string_view example)
{
    std::u16string parts;
    std::u16string_view missing[kNounClasses];
    std::size_t missingCount = 0;
    for (std::size_t k = 0; k < kNounClasses; ++k) {
        if (lasts[k] < 0) {
            missing[missingCount++] = kClassWords[k];
            continue;
        }
        if (!parts.empty())
            parts += u", ";
        parts += countText(lasts[k] + 1);
        parts += u" mit ";
        parts += kClassWords[k];
    }
    if (parts.empty()) {
        std::u16string nothing = u"Nichts übernommen: keine Zeile hatte die Form „";
        nothing += example;
        nothing += u"“ – das Gedicht bleibt hier leer.";
        return {std::move(nothing), true};
    }
    std::u16string text = u"Übernommen: " + parts;
    if (missingCount == 0)
        return {std::move(text), false};
    text += u"\r\nKeine Zeile beginnt mit ";
    text += alternatives(missing, missingCount);
    text += u": wo ein Gedicht ein solches Nomen wählt, bleibt das Wort leer.";
    return {std::move(text), true};
}

ListSummary plainSummary(std::int16_t last)
{
    const int count = last + 1;
    if (count <= 0)
        return {u"Nichts übernommen: schon die erste Zeile hatte " + std::u16string(kTooShort) +
                    u" – das Gedicht bleibt hier leer.",
                true};
    return {u"Übernommen: " + countText(count) + (count == 1 ? u" Eintrag" : u" Einträge"), false};
}

std::u16string linesText(int count)
{
    return countText(count) + (count == 1 ? u" Zeile" : u" Zeilen");
}

std::u16string notReadText(int count)
{
    return linesText(count) + u" danach nicht gelesen.";
}

// One line for each kind of line the intake passed over, each after a line
// break.
std::u16string passedOverText(const IntakeReport& intake, std::size_t limit)
{
    std::u16string text;
    if (intake.skippedLines > 0) {
        text += kLineBreak;
        text += linesText(intake.skippedLines) + u" übergangen, da ihr erstes Wort keine Klasse nennt (" +
                alternatives(kClassWords, kNounClasses) + u"): " + (intake.skippedLines > 1 ? u"zuerst " : u"") +
                u"Zeile " + countText(intake.firstSkippedLine) + u" " + quoted(intake.firstSkippedText) + u".";
    }
    if (intake.endingLine > 0) {
        text += kLineBreak;
        text += u"Zeile " + countText(intake.endingLine) + u" hat " + std::u16string(kTooShort) +
                u" und beendet die Liste: " + notReadText(intake.linesAfterEnding);
    }
    if (intake.linesPastLimit > 0) {
        text += kLineBreak;
        text += u"Nur die ersten " + countText(static_cast<int>(limit)) + u" Zeilen zählen: " +
                notReadText(intake.linesPastLimit);
    }
    return text;
}

ListSummary storedSummary(const GeneratorState& state, WordListKind list)
{
    switch (list) {
    case WordListKind::Actors: return nounSummary(state.ActorCounts, u"der Mann");
    case WordListKind::Objects: return nounSummary(state.ObjectCounts, u"das Obst");
    case WordListKind::Verbs: return plainSummary(state.VerbLast);
    case WordListKind::Adjectives: return plainSummary(state.AdjectiveLast);
    }
    return {};
}

} // namespace

ListSummary acceptedListSummary(const GeneratorState& state, WordListKind list, const IntakeReport& intake)
{
    if (state.ReadyFlags[static_cast<std::size_t>(list)] == 0)
        return {u"Noch nicht übernommen.", false};
    ListSummary summary = storedSummary(state, list);
    const bool nouns = list == WordListKind::Actors || list == WordListKind::Objects;
    const std::u16string passedOver = passedOverText(intake, nouns ? kNounSlots : kPlainSlots);
    summary.text += passedOver;
    summary.needsAttention = summary.needsAttention || !passedOver.empty();
    return summary;
}

} // namespace versomat
