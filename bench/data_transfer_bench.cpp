// Export and import of the employee table through arsipstaf-admin's
// commands, at 100,000 and 1,000,000 records. Each run is a child process,
// so its peak memory is its own (ru_maxrss), measured beside the time:
//   records/s      records per second of wall-clock time
//   cpu_records/s  records per second of the child's CPU time (user + system);
//                  on a loaded machine this is the steadier figure
//   peak_MB        the child's peak resident memory: flat in the table's size
#include "AdminTool.h"
#include "BenchData.h"
#include "ChildRun.h"
#include "SqliteTableFile.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <sstream>

namespace {

// Runs the admin tool with args in a child process whose alias names
// directory.
ChildRun runChild(const std::vector<std::string>& args, const std::string& config)
{
    return ChildRun::of([&] {
        setenv("ARSIPSTAF_ENGINE_CONFIG", config.c_str(), 1);
        std::ostringstream out, err;
        return AdminTool::run(args, out, err);
    });
}

std::string configFor(const std::string& directory, const std::string& name)
{
    std::string config = directory + "/../" + name + ".conf";
    EngineStatus status = EngineConfig::writeAlias(config, EngineConfig::defaultAlias, directory);
    if (!status.ok())
        throw std::runtime_error(status.message);
    return config;
}

void report(benchmark::State& state, const ChildRun& run, long records)
{
    if (run.status != 0)
        state.SkipWithError("the admin tool failed");
    state.SetIterationTime(run.seconds);
    state.counters["records/s"] = records / run.seconds;
    state.counters["cpu_records/s"] = records / run.cpuSeconds;
    state.counters["peak_MB"] = run.peakMB;
}

void exportTable(benchmark::State& state, const char* extension)
{
    const long records = state.range(0);
    const std::string dir = bench_data::directory(records);
    const std::string config = configFor(dir, "export-" + std::to_string(records));
    const std::string path = dir + "/../export-" + std::to_string(records) + extension;
    for (auto _ : state)
        report(state, runChild({"export", "Tdatapeg", path}, config), records);
    std::filesystem::remove(path);
}

void BM_ExportCsv(benchmark::State& state)
{
    exportTable(state, ".csv");
}

void BM_ExportXlsx(benchmark::State& state)
{
    exportTable(state, ".xlsx");
}

// Every row checked as a clerk's entry is, into an empty employee table.
void BM_ImportCsv(benchmark::State& state)
{
    namespace fs = std::filesystem;
    const long records = state.range(0);
    const std::string dir = bench_data::directory(records);
    const std::string csv = dir + "/../import-" + std::to_string(records) + ".csv";
    if (runChild({"export", "Tdatapeg", csv}, configFor(dir, "export-" + std::to_string(records))).status != 0) {
        state.SkipWithError("cannot export the records to import");
        return;
    }
    const std::string target = dir + "/../import-" + std::to_string(records);
    fs::remove_all(target);
    std::vector<std::string> lines;
    if (!DefaultTableFiles::createIn(target, lines).ok()) {
        state.SkipWithError("cannot make the target database");
        return;
    }
    const std::string config = configFor(target, "import-" + std::to_string(records));
    TableDescription employees;
    for (const DefaultTableFiles::File& file : DefaultTableFiles::all())
        if (file.description.tableName == "Datapegawai.db")
            employees = file.description;
    for (auto _ : state) {
        state.PauseTiming();
        for (const char* suffix : {"", "-wal", "-shm", ".lck"})
            fs::remove(target + "/Datapegawai.db" + suffix);
        if (!SqliteTableFile::create(target + "/Datapegawai.db", employees).ok())
            state.SkipWithError("cannot empty the employee table");
        state.ResumeTiming();
        report(state, runChild({"import", "Tdatapeg", csv}, config), records);
    }
    fs::remove_all(target);
    fs::remove(csv);
}

}  // namespace

BENCHMARK(BM_ExportCsv)->Arg(100000)->Arg(1000000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_ExportXlsx)->Arg(100000)->Arg(1000000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_ImportCsv)->Arg(100000)->Arg(1000000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
