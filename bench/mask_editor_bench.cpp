// Cost of the mask rules and of typing through the editor, for the masks
// of the record windows.
#include "EditMask.h"
#include "MaskEditor.h"

#include <benchmark/benchmark.h>

namespace {

const char* const masks[] = {"0000000000;1;_", "!99/99/9999;1;_", "!A-9999-AA.99.99-9999;1;_"};
const char* const values[] = {"1234567890", "5/8/1970", "B-1234-CD.56.78-2020"};

void SetAndReadText(benchmark::State& state)
{
    const EditMask mask(masks[state.range(0)]);
    const std::string value = values[state.range(0)];
    for (auto _ : state) {
        const std::string edit = mask.editTextFor(value);
        benchmark::DoNotOptimize(mask.textOf(edit));
    }
}
BENCHMARK(SetAndReadText)->DenseRange(0, 2);

void DisplayText(benchmark::State& state)
{
    const EditMask mask(masks[state.range(0)]);
    const std::string value = values[state.range(0)];
    for (auto _ : state)
        benchmark::DoNotOptimize(mask.displayText(value));
}
BENCHMARK(DisplayText)->DenseRange(0, 2);

// One editing episode: enter, type a full value, leave.
void TypeAndValidate(benchmark::State& state)
{
    MaskEditor editor;
    editor.setEditMask(masks[state.range(0)]);
    const std::string keys = values[state.range(0)];
    for (auto _ : state) {
        editor.setText("");
        editor.enter();
        editor.typeText(keys);
        editor.exit();
        benchmark::DoNotOptimize(editor.text());
    }
}
BENCHMARK(TypeAndValidate)->DenseRange(0, 2);

} // namespace

BENCHMARK_MAIN();
