// Edit-post and append-post of employees with the change history against
// the same without it (same rows, same calls), on table files and on the
// test server, and reading the 1,000 entries of one employee as the
// history window does.
//
//     build/bench/history_bench                                  # table files
//     tools/with-test-server.sh build/bench/history_bench        # and the server
#include "BenchData.h"
#include "PgConnection.h"
#include "PgHistory.h"
#include "PgTable.h"
#include "SqliteHistory.h"
#include "SqliteTableFile.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

constexpr int address = 7;  // Alamat

// A copy of the generated employee table of that size, with or without a history.
std::shared_ptr<SqliteTableFile> employeeFile(long records, bool history)
{
    fs::path dir = bench_data::base() / ("history-" + std::to_string(records) + (history ? "-with" : "-without"));
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::copy_file(fs::path(bench_data::directory(records)) / "Datapegawai.db", dir / "Datapegawai.db");
    std::string sql = history ? SqliteHistory::createSql()
                              : "DROP TRIGGER IF EXISTS history_kept_update; DROP TRIGGER IF EXISTS "
                                "history_kept_delete; DROP TABLE IF EXISTS history;";
    sqlite3* db = nullptr;
    sqlite3_open((dir / "Datapegawai.db").c_str(), &db);
    sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
    std::shared_ptr<SqliteTableFile> file;
    if (!SqliteTableFile::open(dir.string(), "Datapegawai.db", file).ok() || file->keepsHistory() != history)
        throw std::runtime_error("cannot open the benchmark table");
    return file;
}

// The employee table on the server, with or without the schema's history.
std::shared_ptr<PgTable> employeeTable(long records, bool history)
{
    std::shared_ptr<PgConnection> connection;
    if (!PgConnection::open(bench_data::serverAlias(records), PasswordList(), connection).ok())
        throw std::runtime_error("no benchmark server");
    std::string sql = history ? PgHistory::createSql(connection->schema())
                              : "DROP TABLE IF EXISTS " + connection->schema() + ".arsipstaf_history";
    if (!connection->runScript(sql, "bench").ok())
        throw std::runtime_error("cannot prepare the history");
    std::shared_ptr<PgTable> table;
    if (!PgTable::open(connection, "Datapegawai.db", table).ok() || table->keepsHistory() != history)
        throw std::runtime_error("cannot open the benchmark table");
    return table;
}

template <class Table>
void editPost(benchmark::State& state, Table& table, std::int64_t first)
{
    EngineRecord record;
    if (!table.readRecord(first, record).ok())
        state.SkipWithError("no record");
    int turn = 0;
    for (auto _ : state) {
        EngineRecord changed = record;
        changed.values[address] = "Jl. Bangku " + std::to_string(++turn);
        if (!table.update(first, record, changed).ok())
            state.SkipWithError("update failed");
        record = changed;
    }
}

template <class Table>
void appendPost(benchmark::State& state, Table& table, const std::string& prefix)
{
    EngineRecord record;
    record.values.resize(table.description().fields.size());
    static int turn = 0;  // runs of one process append to the same server table
    for (auto _ : state) {
        char nip[16];
        std::snprintf(nip, sizeof nip, "9%s%07d", prefix.c_str(), ++turn);
        record.values[0] = std::string(nip).substr(0, 10);
        record.values[2] = "Pegawai Baru";
        std::int64_t rid = 0;
        if (!table.insert(record, rid).ok())
            state.SkipWithError("insert failed");
    }
}

void FileEditPost(benchmark::State& state)
{
    auto file = employeeFile(state.range(0), state.range(1) != 0);
    editPost(state, *file, 1);
}

void FileAppendPost(benchmark::State& state)
{
    auto file = employeeFile(state.range(0), state.range(1) != 0);
    appendPost(state, *file, "1");
}

void ServerEditPost(benchmark::State& state)
{
    if (bench_data::serverAddress().empty())
        return state.SkipWithError("no test server (ARSIPSTAF_TEST_PG)");
    auto table = employeeTable(state.range(0), state.range(1) != 0);
    std::int64_t count = 0;
    (void)table->count(count);
    editPost(state, *table, 1);
}

void ServerAppendPost(benchmark::State& state)
{
    if (bench_data::serverAddress().empty())
        return state.SkipWithError("no test server (ARSIPSTAF_TEST_PG)");
    auto table = employeeTable(state.range(0), state.range(1) != 0);
    appendPost(state, *table, state.range(1) ? "2" : "3");
}

// One employee with 1,000 entries, read as the history window reads them.
void FileReadThousandEntries(benchmark::State& state)
{
    auto file = employeeFile(1000, true);
    EngineRecord record;
    (void)file->readRecord(1, record);
    for (int i = 0; i < 1000; ++i) {
        EngineRecord changed = record;
        changed.values[address] = "Jl. Riwayat " + std::to_string(i);
        (void)file->update(1, record, changed);
        record = changed;
    }
    std::string key = record.values[0].value_or("");
    std::vector<HistoryRow> rows;
    for (auto _ : state) {
        (void)file->readHistory(HistoryQuery{key, ""}, rows);
        benchmark::DoNotOptimize(rows.data());
    }
    state.counters["rows"] = double(rows.size());
}

}  // namespace

BENCHMARK(FileEditPost)->ArgsProduct({{1000, 1000000}, {0, 1}})->Unit(benchmark::kMicrosecond);
BENCHMARK(FileAppendPost)->ArgsProduct({{1000, 1000000}, {0, 1}})->Unit(benchmark::kMicrosecond);
BENCHMARK(ServerEditPost)->ArgsProduct({{1000, 1000000}, {0, 1}})->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(ServerAppendPost)->ArgsProduct({{1000, 1000000}, {0, 1}})->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(FileReadThousandEntries)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
