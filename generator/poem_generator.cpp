#include "generator/poem_generator.h"

#include <cmath>
#include <limits>

#include "runtime/number_text.h"
#include "runtime/text_search.h"

namespace versomat {
namespace {

bool isHighSurrogate(char16_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

bool isLowSurrogate(char16_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

// The text without its last whole character: a character outside the Basic
// Multilingual Plane is a pair of 16-bit units, and cutting only one of them
// would leave half a character in the poem.
std::u16string_view withoutLastCharacter(std::u16string_view text)
{
    std::size_t cut = text.size() - 1;
    if (cut > 0 && isLowSurrogate(text[cut]) && isHighSurrogate(text[cut - 1]))
        --cut;
    return text.substr(0, cut);
}

// Composes one poem into out, drawing in exactly the order the grammar
// takes its decisions: any change of order changes every later poem.
class PoemComposer {
public:
    bool cut() const { return m_cut; }

    PoemComposer(const GeneratorState& state, RandomSource& random, std::u16string& out)
        : m_state(state), m_random(random), m_out(out),
          m_room(out.size() < kMaxPoemLength ? kMaxPoemLength - out.size() : 0)
    {
    }

    void composeLines()
    {
        for (int lineBreaks = 0;;) {
            m_repeatsLeft = kMaxRepeatsPerLine;
            composeLine();
            // The line-end draw is taken even after the last allowed line.
            const float r = m_random.next();
            if (!(r > m_state.w13) || lineBreaks >= kMaxPoemLines - 1)
                return;
            ++lineBreaks;
            if (!m_cut)
                m_out += kLineBreak;
        }
    }

private:
    double draw() { return static_cast<double>(m_random.next()); }

    // Uniform index 0..count-1.
    std::size_t drawIndex(std::size_t count)
    {
        return static_cast<std::size_t>(std::floor(draw() * static_cast<double>(count)));
    }

    // Index 0..last by the pick rule; always inside a table of last + 1 entries.
    std::size_t drawTableIndex(std::size_t last)
    {
        return static_cast<std::size_t>(pickIndex(m_random.next(), static_cast<int>(last)));
    }

    // At the poem's length limit the poem ends after its last whole line; the
    // draws go on to the poem's end all the same, so the next poem is the
    // one it would have been.
    void append(std::u16string_view piece)
    {
        if (m_cut)
            return;
        if (piece.size() <= m_room) {
            m_out += piece;
            m_room -= piece.size();
            return;
        }
        m_cut = true;
        m_out.resize(m_out.rfind(kLineBreak)); // the heading ends in one
    }

    // A loop may go round again only while the line's budget lasts.
    bool spendRepeat()
    {
        if (m_repeatsLeft == 0)
            return false;
        --m_repeatsLeft;
        return true;
    }

    // The draw is taken for any last index; a last index outside the list
    // (an empty list has -1) picks empty text.
    template <std::size_t N>
    std::u16string_view pick(const std::array<std::u16string, N>& list, std::int16_t last)
    {
        const long index = pickIndex(m_random.next(), last);
        if (last < 0 || static_cast<std::size_t>(last) >= N)
            return {};
        return list[static_cast<std::size_t>(index)];
    }

    void appendConjunction() { append(m_state.Conjunctions[drawTableIndex(kConjunctionCount - 1)]); }

    void appendPunctuation() { append(m_state.Punctuation[drawTableIndex(kPunctuationCount - 1)]); }

    void appendAdjective() { append(pick(m_state.AdjectiveList, m_state.AdjectiveLast)); }

    static std::u16string_view subjectEnding(std::size_t g, std::size_t k)
    {
        switch (g) {
        case kMasculine: return k > 2 ? u"er " : u"e ";
        case kFeminine: return u"e ";
        case kNeuter: return k > 1 ? u"es " : u"e ";
        default: return k > 1 ? u"e " : u"en ";
        }
    }

    static std::u16string_view objectEnding(std::size_t h, std::size_t m)
    {
        switch (h) {
        case kMasculine: return u"en ";
        case kFeminine: return u"e ";
        case kNeuter: return m > 1 ? u"es " : u"e ";
        default: return m > 2 ? u"e " : u"en ";
        }
    }

    void composeLine()
    {
        for (;;) {
            const std::size_t g = composeSubject();
            const double s = draw();
            if (s < m_state.w6) {
                composeAuxiliaryPhrase(g);
                return;
            }
            if (s < m_state.w7) {
                if (!spendRepeat())
                    return;
                appendConjunction();
                continue;
            }
            if (s < m_state.w8) {
                appendPunctuation();
                return;
            }
            composeVerbPhrase(g);
            return;
        }
    }

    std::size_t composeSubject()
    {
        const std::size_t g = drawIndex(kNounClasses);
        const std::size_t k = drawTableIndex(kArticleKinds - 1);
        append(m_state.Articles[g][k]);
        if (draw() <= m_state.w1) {
            for (;;) {
                appendAdjective();
                append(subjectEnding(g, k));
                if (draw() > m_state.w2 && spendRepeat()) {
                    appendConjunction();
                    continue;
                }
                break;
            }
        }
        append(pick(m_state.ActorList[g], m_state.ActorCounts[g]));
        return g;
    }

    void composeAuxiliaryPhrase(std::size_t g)
    {
        const std::size_t number = g == kPlural ? 1 : 0;
        for (;;) {
            const std::size_t tense = drawTableIndex(kCopulaTenses - 1);
            append(m_state.Copulas[number][tense]);
            for (;;) {
                appendAdjective();
                if (draw() < m_state.w3 && spendRepeat()) {
                    appendConjunction();
                    continue;
                }
                break;
            }
            if (draw() < m_state.w4 && spendRepeat()) {
                appendConjunction();
                continue;
            }
            break;
        }
        if (draw() < m_state.w5)
            appendPunctuation();
    }

    void composeVerbPhrase(std::size_t g)
    {
        for (;;) {
            const std::u16string_view verb = pick(m_state.VerbList, m_state.VerbLast);
            const std::size_t h = drawIndex(kNounClasses);
            appendVerb(verb, g == kPlural);
            if (draw() < m_state.w9) {
                appendObjectNoun(h);
                return;
            }
            const std::size_t m = drawIndex(kArticleKinds - 1);
            append(m_state.Articles[h == kMasculine ? kAccusativeColumn : h][m]);
            if (draw() < m_state.w10) {
                appendObjectNoun(h);
                return;
            }
            if (!composeObjectAdjectives(h, m))
                return;
            // A connecting word ended the adjectives: a new verb phrase
            // follows and this object gets no noun.
        }
    }

    // Returns true when a new verb phrase is to follow instead of the noun.
    bool composeObjectAdjectives(std::size_t h, std::size_t m)
    {
        for (;;) {
            appendAdjective();
            append(objectEnding(h, m));
            if (draw() > m_state.w11 && spendRepeat()) {
                appendConjunction();
                return true;
            }
            if (draw() > m_state.w12 && spendRepeat()) {
                appendConjunction();
                continue;
            }
            appendObjectNoun(h);
            return false;
        }
    }

    void appendObjectNoun(std::size_t h) { append(pick(m_state.ObjectList[h], m_state.ObjectCounts[h])); }

    // The verb stands between blanks. A plural subject turns the third-person
    // singular into the plural by its last character: "liebt" -> "lieben";
    // with no verb, the blank before it is what loses its last character.
    void appendVerb(std::u16string_view verb, bool pluralSubject)
    {
        if (!pluralSubject) {
            append(u" ");
            append(verb);
            append(u" ");
            return;
        }
        if (!verb.empty()) {
            append(u" ");
            append(withoutLastCharacter(verb));
        }
        append(u"en ");
    }

    const GeneratorState& m_state;
    RandomSource& m_random;
    std::u16string& m_out;
    std::size_t m_room; // characters the poem's words may still take
    int m_repeatsLeft = kMaxRepeatsPerLine;
    bool m_cut = false;
};

bool allListsAccepted(const GeneratorState& state)
{
    for (const std::int16_t flag : state.ReadyFlags) {
        if (flag == 0)
            return false;
    }
    return true;
}

} // namespace

PoemOutcome composePoemOrRefusal(GeneratorState& state, RandomSource& random, std::u16string& poemText)
{
    ensureTables(state);
    poemText.clear();
    if (!allListsAccepted(state)) {
        poemText += kMissingDataMessage;
        return PoemOutcome::MissingData;
    }
    poemText += state.TitlePrefix;
    poemText += kHeadingWord;
    poemText += numberToText(state.PoemCounter);
    poemText += kLineBreak;
    PoemComposer composer(state, random, poemText);
    composer.composeLines();
    // The counter never wraps: past its largest value the number repeats.
    if (state.PoemCounter < std::numeric_limits<std::int16_t>::max())
        ++state.PoemCounter;
    return composer.cut() ? PoemOutcome::Cut : PoemOutcome::Whole;
}

std::u16string composePoemOrRefusal(GeneratorState& state, RandomSource& random)
{
    std::u16string poemText;
    composePoemOrRefusal(state, random, poemText);
    return poemText;
}

void startRandomly(GeneratorState& state, RandomSource& random)
{
    random.reseedFromClock();
    state.TitlePrefix = kRandomStartPrefix;
}

} // namespace versomat
