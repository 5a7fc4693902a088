// What a clerk's window does on the employee table, with a 10-row record
// window, on the table files and on the test server, beside the same queries
// sent straight through libpq (prepared, one round trip each) in the same run,
// at 1,000 and 1,000,000 employees. The second argument is the engine: 0 the
// table files, 1 the server. Run under tools/with-test-server.sh (or with
// $ARSIPSTAF_TEST_PG naming a server).
#include "BenchData.h"
#include "DatasetActions.h"
#include "EngineConfig.h"
#include "PgCursor.h"
#include "PgDatabase.h"
#include "StorageEngine.h"
#include "TDMarsipstaf.h"
#include "TDataLink.h"

#include <benchmark/benchmark.h>

#include <map>

namespace {

class TenRows : public TDataLink {
public:
    TenRows() { SetBufferCount(10); }
};

// Keys spread over the table, read from the server's copy; the table files
// hold the same generated records.
struct Keys {
    std::vector<std::string> nips, names;
};

// The raw side: a session of its own, prepared queries.
struct Raw {
    std::shared_ptr<PgConnection> direct;
    std::string table, select, fold;
    Keys keys;

    explicit Raw(long records)
    {
        std::string alias = bench_data::serverAlias(records);
        // A second address string makes a second session.
        if (!PgConnection::open(alias + (alias.find("://") != std::string::npos ? "&" : " ") + "application_name=raw",
                                PasswordList(), direct)
                 .ok())
            throw std::runtime_error("no raw session");
        std::shared_ptr<PgTable> opened;
        if (!PgTable::open(direct, "Datapegawai.db", opened).ok())
            throw std::runtime_error("cannot open the benchmark table");
        table = opened->qualifiedName();
        select = "SELECT " + opened->selectList() + " FROM " + table + " ";
        fold = direct->schema() + ".arsipstaf_fold";
        PgResult sample(PQexec(direct->handle(), ("SELECT \"NIP\", left(\"Nama_Pegawai\", 4) FROM " + table +
                                                  " TABLESAMPLE SYSTEM (50) LIMIT 1000")
                                                     .c_str()));
        for (int row = 0; row < sample.rows(); ++row) {
            keys.nips.push_back(sample.text(row, 0));
            keys.names.push_back(sample.text(row, 1));
        }
    }

    void run(const std::string& sql, const std::vector<FieldValue>& parameters)
    {
        PgResult result;
        if (!direct->run(sql, parameters, result, "raw").ok())
            throw std::runtime_error("raw query failed: " + sql);
        benchmark::DoNotOptimize(result.rows());
    }

    std::string byName(const char* op, const char* direction, int limit) const
    {
        return select + "WHERE " + fold + "(\"Nama_Pegawai\") " + op + " " + fold + "($1::text) ORDER BY " + fold +
               "(\"Nama_Pegawai\") " + direction + ", \"NIP\" " + direction + " LIMIT " + std::to_string(limit);
    }
};

Raw& raw(long records)
{
    static std::map<long, std::unique_ptr<Raw>> opened;
    auto& slot = opened[records];
    if (!slot)
        slot = std::make_unique<Raw>(records);
    return *slot;
}

// One loaded data module at a time (the alias names one database), with a
// grid's ten rows, and a cursor of its own on the same table.
struct Module {
    std::unique_ptr<TDMarsipstaf> module;
    TenRows link;
    std::unique_ptr<EngineDatabase> database;
    std::unique_ptr<EngineCursor> cursor;
    EngineRecord record;
    const Keys& keys;

