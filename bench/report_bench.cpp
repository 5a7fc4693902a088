// The employee report into the page store at 1,000, 10,000 and 100,000
// records, without and with the page coder, in pages per wall second (a run
// waits on files as well as the processor); and the coder's throughput on
// real page pictures beside zlib level 1 on the same bytes.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <zlib.h>

#include "BenchData.h"
#include "QtTextMeasurer.h"
#include "ReportDefinitions.h"
#include "TDMarsipstaf.h"
#include "TRepCompress.h"
#include "TRepPrinter.h"

namespace fs = std::filesystem;

namespace {

// The generated tables behind the alias (BenchData.h), one size at a time.
struct BenchDatabase {
    std::unique_ptr<TDMarsipstaf> module;
    std::unique_ptr<QtTextMeasurer> measurer;

    explicit BenchDatabase(long records)
    {
        bench_data::useAlias(records);
        module = std::make_unique<TDMarsipstaf>();
        module->Loaded();
        measurer = std::make_unique<QtTextMeasurer>();
    }
};

BenchDatabase& database(long records)
{
    static std::unique_ptr<BenchDatabase> open;
    static long openRecords = 0;
    if (!open || openRecords != records) {
        open.reset();
        open = std::make_unique<BenchDatabase>(records);
        openRecords = records;
    }
    return *open;
}

void runReport(benchmark::State& state, bool coded)
{
    BenchDatabase& db = database(state.range(0));
    int pages = 0;
    std::uint64_t bytes = 0;
    double wall = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        auto report = ReportDefinitions::Form9(&db.module->Tdatapeg);
        report->Measurer = db.measurer.get();
        report->Options.Compression = coded;
        TRepPrinter destination;
        report->RunReport(destination);
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        pages += destination.PageCount();
        bytes = destination.PageList().stream()->size();
        benchmark::DoNotOptimize(bytes);
        state.counters["bytes_per_page"] = static_cast<double>(bytes) / destination.PageCount();
        state.counters["pages"] = destination.PageCount();
    }
    state.counters["pages_per_wall_second"] = wall > 0 ? pages / wall : 0;
}

void BM_EmployeeReport_Plain(benchmark::State& state)
{
    runReport(state, false);
}
void BM_EmployeeReport_Coded(benchmark::State& state)
{
    runReport(state, true);
}
// Pages per wall second at each size: a run is long enough that two say it.
void reportSizes(benchmark::internal::Benchmark* b)
{
    b->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();
}
BENCHMARK(BM_EmployeeReport_Plain)->Apply(reportSizes);
BENCHMARK(BM_EmployeeReport_Coded)->Apply(reportSizes);

// The pictures of the first pages of a real run, one after another.
const std::vector<std::uint8_t>& pagePictures()
{
    static const std::vector<std::uint8_t> bytes = [] {
        BenchDatabase& db = database(10000);
        auto report = ReportDefinitions::Form9(&db.module->Tdatapeg);
        report->Measurer = db.measurer.get();
        TRepPrinter destination;
        report->RunReport(destination);
        std::vector<std::uint8_t> all;
        for (int p = 1; p <= std::min(destination.PageCount(), 40); ++p) {
            const auto page = destination.GetPage(p);
            all.insert(all.end(), page->begin(), page->end());
        }
        return all;
    }();
    return bytes;
}

void BM_Coder_Encode(benchmark::State& state)
{
    const auto& input = pagePictures();
    size_t coded = 0;
    for (auto _ : state) {
        TRepCompress coder;
        for (std::uint8_t b : input)
            coder.encode(b);
        coded = coder.finish().size();
        benchmark::DoNotOptimize(coded);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
    state.counters["ratio"] = static_cast<double>(coded) / input.size();
}

void BM_Coder_Decode(benchmark::State& state)
{
    const auto& input = pagePictures();
    TRepCompress coder;
    for (std::uint8_t b : input)
        coder.encode(b);
    const std::vector<std::uint8_t> coded = coder.finish();
    for (auto _ : state) {
        auto out = TRepCompress().decode(coded, input.size());
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
}

void BM_Zlib1_Encode(benchmark::State& state)
{
    const auto& input = pagePictures();
    std::vector<Bytef> out(compressBound(input.size()));
    uLongf size = 0;
    for (auto _ : state) {
        size = out.size();
        compress2(out.data(), &size, input.data(), input.size(), 1);
        benchmark::DoNotOptimize(size);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
    state.counters["ratio"] = static_cast<double>(size) / input.size();
}

void BM_Zlib1_Decode(benchmark::State& state)
{
    const auto& input = pagePictures();
    std::vector<Bytef> packed(compressBound(input.size()));
    uLongf size = packed.size();
    compress2(packed.data(), &size, input.data(), input.size(), 1);
    std::vector<Bytef> out(input.size());
    for (auto _ : state) {
        uLongf length = out.size();
        uncompress(out.data(), &length, packed.data(), size);
        benchmark::DoNotOptimize(length);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
}

BENCHMARK(BM_Coder_Encode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Coder_Decode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Zlib1_Encode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Zlib1_Decode)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
