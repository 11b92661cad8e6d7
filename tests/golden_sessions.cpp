#include "tests/golden_sessions.h"

#include <fstream>
#include <iterator>
#include <optional>
#include <string_view>

#include "generator/poem_generator.h"
#include "runtime/random_source.h"
#include "runtime/utf8.h"
#include "settings/probability_sheet.h"
#include "wordlists/word_lists.h"

namespace versomat::golden {
namespace {

// Poems 1..1000 of a golden session, as UTF-8 with their own "\r\n".
std::vector<std::string> goldenPoems(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    constexpr std::string_view kPoemEnd = "\n=====\n";
    std::vector<std::string> poems;
    for (std::size_t start = 0, at; (at = text.find(kPoemEnd, start)) != std::string::npos;
         start = at + kPoemEnd.size())
        poems.push_back(text.substr(start, at - start));
    return poems;
}

std::vector<std::string> utf8Lines(const std::string& poem)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at; (at = poem.find("\r\n", start)) != std::string::npos; start = at + 2)
        lines.push_back(poem.substr(start, at - start));
    lines.push_back(poem.substr(start));
    return lines;
}

// Where two poems first differ, as a person would look for it.
std::string firstDifference(const std::string& expected, const std::string& actual)
{
    const std::vector<std::string> want = utf8Lines(expected);
    const std::vector<std::string> got = utf8Lines(actual);
    std::size_t line = 0;
    while (line < want.size() && line < got.size() && want[line] == got[line])
        ++line;
    const auto shown = [line](const std::vector<std::string>& lines) {
        return line < lines.size() ? "\"" + lines[line] + "\"" : std::string("(no such line)");
    };
    // Counted in characters, not bytes, so that a lost blank is easy to find.
    std::size_t character = 1;
    if (line < want.size() && line < got.size()) {
        const std::string& a = want[line];
        const std::string& b = got[line];
        for (std::size_t i = 0; i < a.size() && i < b.size() && a[i] == b[i]; ++i)
            character += (a[i] & 0xC0) != 0x80 ? 1 : 0;
    }
    return "line " + std::to_string(line + 1) + " (the heading is line 1), character " + std::to_string(character) +
           "\n  expected: " + shown(want) + "\n  actual:   " + shown(got);
}

// The clicks before the first poem; false when one of them went wrong.
using Clicks = bool (*)(GeneratorState&);

struct Session {
    const char* file;
    Clicks clicks;
};

const Session kSessions[] = {
    {"defaults.txt",
     [](GeneratorState& s) {
         acceptExamples(s);
         return true;
     }},
    {"half.txt",
     [](GeneratorState& s) {
         acceptExamples(s);
         showProbabilitySheet(s);
         return acceptProbabilitySheet(s, u"w1=0.5\r\nw2=0.5\r\nw3=0.5\r\nw4=0.5\r\nw5=0.5\r\nw6=0.25\r\n"
                                          u"w7=0.5\r\nw8=0.75\r\nw9=0.5\r\nw10=0.5\r\nw11=0.5\r\nw12=0.5\r\n"
                                          u"w13=0.3\r\n") == std::nullopt;
     }},
    {"empty.txt",
     [](GeneratorState& s) {
         for (const WordListKind list : {WordListKind::Actors, WordListKind::Objects})
             acceptWordList(s, list, fillExample(s, list));
         acceptWordList(s, WordListKind::Verbs, u"");
         acceptWordList(s, WordListKind::Adjectives, u"noch leer\r\n");
         return true;
     }},
};

} // namespace

void acceptExamples(GeneratorState& state)
{
    for (const WordListKind list : kAllWordLists)
        acceptWordList(state, list, fillExample(state, list));
}

std::vector<std::string> replayGoldenSessions(const std::string& folder)
{
    std::vector<std::string> failures;
    for (const Session& session : kSessions) {
        const std::vector<std::string> expected = goldenPoems(folder + "/" + session.file);
        if (expected.size() != 1000) {
            failures.push_back(std::string(session.file) + " is missing or cut short");
            continue;
        }
        GeneratorState state;
        RandomSource random;
        if (!session.clicks(state)) {
            failures.push_back(std::string(session.file) + ": the clicks before the first poem were refused");
            continue;
        }
        std::u16string poem;
        for (std::size_t n = 0; n < expected.size(); ++n) {
            composePoemOrRefusal(state, random, poem);
            const std::string actual = toUtf8(poem);
            if (actual != expected[n]) {
                failures.push_back(std::string(session.file) + ": poem " + std::to_string(n + 1) +
                                   " differs first in " + firstDifference(expected[n], actual));
                break;
            }
        }
    }
    return failures;
}

} // namespace versomat::golden