    Module(long records, bool onServer) : keys(raw(records).keys)
    {
        bench_data::useAlias(records, onServer);
        module = std::make_unique<TDMarsipstaf>();
        module->Loaded();
        link.SetDataSource(&module->DSdatapeg);
        if (!StorageEngine::defaultSession().openDatabase(EngineConfig::defaultAlias, database).ok() ||
            !database->openTable("Datapegawai.db", "", cursor).ok())
            throw std::runtime_error("cannot open the benchmark table");
    }
    TTable& table() { return module->Tdatapeg; }
};

Module& module(const benchmark::State& state)
{
    static std::pair<long, long> current;
    static std::unique_ptr<Module> loaded;
    std::pair<long, long> wanted(state.range(0), state.range(1));
    if (!loaded || current != wanted) {
        loaded.reset();
        loaded = std::make_unique<Module>(wanted.first, wanted.second != 0);
        current = wanted;
    }
    return *loaded;
}

// --- the dataset with a 10-row window, on either engine ----------------------

void datasetNext(benchmark::State& state)
{
    dataset_actions::next(state, module(state).table());
}

void datasetPrior(benchmark::State& state)
{
    dataset_actions::prior(state, module(state).table());
}

void datasetFirst(benchmark::State& state)
{
    dataset_actions::first(state, module(state).table());
}

void datasetLast(benchmark::State& state)
{
    dataset_actions::last(state, module(state).table());
}

void datasetFindNearestName(benchmark::State& state)
{
    Module& m = module(state);
    dataset_actions::findNearestName(state, m.table(), m.keys.names);
}

void datasetFindKeyNip(benchmark::State& state)
{
    Module& m = module(state);
    dataset_actions::findKeyNip(state, m.table(), m.keys.nips);
}

void datasetSwitchOrdering(benchmark::State& state)
{
    dataset_actions::switchOrdering(state, module(state).table());
}

void datasetEditPost(benchmark::State& state)
{
    dataset_actions::editPost(state, module(state).table());
}

void datasetAppendPost(benchmark::State& state)
{
    dataset_actions::appendPost(state, module(state).table());
}

void datasetDelete(benchmark::State& state)
{
    dataset_actions::deleteAppended(state, module(state).table());
}

// --- the engine's cursor alone, on either engine ------------------------------

void cursorFindKey(benchmark::State& state)
{
    Module& m = module(state);
    size_t i = 0;
    for (auto _ : state) {
        (void)m.cursor->findKey({m.keys.nips[i++ % m.keys.nips.size()]}, 1);
        (void)m.cursor->getRecord(m.record);
    }
}

void cursorSeekName(benchmark::State& state)
{
    Module& m = module(state);
    (void)m.cursor->switchToIndex("Nama_Pegawai", false);
    size_t i = 0;
    for (auto _ : state) {
        (void)m.cursor->setToKey({m.keys.names[i++ % m.keys.names.size()]}, 1, false);
        (void)m.cursor->getNext(m.record);
    }
    (void)m.cursor->switchToIndex("", false);
}

// Partial search on the name (a lookup box's search, partial Locate) in the
// name order and in NIP order, and of names that begin no stored name;
// beside rawSeekName, the one-query seek in the name order.
void cursorPrefixName(benchmark::State& state, const char* ordering, bool missing)
{
    Module& m = module(state);
    (void)m.cursor->switchToIndex(ordering, false);
    int column = m.cursor->description().fieldNumber("Nama_Pegawai");
    size_t i = 0;
    for (auto _ : state) {
        std::string name = m.keys.names[i++ % m.keys.names.size()];
        benchmark::DoNotOptimize(m.cursor->findPrefix(column, missing ? name + "qx" : name, m.record).ok());
    }
    (void)m.cursor->switchToIndex("", false);
}

// --- the same queries straight through libpq ---------------------------------

// Ten rows after a key: what a step past the window's end reads.
void rawWindow(benchmark::State& state)
{
    Raw& r = raw(state.range(0));
    size_t i = 0;
    for (auto _ : state)
        r.run(r.select + "WHERE \"NIP\" > $1 ORDER BY \"NIP\" LIMIT 10", {r.keys.nips[i++ % r.keys.nips.size()]});
}

void rawFirstTen(benchmark::State& state)
{
    Raw& r = raw(state.range(0));
    for (auto _ : state)
        r.run(r.select + "ORDER BY \"NIP\" LIMIT 10", {});
}

void rawLastTen(benchmark::State& state)
{
    Raw& r = raw(state.range(0));
    for (auto _ : state)
        r.run(r.select + "ORDER BY \"NIP\" DESC LIMIT 10", {});
}

void rawFindKey(benchmark::State& state)
{
    Raw& r = raw(state.range(0));
    size_t i = 0;
    for (auto _ : state)
        r.run(r.select + "WHERE \"NIP\" = $1", {r.keys.nips[i++ % r.keys.nips.size()]});
}

// A found key's window: four rows above it, itself and five below.
void rawFindKeyWindow(benchmark::State& state)
{
    Raw& r = raw(state.range(0));
    size_t i = 0;
    for (auto _ : state) {
        const std::string& nip = r.keys.nips[i++ % r.keys.nips.size()];
        r.run(r.select + "WHERE \"NIP\" < $1 ORDER BY \"NIP\" DESC LIMIT 4", {nip});
        r.run(r.select + "WHERE \"NIP\" >= $1 ORDER BY \"NIP\" LIMIT 6", {nip});
    }
}

void rawSeekName(benchmark::State& state)
{
    Raw& r = raw(state.range(0));
    size_t i = 0;
    for (auto _ : state)
        r.run(r.byName(">=", "", 1), {r.keys.names[i++ % r.keys.names.size()]});
}

void rawSeekNameWindow(benchmark::State& state)
{
    Raw& r = raw(state.range(0));
    size_t i = 0;
    for (auto _ : state) {
        const std::string& name = r.keys.names[i++ % r.keys.names.size()];
        r.run(r.byName("<", "DESC", 4), {name});
        r.run(r.byName(">=", "", 6), {name});
    }
}

void rawUpdate(benchmark::State& state)
{
    Raw& r = raw(state.range(0));
    int n = 0;
    for (auto _ : state)
        r.run("UPDATE " + r.table + " SET \"Alamat\" = $1 WHERE \"NIP\" = $2",
              {"Jl. Raw " + std::to_string(n++), r.keys.nips[1]});
}

void rawInsert(benchmark::State& state)
{
    Raw& r = raw(state.range(0));
    long n = 0;
    for (auto _ : state)
        r.run("INSERT INTO " + r.table + " (\"NIP\") VALUES ($1)", {std::to_string(9800000000L + n++)});
    r.run("DELETE FROM " + r.table + " WHERE \"NIP\" >= $1", {std::string("9800000000")});
}

void rawDelete(benchmark::State& state)
{
    Raw& r = raw(state.range(0));
    long n = 0;
    for (auto _ : state) {
        std::string nip = std::to_string(9900000000L + n++);
        state.PauseTiming();
        r.run("INSERT INTO " + r.table + " (\"NIP\") VALUES ($1)", {nip});
        state.ResumeTiming();
        r.run("DELETE FROM " + r.table + " WHERE \"NIP\" = $1", {nip});
    }
}

void bothEngines(benchmark::internal::Benchmark* b)
{
    for (long records : {1000L, 1000000L})
        for (long engine : {0L, 1L})
            b->Args({records, engine});
}

// Wall time throughout: the server works in another process, and a round
// trip is a wait that this process's CPU time does not see.
#define ON_BOTH(fn) BENCHMARK(fn)->Apply(bothEngines)->UseRealTime()
#define RAW(fn) BENCHMARK(fn)->Arg(1000)->Arg(1000000)->UseRealTime()

ON_BOTH(datasetNext);
ON_BOTH(datasetPrior);
RAW(rawWindow);
ON_BOTH(datasetFirst);
RAW(rawFirstTen);
ON_BOTH(datasetLast);
RAW(rawLastTen);
ON_BOTH(datasetFindNearestName);
ON_BOTH(cursorSeekName);
RAW(rawSeekName);
RAW(rawSeekNameWindow);
BENCHMARK_CAPTURE(cursorPrefixName, InNameOrder, "Nama_Pegawai", false)->Apply(bothEngines)->UseRealTime();
BENCHMARK_CAPTURE(cursorPrefixName, InNipOrder, "", false)->Apply(bothEngines)->UseRealTime();
BENCHMARK_CAPTURE(cursorPrefixName, NoSuchName, "", true)->Apply(bothEngines)->UseRealTime();
ON_BOTH(datasetFindKeyNip);
ON_BOTH(cursorFindKey);
RAW(rawFindKey);
RAW(rawFindKeyWindow);
ON_BOTH(datasetSwitchOrdering);
ON_BOTH(datasetEditPost);
RAW(rawUpdate);
ON_BOTH(datasetAppendPost);
RAW(rawInsert);
ON_BOTH(datasetDelete);
RAW(rawDelete);

}  // namespace

BENCHMARK_MAIN();
