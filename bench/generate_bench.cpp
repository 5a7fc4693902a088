// `arsipstaf-admin generate N` beside its floor, the same rows copied by one
// INSERT ... SELECT per table (from a directory generate made earlier), at
// 200,000 and 1,000,000 employees. The second argument is the engine: 0 the
// table files, 1 the server (run under tools/with-test-server.sh). Each run is
// a child process into empty tables; generate runs the admin tool built
// beside this benchmark (build/tools/arsipstaf-admin), so its peak memory is
// its own:
//   cpu_s     the child's CPU time (user + system); the steadier figure on a
//             loaded machine. On the server the floor's work is the server's,
//             so compare the wall-clock times there.
//   peak_MB   the child's peak resident memory: flat in N
#include "BenchData.h"
#include "ChildRun.h"
#include "PgDatabase.h"
#include "PgTable.h"
#include "SqliteTableFile.h"

#include <benchmark/benchmark.h>

#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>

namespace {

void report(benchmark::State& state, const ChildRun& run)
{
    if (run.status != 0)
        state.SkipWithError("the run failed");
    state.SetIterationTime(run.seconds);
    state.counters["cpu_s"] = run.cpuSeconds;
    state.counters["peak_MB"] = run.peakMB;
}

const char* const tables[] = {"Datapegawai.db", "Mutasi.db"};

std::string columnsOf(const TableDescription& description, bool server)
{
    std::string names;
    for (const FieldDescription& field : description.fields)
        names += (names.empty() ? "" : ", ") +
                 (server ? PgConnection::quote(field.name) : SqliteTableFile::quote(field.name));
    return names;
}

// Empty tables to fill: a directory, or a schema on the server. Returns the
// alias's target and writes a configuration naming it.
std::string emptyTables(bool server, const std::string& name, std::string& config)
{
    namespace fs = std::filesystem;
    std::vector<std::string> lines;
    std::string target;
    if (server) {
        std::shared_ptr<PgConnection> connection;
        EngineStatus status = PgConnection::open(bench_data::serverAddress(), PasswordList(), connection);
        if (!status.ok())
            throw std::runtime_error("no benchmark server: " + status.message);
        PgResult made(PQexec(connection->handle(),
                             ("DROP SCHEMA IF EXISTS " + name + " CASCADE; CREATE SCHEMA " + name).c_str()));
        target = ServerEngine::withSchema(bench_data::serverAddress(), name);
        std::shared_ptr<PgConnection> tablesConnection;
        status = PgConnection::open(target, PasswordList(), tablesConnection);
        if (status.ok()) {
            PgDatabase database(tablesConnection);
            status = DefaultTableFiles::createOnServer(database, lines);
        }
        if (!status.ok())
            throw std::runtime_error("cannot make the tables: " + status.message);
    } else {
        target = (bench_data::base() / name).string();
        fs::remove_all(target);
        if (!DefaultTableFiles::createIn(target, lines).ok())
            throw std::runtime_error("cannot make the tables in " + target);
    }
    config = (bench_data::base() / (name + ".conf")).string();
    if (!EngineConfig::writeAlias(config, EngineConfig::defaultAlias, target).ok())
        throw std::runtime_error("cannot write " + config);
    return target;
}

int insertSelectFiles(const std::string& source, const std::string& target)
{
    for (const char* table : tables) {
        std::shared_ptr<SqliteTableFile> file;
        if (!SqliteTableFile::open(target, table, file).ok())
            return 1;
        // Like with like: generate's cache and durability.
        std::string columns = columnsOf(file->description(), false);
        std::string path = source + "/" + table;
        for (size_t quote = path.find('\''); quote != std::string::npos; quote = path.find('\'', quote + 2))
            path.insert(quote, 1, '\'');
        std::string sql = "PRAGMA cache_size = -16384; ATTACH '" + path + "' AS source; BEGIN; INSERT INTO records (" +
                          columns + ") SELECT " + columns + " FROM source.records ORDER BY rid; COMMIT; DETACH source;";
        if (sqlite3_exec(file->handle(), sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
            return 1;
    }
    return 0;
}

int insertSelectServer(const std::string& source, const std::string& target)
{
    std::shared_ptr<PgConnection> from, to;
    if (!PgConnection::open(source, PasswordList(), from).ok() || !PgConnection::open(target, PasswordList(), to).ok())
        return 1;
    for (const char* table : tables) {
        std::shared_ptr<PgTable> sourceTable, targetTable;
        if (!PgTable::open(from, table, sourceTable).ok() || !PgTable::open(to, table, targetTable).ok())
            return 1;
        std::string columns = columnsOf(targetTable->description(), true);
        std::string sql = "INSERT INTO " + targetTable->qualifiedName() + " (" + columns + ") SELECT " + columns +
                          " FROM " + sourceTable->qualifiedName();
        PgResult result(PQexec(to->handle(), sql.c_str()));
        if (PQresultStatus(result.get()) != PGRES_COMMAND_OK)
            return 1;
    }
    return 0;
}

// generate (floor 0) or the INSERT ... SELECT of the same rows (floor 1).
void BM_Generate(benchmark::State& state)
{
    const long records = state.range(0);
    const bool server = state.range(1) == 1, atFloor = state.range(2) == 1;
    const std::string source = !atFloor ? std::string()
                               : server ? bench_data::serverAlias(records)
                                        : bench_data::directory(records);
    for (auto _ : state) {
        state.PauseTiming();
        std::string config;
        std::string target = emptyTables(server, (atFloor ? "floor_" : "generate_") + std::to_string(records), config);
        state.ResumeTiming();
        report(
            state, ChildRun::of([&] {
                if (atFloor)
                    return server ? insertSelectServer(source, target) : insertSelectFiles(source, target);
                // The installed program's way: its memory is its own, not
                // what this process made or read before the fork.
                setenv("ARSIPSTAF_ENGINE_CONFIG", config.c_str(), 1);
                if (!std::freopen("/dev/null", "w", stdout))
                    return 1;
                std::string admin =
                    (std::filesystem::canonical("/proc/self/exe").parent_path() / "../tools/arsipstaf-admin").string();
                std::string count = std::to_string(records);
                execl(admin.c_str(), "arsipstaf-admin", "generate", count.c_str(), nullptr);
                return 127;
            }));
    }
}

// Each floor right after its generate.
void pairs(benchmark::internal::Benchmark* bench)
{
    bench->ArgNames({"employees", "server", "floor"});
    for (long records : {200000L, 1000000L})
        for (long server : {0L, 1L})
            for (long atFloor : {0L, 1L})
                bench->Args({records, server, atFloor});
}

}  // namespace

BENCHMARK(BM_Generate)->Apply(pairs)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
