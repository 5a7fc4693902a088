// A partial Locate given a very long text (a clerk pasting a document into
// the search box, a script): the prefix's spellings and the folded
// comparison grow with the text's length, not its square, and through the
// dataset a text longer than the field is answered at once.
#include "BenchData.h"
#include "CaseVariants.h"
#include "TDMarsipstaf.h"
#include "TextCompare.h"

#include <benchmark/benchmark.h>

namespace {

// Digits: one spelling per character, the case that grew quadratically.
std::string longText(benchmark::State& state)
{
    return std::string(static_cast<size_t>(state.range(0)), '7');
}

void prefixSpellings(benchmark::State& state)
{
    std::string text = longText(state);
    for (auto _ : state) {
        size_t covered = 0;
        benchmark::DoNotOptimize(CaseVariants::spellings(text, true, 16, covered));
    }
    state.SetComplexityN(state.range(0));
}

void foldedComparison(benchmark::State& state)
{
    std::string text = longText(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(TextCompare::startsWithNoCase(text, text));
    state.SetComplexityN(state.range(0));
}

void datasetLocateLongText(benchmark::State& state)
{
    bench_data::useAlias(1000);
    TDMarsipstaf module;
    module.Loaded();
    std::string text = longText(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(module.Tdatapeg.Locate("Nama_Pegawai", text, true));
}

}  // namespace

BENCHMARK(prefixSpellings)->RangeMultiplier(2)->Range(256 << 10, 1 << 20)->Complexity();
BENCHMARK(foldedComparison)->RangeMultiplier(2)->Range(256 << 10, 1 << 20)->Complexity();
BENCHMARK(datasetLocateLongText)->RangeMultiplier(2)->Range(256 << 10, 1 << 20);

BENCHMARK_MAIN();
