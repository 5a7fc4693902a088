// The seniority list over 20,000 employees: the run into the page store, the
// PDF export of its pages, and loading the saved file (every page record and
// picture checked) beside reading the file once. The export should take
// at most 1.5 times the run; loading little more than the read.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <unistd.h>
#include <vector>

#include "BenchData.h"
#include "PdfExport.h"
#include "QtTextMeasurer.h"
#include "ReportDefinitions.h"
#include "TDMarsipstaf.h"
#include "TRepPrinter.h"

namespace fs = std::filesystem;

namespace {

constexpr long Records = 20000;

struct Run {
    std::unique_ptr<TDMarsipstaf> module;
    QtTextMeasurer measurer;
    TRepPrinter pages;
    fs::path folder;

    Run()
    {
        bench_data::useAlias(Records);
        module = std::make_unique<TDMarsipstaf>();
        module->Loaded();
        run(pages);
        folder = fs::temp_directory_path() / ("pdf-export-bench-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        pages.Save((folder / "report.rpf").string());
    }
    ~Run() { fs::remove_all(folder); }

    void run(TRepPrinter& destination)
    {
        auto report = ReportDefinitions::Form9(&module->Tdatapeg);
        report->Measurer = &measurer;
        report->RunReport(destination);
    }
};

// Made on first use; released before the application, whose fonts it holds.
std::unique_ptr<Run> made;

Run& shared()
{
    if (!made)
        made = std::make_unique<Run>();
    return *made;
}

void BM_Run(benchmark::State& state)
{
    Run& run = shared();
    for (auto _ : state) {
        TRepPrinter destination;
        run.run(destination);
        state.counters["pages"] = destination.PageCount();
    }
}

void BM_PdfExport(benchmark::State& state)
{
    Run& run = shared();
    const QString file = QString::fromStdString((run.folder / "report.pdf").string());
    for (auto _ : state)
        benchmark::DoNotOptimize(PdfExport::write(run.pages, file));
    state.counters["bytes"] = static_cast<double>(fs::file_size(run.folder / "report.pdf"));
}

void BM_LoadChecked(benchmark::State& state)
{
    Run& run = shared();
    for (auto _ : state) {
        TRepPrinter loaded;
        loaded.Load((run.folder / "report.rpf").string());
        benchmark::DoNotOptimize(loaded.PageCount());
    }
}

void BM_ReadOnce(benchmark::State& state)
{
    Run& run = shared();
    std::vector<char> chunk(1 << 16);
    for (auto _ : state) {
        std::unique_ptr<FILE, int (*)(FILE*)> in(std::fopen((run.folder / "report.rpf").c_str(), "rb"), std::fclose);
        size_t total = 0, got;
        while ((got = std::fread(chunk.data(), 1, chunk.size(), in.get())) > 0)
            total += got;
        benchmark::DoNotOptimize(total);
    }
    state.counters["bytes"] = static_cast<double>(fs::file_size(run.folder / "report.rpf"));
}

BENCHMARK(BM_Run)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_PdfExport)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_LoadChecked)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_ReadOnce)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    made.reset();
    return 0;
}
