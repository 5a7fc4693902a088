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

// One key press on a mask of range(0) positions (digits, a separator after
// every fourth): typing an accepted character, a rejected one, or Backspace.
// The cost must not grow with the width.
void KeyPress(benchmark::State& state)
{
    const int width = static_cast<int>(state.range(0));
    std::string pattern;
    for (int pos = 0; pos < width; ++pos)
        pattern += pos % 5 == 4 ? '-' : '0';
    MaskEditor editor;
    editor.setEditMask(pattern + ";1;_");
    editor.enter();
    const int kind = static_cast<int>(state.range(1));
    for (auto _ : state) {
        if (kind == 2) {
            editor.pressKey(MaskEditor::Key::Backspace);
            if (editor.cursor() == 0)
                editor.pressKey(MaskEditor::Key::End);
        } else {
            editor.typeChar(kind == 0 ? U'5' : U'x');
            if (editor.cursor() >= width)
                editor.pressKey(MaskEditor::Key::Home);
        }
    }
    state.SetLabel(kind == 0 ? "accepted" : kind == 1 ? "rejected" : "backspace");
}
BENCHMARK(KeyPress)->ArgsProduct({{20, 16000, 1000000}, {0, 1, 2}});

}  // namespace

BENCHMARK_MAIN();
