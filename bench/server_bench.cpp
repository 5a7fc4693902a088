// The server engine's cursor operations beside the same query issued straight
// through libpq (a prepared statement, one round trip) in the same run, on
// employee tables of 1,000 and 1,000,000 records on the test server. Run under
// tools/with-test-server.sh (or with $ARSIPSTAF_TEST_PG naming a server).
#include "BenchData.h"
#include "PgCursor.h"
#include "PgDatabase.h"

#include <benchmark/benchmark.h>

#include <map>

namespace {

struct Table {
    std::shared_ptr<PgConnection> direct;  // a session of its own for the raw side
    std::unique_ptr<EngineDatabase> database;
    std::unique_ptr<EngineCursor> cursor;
    std::string table, select, fold;
    std::vector<std::string> nips, names;
    EngineRecord record;

    explicit Table(long records)
    {
        std::string alias = bench_data::serverAlias(records);
        std::shared_ptr<PgConnection> connection;
        if (!PgConnection::open(alias, PasswordList(), connection).ok())
            throw std::runtime_error("no benchmark server");
        database = std::make_unique<PgDatabase>(connection);
        if (!database->openTable("Datapegawai.db", "", cursor).ok())
            throw std::runtime_error("cannot open the benchmark table");
        // A second address string makes a second session.
        if (!PgConnection::open(alias + (alias.find("://") != std::string::npos ? "&" : " ") +
                                    "application_name=raw",
                                PasswordList(), direct)
                 .ok())
            throw std::runtime_error("no raw session");
        auto& pg = dynamic_cast<PgCursor&>(*cursor);
        table = pg.table().qualifiedName();
        select = "SELECT " + pg.table().selectList() + " FROM " + table + " ";
        fold = direct->schema() + ".arsipstaf_fold";
        PgResult sample(PQexec(direct->handle(), ("SELECT \"NIP\", left(\"Nama_Pegawai\", 4) FROM " + table +
                                                  " TABLESAMPLE SYSTEM (50) LIMIT 1000").c_str()));
        for (int row = 0; row < sample.rows(); ++row) {
            nips.push_back(sample.text(row, 0));
            names.push_back(sample.text(row, 1));
        }
    }

