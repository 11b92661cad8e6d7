#include <benchmark/benchmark.h>

#include <cstdint>
#include <limits>

#include "controls/control_table.h"
#include "controls/window_session.h"
#include "generator/poem_generator.h"
#include "wordlists/word_lists.h"

namespace {

using namespace versomat;

void BM_ComposePoem(benchmark::State& bench)
{
    GeneratorState state;
    RandomSource random;
    for (const WordListKind list : kAllWordLists)
        acceptWordList(state, list, fillExample(state, list));
    std::u16string poemText;
    composePoemOrRefusal(state, random, poemText);
    if (!poemText.starts_with(kHeadingWord)) {
        bench.SkipWithError("the example lists did not give a poem");
        return;
    }
    for (auto _ : bench) {
        // Keep the heading number from saturating and changing the work.
        state.PoemCounter = 1;
        composePoemOrRefusal(state, random, poemText);
        benchmark::DoNotOptimize(poemText.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ComposePoem);

// The poem as both front ends ask for it: the click on "Gedicht erzeugen"
// after each list's example and accept clicks, answered with what the
// controls then show. bench/wasm_vs_native sets the same clicks through the
// WebAssembly core beside it.
void BM_PoemClick(benchmark::State& bench)
{
    WindowSession session;
    for (const WordListKind list : kAllWordLists) {
        const ClickAnswer example = session.click(controlIndex(controlRow(ControlRole::Example, list)));
        session.click(controlIndex(controlRow(ControlRole::Accept, list)), *example.changes.front().text);
    }
    const std::size_t generate = controlIndex(controlRow(ControlRole::Generate));
    // The session cannot set the heading number back: take it to its limit,
    // where it stays, so that every timed poem is the same work.
    for (int i = 0; i < std::numeric_limits<std::int16_t>::max(); ++i)
        session.click(generate);
    if (!session.click(generate).changes.front().text->starts_with(kHeadingWord)) {
        bench.SkipWithError("the example lists did not give a poem");
        return;
    }
    for (auto _ : bench) {
        ClickAnswer answer = session.click(generate);
        benchmark::DoNotOptimize(answer.changes.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PoemClick);

} // namespace
