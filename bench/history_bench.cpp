// Edit-post and append-post of employees with the change history against
// the same without it, on table files and on the test server, and reading
// the 1,000 entries of one employee as the history window does.
//
// With and without take turns, one post each, inside one benchmark: on a
// loaded machine both meet the same load. The counters are the medians of
// each (with_us, without_us) and their ratio; Time is one post of each.
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

#include <algorithm>
#include <chrono>
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
    // Made anew: the generated file may hold the history of an older build.
    std::string sql = "DROP TRIGGER IF EXISTS history_kept_update; DROP TRIGGER IF EXISTS history_kept_delete; "
                      "DROP TABLE IF EXISTS history;" +
                      std::string(history ? SqliteHistory::createSql() : "");
    sqlite3* db = nullptr;
    sqlite3_open((dir / "Datapegawai.db").c_str(), &db);
    sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
    std::shared_ptr<SqliteTableFile> file;
    if (!SqliteTableFile::open(dir.string(), "Datapegawai.db", file).ok() || file->keepsHistory() != history)
        throw std::runtime_error("cannot open the benchmark table");
    return file;
}

std::shared_ptr<PgTable> openEmployees(const std::shared_ptr<PgConnection>& connection, bool history)
{
    std::shared_ptr<PgTable> table;
    if (!PgTable::open(connection, "Datapegawai.db", table).ok() || table->keepsHistory() != history)
        throw std::runtime_error("cannot open the benchmark table");
    return table;
}

// The employee table on the server twice: opened before the schema had its
// history (so it writes none) and after. Same rows, same indexes.
std::pair<std::shared_ptr<PgTable>, std::shared_ptr<PgTable>> employeeTables(long records)
{
    std::shared_ptr<PgConnection> connection;
    if (!PgConnection::open(bench_data::serverAlias(records), PasswordList(), connection).ok())
        throw std::runtime_error("no benchmark server");
    if (!connection->runScript("DROP TABLE IF EXISTS " + connection->schema() + ".arsipstaf_history", "bench").ok())
        throw std::runtime_error("cannot drop the history");
    auto without = openEmployees(connection, false);
    if (!connection->runScript(PgHistory::createSql(connection->schema()), "bench").ok())
        throw std::runtime_error("cannot make the history");
    return {openEmployees(connection, true), without};
}

double median(std::vector<double>& samples)
{
    if (samples.empty())
        return 0;
    auto middle = samples.begin() + static_cast<long>(samples.size() / 2);
    std::nth_element(samples.begin(), middle, samples.end());
    return *middle;
}

// Times post(table) for each table in turn, once per iteration.
template <class Table, class Post>
void takeTurns(benchmark::State& state, Table& with, Table& without, Post post)
{
    std::vector<double> samples[2];
    Table* tables[2] = {&with, &without};
    for (auto _ : state)
        for (int which = 0; which < 2; ++which) {
            auto start = std::chrono::steady_clock::now();
            if (!post(*tables[which], which))
                return state.SkipWithError("post failed");
            samples[which].push_back(
                std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
        }
    double withUs = median(samples[0]), withoutUs = median(samples[1]);
    state.counters["with_us"] = withUs;
    state.counters["without_us"] = withoutUs;
    state.counters["ratio"] = withoutUs > 0 ? withUs / withoutUs : 0;
}

// Changes the address of record rid of each table (rids[0] of with, rids[1] of without).
template <class Table>
void editPosts(benchmark::State& state, Table& with, Table& without, const std::int64_t rids[2])
{
    EngineRecord records[2];
    if (!with.readRecord(rids[0], records[0]).ok() || !without.readRecord(rids[1], records[1]).ok())
        return state.SkipWithError("no record");
    int turn = 0;
    takeTurns(state, with, without, [&](Table& table, int which) {
        EngineRecord changed = records[which];
        changed.values[address] = "Jl. Bangku " + std::to_string(++turn);
        if (!table.update(rids[which], records[which], changed).ok())
            return false;
        records[which] = std::move(changed);
        return true;
    });
}

// Appends employees with fresh keys, numbered on from the table's count so
// that runs on one server table never meet a key an earlier run added:
// with the key and a name only (full = 0), or with every field of the first
// record, as a clerk enters a new employee (full = 1).
template <class Table>
void appendPosts(benchmark::State& state, Table& with, Table& without, bool full)
{
    std::int64_t next = 0;
    EngineRecord record;
    if (!with.count(next).ok() || !with.readRecord(1, record).ok())
        return state.SkipWithError("no records");
    if (!full) {
        record.values.assign(record.values.size(), FieldValue());
        record.values[2] = "Pegawai Baru";
    }
    takeTurns(state, with, without, [&](Table& table, int) {
        char nip[16];
        std::snprintf(nip, sizeof nip, "9%09lld", static_cast<long long>(++next % 1000000000));
        record.values[0] = std::string(nip);
        std::int64_t rid = 0;
        return table.insert(record, rid).ok();
    });
}

void FileEditPost(benchmark::State& state)
{
    auto with = employeeFile(state.range(0), true), without = employeeFile(state.range(0), false);
    const std::int64_t rids[2] = {1, 1};
    editPosts(state, *with, *without, rids);
}

void FileAppendPost(benchmark::State& state)
{
    auto with = employeeFile(state.range(0), true), without = employeeFile(state.range(0), false);
    appendPosts(state, *with, *without, state.range(1) != 0);
}

void ServerEditPost(benchmark::State& state)
{
    if (bench_data::serverAddress().empty())
        return state.SkipWithError("no test server (ARSIPSTAF_TEST_PG)");
    auto [with, without] = employeeTables(state.range(0));
    const std::int64_t rids[2] = {1, 2};
    editPosts(state, *with, *without, rids);
}

void ServerAppendPost(benchmark::State& state)
{
    if (bench_data::serverAddress().empty())
        return state.SkipWithError("no test server (ARSIPSTAF_TEST_PG)");
    auto [with, without] = employeeTables(state.range(0));
    appendPosts(state, *with, *without, state.range(1) != 0);
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

BENCHMARK(FileEditPost)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(FileAppendPost)->ArgsProduct({{1000, 1000000}, {0, 1}})->Unit(benchmark::kMicrosecond);
BENCHMARK(ServerEditPost)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(ServerAppendPost)->ArgsProduct({{1000, 1000000}, {0, 1}})->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(FileReadThousandEntries)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
