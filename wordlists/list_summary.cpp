#include "wordlists/list_summary.h"

#include <algorithm>
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

std::u16string nounSummary(const NounLasts& lasts, std::u16string_view example)
{
    std::u16string parts;
    for (std::size_t k = 0; k < kNounClasses; ++k) {
        if (lasts[k] < 0)
            continue;
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
        return nothing;
    }
    return u"Übernommen: " + parts;
}

std::u16string plainSummary(std::int16_t last)
{
    const int count = last + 1;
    if (count <= 0)
        return u"Nichts übernommen: schon die erste Zeile hatte weniger als drei Zeichen – das Gedicht bleibt "
               u"hier leer.";
    return u"Übernommen: " + countText(count) + (count == 1 ? u" Eintrag" : u" Einträge");
}

} // namespace

std::u16string acceptedListSummary(const GeneratorState& state, WordListKind list)
{
    if (state.ReadyFlags[static_cast<std::size_t>(list)] == 0)
        return u"Noch nicht übernommen.";
    switch (list) {
    case WordListKind::Actors: return nounSummary(state.ActorCounts, u"der Mann");
    case WordListKind::Objects: return nounSummary(state.ObjectCounts, u"das Obst");
    case WordListKind::Verbs: return plainSummary(state.VerbLast);
    case WordListKind::Adjectives: return plainSummary(state.AdjectiveLast);
    }
    return {};
}

bool acceptTookNothing(const GeneratorState& state, WordListKind list)
{
    if (state.ReadyFlags[static_cast<std::size_t>(list)] == 0)
        return false;
    const auto none = [](const NounLasts& lasts) {
        return std::all_of(lasts.begin(), lasts.end(), [](auto last) { return last < 0; });
    };
    switch (list) {
    case WordListKind::Actors: return none(state.ActorCounts);
    case WordListKind::Objects: return none(state.ObjectCounts);
    case WordListKind::Verbs: return state.VerbLast < 0;
    case WordListKind::Adjectives: return state.AdjectiveLast < 0;
    }
    return false;
}

} // namespace versomat
