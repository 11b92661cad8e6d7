#include <benchmark/benchmark.h>

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

} // namespace