    // One prepared query on the raw session, read as the engine reads it.
    void raw(const std::string& sql, const std::vector<FieldValue>& parameters)
    {
        PgResult result;
        if (!direct->run(sql, parameters, result, "raw").ok())
            throw std::runtime_error("raw query failed: " + sql);
        benchmark::DoNotOptimize(result.rows());
    }
};

Table& table(long records)
{
    static std::map<long, std::unique_ptr<Table>> tables;
    auto& slot = tables[records];
    if (!slot)
        slot = std::make_unique<Table>(records);
    return *slot;
}

void engineNext(benchmark::State& state)
{
    Table& t = table(state.range(0));
    (void)t.cursor->setToBegin();
    for (auto _ : state)
        if (!t.cursor->getNext(t.record).ok())
            (void)t.cursor->setToBegin();
}

// The same step without read-ahead: one query per record.
void rawNext(benchmark::State& state)
{
    Table& t = table(state.range(0));
    size_t i = 0;
    for (auto _ : state)
        t.raw(t.select + "WHERE \"NIP\" > $1 ORDER BY \"NIP\" LIMIT 1", {t.nips[i++ % t.nips.size()]});
}

// Ten records of a window in one query, as the engine reads ahead.
void rawWindow(benchmark::State& state)
{
    Table& t = table(state.range(0));
    size_t i = 0;
    for (auto _ : state)
        t.raw(t.select + "WHERE \"NIP\" > $1 ORDER BY \"NIP\" LIMIT 16", {t.nips[i++ % t.nips.size()]});
    state.SetItemsProcessed(state.iterations() * 10);
}

void engineFirstTen(benchmark::State& state)
{
    Table& t = table(state.range(0));
    for (auto _ : state) {
        (void)t.cursor->setToBegin();
        for (int i = 0; i < 10; ++i)
            (void)t.cursor->getNext(t.record);
    }
}

void engineLastTen(benchmark::State& state)
{
    Table& t = table(state.range(0));
    for (auto _ : state) {
        (void)t.cursor->setToEnd();
        for (int i = 0; i < 10; ++i)
            (void)t.cursor->getPrior(t.record);
    }
}

void engineSeekName(benchmark::State& state)
{
    Table& t = table(state.range(0));
    (void)t.cursor->switchToIndex("Nama_Pegawai", false);
    size_t i = 0;
    for (auto _ : state) {
        (void)t.cursor->setToKey({t.names[i++ % t.names.size()]}, 1, false);
        (void)t.cursor->getNext(t.record);
    }
    (void)t.cursor->switchToIndex("", false);
}

void rawSeekName(benchmark::State& state)
{
    Table& t = table(state.range(0));
    size_t i = 0;
    for (auto _ : state)
        t.raw(t.select + "WHERE " + t.fold + "(\"Nama_Pegawai\") >= " + t.fold + "($1::text) ORDER BY " + t.fold +
                  "(\"Nama_Pegawai\"), \"NIP\" LIMIT 1",
              {t.names[i++ % t.names.size()]});
}

// Partial search on the name (a lookup box's search, partial Locate) in the
// name order and in NIP order, and of names that begin no stored name;
// beside rawSeekName, the one-query seek in the name order.
void enginePrefixName(benchmark::State& state, const char* ordering, bool missing)
{
    Table& t = table(state.range(0));
    (void)t.cursor->switchToIndex(ordering, false);
    int column = t.cursor->description().fieldNumber("Nama_Pegawai");
    size_t i = 0;
    for (auto _ : state) {
        std::string name = t.names[i++ % t.names.size()];
        benchmark::DoNotOptimize(t.cursor->findPrefix(column, missing ? name + "qx" : name, t.record).ok());
    }
    (void)t.cursor->switchToIndex("", false);
}

void enginePrefixNameInNameOrder(benchmark::State& state) { enginePrefixName(state, "Nama_Pegawai", false); }
void enginePrefixNameInNipOrder(benchmark::State& state) { enginePrefixName(state, "", false); }
void enginePrefixNoSuchName(benchmark::State& state) { enginePrefixName(state, "", true); }

void engineFindKey(benchmark::State& state)
{
    Table& t = table(state.range(0));
    size_t i = 0;
    for (auto _ : state) {
        (void)t.cursor->findKey({t.nips[i++ % t.nips.size()]}, 1);
        (void)t.cursor->getRecord(t.record);
    }
}

void rawFindKey(benchmark::State& state)
{
    Table& t = table(state.range(0));
    size_t i = 0;
    for (auto _ : state)
        t.raw(t.select + "WHERE \"NIP\" = $1 LIMIT 1", {t.nips[i++ % t.nips.size()]});
}

void engineSwitchIndex(benchmark::State& state)
{
    Table& t = table(state.range(0));
    const char* indexes[] = {"", "Karpeg", "Nama_Pegawai"};
    (void)t.cursor->setToBegin();
    (void)t.cursor->getNext(t.record);
    size_t i = 0;
    for (auto _ : state)
        (void)t.cursor->switchToIndex(indexes[i++ % 3], true);
    (void)t.cursor->switchToIndex("", false);
}

// Lock, read, change one column, store, unlock.
void engineEditPost(benchmark::State& state)
{
    Table& t = table(state.range(0));
    (void)t.cursor->findKey({t.nips[0]}, 1);
    int address = t.cursor->description().fieldNumber("Alamat");
    int n = 0;
    for (auto _ : state) {
        (void)t.cursor->getRecord(t.record, EngineCursor::Lock::Write);
        t.record.values[static_cast<size_t>(address)] = "Jl. Bench " + std::to_string(n++);
        if (!t.cursor->modifyRecord(t.record).ok())
            state.SkipWithError("modify failed");
    }
}

void rawUpdate(benchmark::State& state)
{
    Table& t = table(state.range(0));
    int n = 0;
    for (auto _ : state)
        t.raw("UPDATE " + t.table + " SET \"Alamat\" = $1 WHERE \"NIP\" = $2",
              {"Jl. Raw " + std::to_string(n++), t.nips[1]});
}

void engineInsertDelete(benchmark::State& state)
{
    Table& t = table(state.range(0));
    int nip = t.cursor->description().fieldNumber("NIP");
    long n = 0;
    for (auto _ : state) {
        (void)t.cursor->initRecord(t.record);
        t.record.values[static_cast<size_t>(nip)] = std::to_string(9700000000L + n++);
        (void)t.cursor->insertRecord(t.record);
        (void)t.cursor->deleteRecord();
    }
}

void rawInsertDelete(benchmark::State& state)
{
    Table& t = table(state.range(0));
    long n = 0;
    for (auto _ : state) {
        std::string nip = std::to_string(9800000000L + n++);
        t.raw("INSERT INTO " + t.table + " (\"NIP\") VALUES ($1)", {nip});
        t.raw("DELETE FROM " + t.table + " WHERE \"NIP\" = $1", {nip});
    }
}

#define BOTH_SIZES(fn) BENCHMARK(fn)->Arg(1000)->Arg(1000000)

BOTH_SIZES(engineNext);
BOTH_SIZES(rawNext);
BOTH_SIZES(rawWindow);
BOTH_SIZES(engineFirstTen);
BOTH_SIZES(engineLastTen);
BOTH_SIZES(engineSeekName);
BOTH_SIZES(rawSeekName);
BOTH_SIZES(enginePrefixNameInNameOrder);
BOTH_SIZES(enginePrefixNameInNipOrder);
BOTH_SIZES(enginePrefixNoSuchName);
BOTH_SIZES(engineFindKey);
BOTH_SIZES(rawFindKey);
BOTH_SIZES(engineSwitchIndex);
BOTH_SIZES(engineEditPost);
BOTH_SIZES(rawUpdate);
BOTH_SIZES(engineInsertDelete);
BOTH_SIZES(rawInsertDelete);

} // namespace

BENCHMARK_MAIN();
