// Replays, on a fresh state and random source, the clicks that the session
// test makes in the window, and writes what each text box must then hold.
// Usage: versomat_expected_poems OUTPUT_DIR
//
// Files (UTF-8, line breaks "\r\n" as the core writes them):
//   example_actors.txt ... example_adjectives.txt  the four example buttons
//   refusal.txt         Gedicht before any list is accepted
//   poem1.txt poem2.txt Gedicht twice after the four accepts
//   sheet_defaults.txt  W-Werte after those poems
//   sheet_one_line.txt  the sheet the test types in: defaults with w13 = 1
//   poem3.txt           Gedicht after that sheet is accepted

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "generator/poem_generator.h"
#include "runtime/random_source.h"
#include "settings/probability_sheet.h"
#include "state/generator_state.h"
#include "test_text.h"
#include "wordlists/word_lists.h"

namespace versomat {
namespace {

bool writeText(const std::filesystem::path& dir, const char* name, std::u16string_view text)
{
    std::ofstream file(dir / name, std::ios::binary);
    file << testing::utf8(text);
    return static_cast<bool>(file);
}

struct ExampleFile {
    WordListKind list;
    const char* name;
};

constexpr std::array<ExampleFile, kWordLists> kExampleFiles = {{
    {WordListKind::Actors, "example_actors.txt"},
    {WordListKind::Objects, "example_objects.txt"},
    {WordListKind::Verbs, "example_verbs.txt"},
    {WordListKind::Adjectives, "example_adjectives.txt"},
}};

bool writeExpectedSession(const std::filesystem::path& dir)
{
    GeneratorState state;
    RandomSource random;
    bool ok = true;

    std::array<std::u16string, kWordLists> boxes;
    for (std::size_t i = 0; i < kExampleFiles.size(); ++i) {
        boxes[i] = fillExample(state, kExampleFiles[i].list);
        ok &= writeText(dir, kExampleFiles[i].name, boxes[i]);
    }

    // The refused press fills the tables but takes no draw, so the first
    // poem below still starts the random sequence from its beginning.
    ok &= writeText(dir, "refusal.txt", composePoemOrRefusal(state, random));

    for (std::size_t i = 0; i < kExampleFiles.size(); ++i)
        acceptWordList(state, kExampleFiles[i].list, boxes[i]);
    ok &= writeText(dir, "poem1.txt", composePoemOrRefusal(state, random));
    ok &= writeText(dir, "poem2.txt", composePoemOrRefusal(state, random));

    ok &= writeText(dir, "sheet_defaults.txt", showProbabilitySheet(state));
    ProbabilityValues oneLine = probabilityValuesOf(state);
    oneLine.w13 = 1.0f;
    const std::u16string edited = writeProbabilitySheet(oneLine);
    ok &= writeText(dir, "sheet_one_line.txt", edited);
    ok &= !acceptProbabilitySheet(state, edited);
    ok &= writeText(dir, "poem3.txt", composePoemOrRefusal(state, random));
    return ok;
}

} // namespace
} // namespace versomat

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: versomat_expected_poems OUTPUT_DIR\n", stderr);
        return 2;
    }
    if (!versomat::writeExpectedSession(argv[1])) {
        std::fprintf(stderr, "versomat_expected_poems: cannot write the texts into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
