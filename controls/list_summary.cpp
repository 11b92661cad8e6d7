#include "controls/list_summary.h"

#include <string_view>

namespace versomat {
namespace {

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
        return {u"Nichts übernommen: schon die erste Zeile hatte weniger als drei Zeichen – das Gedicht bleibt "
                u"hier leer.",
                true};
    return {u"Übernommen: " + countText(count) + (count == 1 ? u" Eintrag" : u" Einträge"), false};
}

} // namespace

ListSummary acceptedListSummary(const GeneratorState& state, WordListKind list)
{
    if (state.ReadyFlags[static_cast<std::size_t>(list)] == 0)
        return {u"Noch nicht übernommen.", false};
    switch (list) {
    case WordListKind::Actors: return nounSummary(state.ActorCounts, u"der Mann");
    case WordListKind::Objects: return nounSummary(state.ObjectCounts, u"das Obst");
    case WordListKind::Verbs: return plainSummary(state.VerbLast);
    case WordListKind::Adjectives: return plainSummary(state.AdjectiveLast);
    }
    return {};
}

} // namespace versomat
