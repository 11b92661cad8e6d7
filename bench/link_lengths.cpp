// The length of a shared link, as the whole fragment "#gedicht=…" or
// "#wortlisten=…" that follows the page's address: a poem of the example
// lists, of four lists of 30 own words, and of four full lists (21 nouns a
// class, 51 verbs and adjectives), each once as a poem and once as its word
// lists. Compressed with zlib here; the browser's own stream gives links
// of about the same length.
#include <cstdint>
#include <cstdio>
#include <string>

#include "controls/control_table.h"
#include "controls/deflated_link.h"
#include "controls/window_session.h"

namespace versomat {
namespace {

std::size_t button(ControlRole role, std::optional<WordListKind> list = std::nullopt)
{
    return controlIndex(controlRow(role, list));
}

// Thirty words a list, as a class might choose them.
const std::array<std::u16string, kWordLists> kOwnWords = {
    u"der Lehrer\r\ndie Schülerin\r\ndas Mädchen\r\nder Junge\r\ndie Oma\r\nder Opa\r\nviele Kinder\r\n"
    u"die Katze\r\nder Hund\r\ndas Pferd\r\ndie Ärztin\r\nder Bäcker\r\nviele Vögel\r\ndie Königin\r\n"
    u"der Räuber\r\ndas Gespenst\r\ndie Hexe\r\nder Zauberer\r\nviele Zwerge\r\ndie Nachbarin\r\n"
    u"der Förster\r\ndas Küken\r\ndie Maus\r\nder Igel\r\nviele Fische\r\ndie Tante\r\nder Onkel\r\n"
    u"das Baby\r\ndie Freundin\r\nder Pirat\r\n",
    u"der Ball\r\ndie Tasche\r\ndas Buch\r\nder Stift\r\ndie Brille\r\ndas Fahrrad\r\nviele Blumen\r\n"
    u"der Apfel\r\ndie Gabel\r\ndas Messer\r\nder Löffel\r\ndie Tür\r\ndas Fenster\r\nviele Steine\r\n"
    u"der Schlüssel\r\ndie Lampe\r\ndas Glas\r\nder Becher\r\ndie Mütze\r\ndas Heft\r\nviele Nüsse\r\n"
    u"der Kuchen\r\ndie Uhr\r\ndas Boot\r\nder Schuh\r\ndie Kiste\r\ndas Seil\r\nviele Äpfel\r\n"
    u"der Käse\r\ndie Geige\r\n",
    u"sieht\r\nfindet\r\nsucht\r\nmalt\r\nbaut\r\nwirft\r\nfängt\r\nträgt\r\nholt\r\nbringt\r\nversteckt\r\n"
    u"vergisst\r\nputzt\r\nwäscht\r\nkocht\r\nisst\r\nschenkt\r\nleiht\r\nzeigt\r\nmag\r\nhasst\r\nfüttert\r\n"
    u"streichelt\r\nzählt\r\nöffnet\r\nschließt\r\nschüttelt\r\nbemalt\r\nrepariert\r\nverkauft\r\n",
    u" klein\r\n groß\r\n rot\r\n blau\r\n grün\r\n gelb\r\n lustig\r\n traurig\r\n müde\r\n wach\r\n laut\r\n"
    u" leise\r\n schnell\r\n langsam\r\n neu\r\n schwer\r\n leicht\r\n warm\r\n kalt\r\n nass\r\n trocken\r\n"
    u" rund\r\n spitz\r\n weich\r\n hart\r\n frech\r\n brav\r\n klug\r\n wild\r\n zahm\r\n",
};

// Words of made-up letters, so that the full lists compress no better than
// real words would: rather worse.
std::u16string fullList(std::u16string_view lead, int lines, std::uint32_t& seed)
{
    std::u16string text;
    for (int i = 0; i < lines; ++i) {
        text += lead;
        for (int letter = 0; letter < 8; ++letter) {
            seed = seed * 1664525u + 1013904223u;
            text += static_cast<char16_t>((letter == 0 && !lead.empty() ? u'A' : u'a') + (seed >> 24) % 26);
        }
        text += u"\r\n";
    }
    return text;
}

// Four times 21 nouns (a class each) and twice 51 words.
std::array<std::u16string, kWordLists> fullLists()
{
    std::uint32_t seed = 1;
    std::array<std::u16string, kWordLists> lists;
    for (const std::size_t nouns : {0, 1}) {
        for (const std::u16string_view article : {u"der ", u"die ", u"das ", u"viele "})
            lists[nouns] += fullList(article, 21, seed);
    }
    lists[2] = fullList(u"", 51, seed);
    lists[3] = fullList(u" ", 51, seed);
    return lists;
}

// The first poem of a session that accepted these lists (none: the
// examples).
void report(const char* name, const std::optional<std::array<std::u16string, kWordLists>>& lists)
{
    WindowSession session;
    for (const WordListKind list : kAllWordLists) {
        const std::u16string example = *session.click(button(ControlRole::Example, list)).changes.front().text;
        session.click(button(ControlRole::Accept, list), lists ? (*lists)[static_cast<std::size_t>(list)] : example);
    }
    session.click(button(ControlRole::Generate));
    const ListSet accepted = *session.acceptedLists();
    std::size_t characters = 0;
    for (const std::u16string& text : accepted.lists)
        characters += text.size();
    // "#" and the fragment.
    const std::size_t poem = 1 + shortLinkOf(*session.lastPoemOrigin()).size();
    const std::size_t listSet = 1 + shortLinkOf(accepted).size();
    const std::size_t old = 1 + std::string("gedicht=").size() + poemLinkOf(*session.lastPoemOrigin()).size();
    std::printf("%-16s lists %6zu characters  poem link %5zu  word-list link %5zu  (older format %6zu)\n", name,
                characters, poem, listSet, old);
}

} // namespace
} // namespace versomat

int main()
{
    using namespace versomat;
    std::printf("link lengths in characters, the whole fragment with its \"#\":\n");
    report("examples", std::nullopt);
    report("4 x 30 own words", kOwnWords);
    report("4 full lists", fullLists());
    return 0;
}
