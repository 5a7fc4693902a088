// Dataset operations on the employee table with a 10-row record window (what
// a grid asks for), beside the same work done raw in the same run: through
// the engine's cursor, and as plain SQL on the file read the way a plain C
// reader reads it. At 1,000 and 1,000,000 records. Writes are timed in wall
// time: their cost is the wait for the disk, which CPU time does not see.
#include "BenchData.h"
#include "DatasetActions.h"
#include "EngineConfig.h"
#include "SqliteStatement.h"
#include "SqliteTableFile.h"
#include "StorageEngine.h"
#include "TDMarsipstaf.h"
#include "TDataLink.h"

#include <sqlite3.h>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

class TenRows : public TDataLink {
public:
    TenRows() { SetBufferCount(10); }
};

// One loaded data module per table size, kept for the whole run.
struct Module {
    std::unique_ptr<TDMarsipstaf> module;
    TenRows link;
    std::vector<std::string> nips;
    std::vector<std::string> names;

    explicit Module(long records)
    {
        bench_data::useAlias(records);
        module = std::make_unique<TDMarsipstaf>();
        module->Loaded();
        link.SetDataSource(&module->DSdatapeg);
        TTable& table = module->Tdatapeg;
        // Sample keys spread over the table for the searches.
        long step = std::max(1L, records / 500);
        table.First();
        while (!table.Eof()) {
            nips.push_back(table.FieldByName("NIP")->AsString());
            names.push_back(table.FieldByName("Nama_Pegawai")->AsString().substr(0, 4));
            if (table.MoveBy(static_cast<int>(step)) == 0)
                break;
        }
        table.First();
    }
};

Module& module(long records)
{
    static std::map<long, std::unique_ptr<Module>> modules;
    auto& slot = modules[records];
    if (!slot) {
        modules.clear();  // one database at a time: the alias names it
        auto& fresh = modules[records];
        fresh = std::make_unique<Module>(records);
        return *fresh;
    }
    return *slot;
}

struct Raw {
    std::unique_ptr<EngineDatabase> database;
    std::unique_ptr<EngineCursor> cursor;
    EngineRecord record;

    explicit Raw(long records)
    {
        module(records);
        (void)StorageEngine::defaultSession().openDatabase(EngineConfig::defaultAlias, database);
        (void)database->openTable("Datapegawai.db", "", cursor);
    }
};

// The same rows read with plain SQL on the file: prepared once, columns
// taken as text pointers and lengths, nothing copied.
struct PlainSql {
    sqlite3* db = nullptr;
    SqliteStatement firstTen, lastTen, above, below, prefix, nameAbove, nameBelow;

    explicit PlainSql(long records)
    {
        module(records);
        std::string path = bench_data::directory(records) + "/Datapegawai.db";
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        std::string select = "SELECT * FROM records ";
        firstTen.prepare(db, select + "ORDER BY NIP LIMIT 10");
        lastTen.prepare(db, select + "ORDER BY NIP DESC LIMIT 10");
        // A found record's window: four rows above it, itself and five below.
        above.prepare(db, select + "WHERE NIP < ? ORDER BY NIP DESC LIMIT 4");
        below.prepare(db, select + "WHERE NIP >= ? ORDER BY NIP LIMIT 6");
        prefix.prepare(db, select + "WHERE Nama_Pegawai >= ? COLLATE NOCASE AND Nama_Pegawai < ? COLLATE NOCASE "
                                    "ORDER BY Nama_Pegawai COLLATE NOCASE, NIP LIMIT 1");
        // The window of a found name in the name order.
        nameAbove.prepare(db, select + "WHERE (Nama_Pegawai, NIP) < (? COLLATE NOCASE, ?) "
                                       "ORDER BY Nama_Pegawai COLLATE NOCASE DESC, NIP DESC LIMIT 4");
        nameBelow.prepare(db, select + "WHERE (Nama_Pegawai, NIP) >= (? COLLATE NOCASE, ?) "
                                       "ORDER BY Nama_Pegawai COLLATE NOCASE, NIP LIMIT 6");
    }
    ~PlainSql() { sqlite3_close_v2(db); }

    // Binds the range of names that begin with name to the prefix seek.
    void bindPrefix(const std::string& name)
    {
        prefix.bindText(1, name);
        prefix.bindText(2, name + '\xFF');
    }

    // Steps through every row, touching each column's text; returns the rows.
    static int read(SqliteStatement& statement)
    {
        sqlite3_stmt* s = statement.get();
        int rows = 0;
        while (sqlite3_step(s) == SQLITE_ROW) {
            ++rows;
            for (int i = 0, n = sqlite3_column_count(s); i < n; ++i) {
                const unsigned char* text = sqlite3_column_text(s, i);
                benchmark::DoNotOptimize(text);
                benchmark::DoNotOptimize(sqlite3_column_bytes(s, i));
            }
        }
        sqlite3_reset(s);
        return rows;
    }
};

PlainSql& plain(long records)
{
    static std::map<long, std::unique_ptr<PlainSql>> opened;
    auto& slot = opened[records];
    if (!slot)
        slot = std::make_unique<PlainSql>(records);
    return *slot;
}

void datasetNext(benchmark::State& state)
{
    dataset_actions::next(state, module(state.range(0)).module->Tdatapeg);
}

void rawNext(benchmark::State& state)
{
    Raw raw(state.range(0));
    (void)raw.cursor->setToBegin();
    for (auto _ : state)
        if (!raw.cursor->getNext(raw.record).ok())
            (void)raw.cursor->setToBegin();
}

void datasetPrior(benchmark::State& state)
{
    dataset_actions::prior(state, module(state.range(0)).module->Tdatapeg);
}

void rawPrior(benchmark::State& state)
{
    Raw raw(state.range(0));
    (void)raw.cursor->setToEnd();
    for (auto _ : state)
        if (!raw.cursor->getPrior(raw.record).ok())
            (void)raw.cursor->setToEnd();
}

void datasetFirst(benchmark::State& state)
{
    dataset_actions::first(state, module(state.range(0)).module->Tdatapeg);
}

void datasetLast(benchmark::State& state)
{
    dataset_actions::last(state, module(state.range(0)).module->Tdatapeg);
}

// Raw first/last: position, then read the ten rows a window shows.
void rawFirstTen(benchmark::State& state)
{
    Raw raw(state.range(0));
    for (auto _ : state) {
        (void)raw.cursor->setToBegin();
        for (int i = 0; i < 10; ++i)
            (void)raw.cursor->getNext(raw.record);
    }
}

void sqlFirstTen(benchmark::State& state)
{
    PlainSql& sql = plain(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(PlainSql::read(sql.firstTen));
}

void sqlLastTen(benchmark::State& state)
{
    PlainSql& sql = plain(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(PlainSql::read(sql.lastTen));
}

void datasetMoveBy10(benchmark::State& state)
{
    TTable& t = module(state.range(0)).module->Tdatapeg;
    t.First();
    for (auto _ : state)
        if (t.MoveBy(10) < 10)
            t.First();
}

void datasetFindNearestName(benchmark::State& state)
{
    Module& m = module(state.range(0));
    dataset_actions::findNearestName(state, m.module->Tdatapeg, m.names);
}

void rawSeekName(benchmark::State& state)
{
    Raw raw(state.range(0));
    Module& m = module(state.range(0));
    for (const IndexDescription& index : raw.cursor->description().indexes)
        if (index.fieldList() == "Nama_Pegawai")
            (void)raw.cursor->switchToIndex(index.name, false);
    size_t i = 0;
    for (auto _ : state) {
        (void)raw.cursor->setToKey({m.names[i++ % m.names.size()]}, 1, false);
        (void)raw.cursor->getNext(raw.record);
    }
}

// A search as a window sees it: position, then read the ten rows shown.
void rawSeekNameTen(benchmark::State& state)
{
    Raw raw(state.range(0));
    Module& m = module(state.range(0));
    for (const IndexDescription& index : raw.cursor->description().indexes)
        if (index.fieldList() == "Nama_Pegawai")
            (void)raw.cursor->switchToIndex(index.name, false);
    size_t i = 0;
    for (auto _ : state) {
        (void)raw.cursor->setToKey({m.names[i++ % m.names.size()]}, 1, false);
        for (int row = 0; row < 10; ++row)
            (void)raw.cursor->getNext(raw.record);
    }
}

void datasetFindKeyNip(benchmark::State& state)
{
    Module& m = module(state.range(0));
    dataset_actions::findKeyNip(state, m.module->Tdatapeg, m.nips);
}

void rawFindNip(benchmark::State& state)
{
    Raw raw(state.range(0));
    Module& m = module(state.range(0));
    size_t i = 0;
    for (auto _ : state) {
        (void)raw.cursor->findKey({m.nips[i++ % m.nips.size()]}, 1);
        (void)raw.cursor->getRecord(raw.record);
    }
}

// The window a found key shows, read raw: rows above it and from it on.
void sqlFindNipTen(benchmark::State& state)
{
    PlainSql& sql = plain(state.range(0));
    Module& m = module(state.range(0));
    size_t i = 0;
    for (auto _ : state) {
        const std::string& nip = m.nips[i++ % m.nips.size()];
        sql.above.bindText(1, nip);
        sql.below.bindText(1, nip);
        benchmark::DoNotOptimize(PlainSql::read(sql.above) + PlainSql::read(sql.below));
    }
}

// Partial Locate on the name (a lookup box's search), in the name order and
// in NIP order; names that begin no stored name cost as much as the others.
void datasetLocateName(benchmark::State& state, const char* ordering, bool missing)
{
    Module& m = module(state.range(0));
    TTable& t = m.module->Tdatapeg;
    t.SetIndexFieldNames(ordering);
    size_t i = 0;
    for (auto _ : state) {
        std::string name = m.names[i++ % m.names.size()];
        benchmark::DoNotOptimize(t.Locate("Nama_Pegawai", missing ? name + "qx" : name, true));
    }
    t.SetIndexFieldNames("NIP");
}

// The same where only single-record controls show the table: a window of
// one row, the like of the raw seek below.
void datasetLocateNameOneRow(benchmark::State& state)
{
    Module& m = module(state.range(0));
    TTable& t = m.module->Tdatapeg;
    t.SetIndexFieldNames("Nama_Pegawai");
    m.link.SetDataSource(nullptr);
    if (t.BufferCount() != 1)
        state.SkipWithError("the window is not one row");
    size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(t.Locate("Nama_Pegawai", m.names[i++ % m.names.size()], true));
    m.link.SetDataSource(&m.module->DSdatapeg);
    t.SetIndexFieldNames("NIP");
}

// The raw index seek of a prefix: the first name in range, one statement.
void sqlPrefixSeekName(benchmark::State& state)
{
    PlainSql& sql = plain(state.range(0));
    Module& m = module(state.range(0));
    size_t i = 0;
    for (auto _ : state) {
        sql.bindPrefix(m.names[i++ % m.names.size()]);
        benchmark::DoNotOptimize(PlainSql::read(sql.prefix));
    }
}

// What a partial Locate in the name order shows, read raw: the prefix seek,
// then the ten rows around the record found.
void sqlPrefixSeekNameTen(benchmark::State& state)
{
    PlainSql& sql = plain(state.range(0));
    Module& m = module(state.range(0));
    size_t i = 0;
    for (auto _ : state) {
        sql.bindPrefix(m.names[i++ % m.names.size()]);
        sqlite3_stmt* s = sql.prefix.get();
        if (sqlite3_step(s) == SQLITE_ROW) {
            // Columns: rid, NIP, Karpeg, Nama_Pegawai...
            std::string nip(reinterpret_cast<const char*>(sqlite3_column_text(s, 1)));
            std::string found(reinterpret_cast<const char*>(sqlite3_column_text(s, 3)));
            sql.nameAbove.bindText(1, found);
            sql.nameAbove.bindText(2, nip);
            sql.nameBelow.bindText(1, found);
            sql.nameBelow.bindText(2, nip);
            benchmark::DoNotOptimize(PlainSql::read(sql.nameAbove) + PlainSql::read(sql.nameBelow));
        }
        sqlite3_reset(s);
    }
}

void datasetSwitchOrdering(benchmark::State& state)
{
    dataset_actions::switchOrdering(state, module(state.range(0)).module->Tdatapeg);
}

void datasetEditPost(benchmark::State& state)
{
    dataset_actions::editPost(state, module(state.range(0)).module->Tdatapeg);
}

void rawModify(benchmark::State& state)
{
    Raw raw(state.range(0));
    (void)raw.cursor->setToBegin();
    (void)raw.cursor->getNext(raw.record);
    int n = 0;
    for (auto _ : state) {
        (void)raw.cursor->getRecord(raw.record, EngineCursor::Lock::Write);
        raw.record.values[raw.cursor->description().fieldNumber("Alamat")] = "Jl. Raw " + std::to_string(n++);
        (void)raw.cursor->modifyRecord(raw.record);
    }
}

void datasetAppendPost(benchmark::State& state)
{
    dataset_actions::appendPost(state, module(state.range(0)).module->Tdatapeg);
}

void datasetDelete(benchmark::State& state)
{
    dataset_actions::deleteAppended(state, module(state.range(0)).module->Tdatapeg);
}

void rawInsertDelete(benchmark::State& state)
{
    Raw raw(state.range(0));
    long n = 0;
    int nip = raw.cursor->description().fieldNumber("NIP");
    for (auto _ : state) {
        (void)raw.cursor->initRecord(raw.record);
        raw.record.values[nip] = std::to_string(9700000000L + n++);
        (void)raw.cursor->insertRecord(raw.record);
        (void)raw.cursor->deleteRecord();
    }
}

#define BOTH_SIZES(fn) BENCHMARK(fn)->Arg(1000)->Arg(1000000)
// Writes wait for the disk: wall time.
#define BOTH_SIZES_WALL(fn) BOTH_SIZES(fn)->UseRealTime()

BOTH_SIZES(datasetNext);
BOTH_SIZES(rawNext);
BOTH_SIZES(datasetPrior);
BOTH_SIZES(rawPrior);
BOTH_SIZES(datasetFirst);
BOTH_SIZES(rawFirstTen);
BOTH_SIZES(sqlFirstTen);
BOTH_SIZES(datasetLast);
BOTH_SIZES(sqlLastTen);
BOTH_SIZES(datasetMoveBy10);
BOTH_SIZES(datasetFindNearestName);
BOTH_SIZES(rawSeekName);
BOTH_SIZES(rawSeekNameTen);
BOTH_SIZES(datasetFindKeyNip);
BOTH_SIZES(rawFindNip);
BOTH_SIZES(sqlFindNipTen);
BENCHMARK_CAPTURE(datasetLocateName, InNameOrder, "Nama_Pegawai", false)->Arg(1000)->Arg(1000000);
BENCHMARK_CAPTURE(datasetLocateName, InNipOrder, "NIP", false)->Arg(1000)->Arg(1000000);
BENCHMARK_CAPTURE(datasetLocateName, NoSuchName, "NIP", true)->Arg(1000)->Arg(1000000);
BOTH_SIZES(datasetLocateNameOneRow);
BOTH_SIZES(sqlPrefixSeekName);
BOTH_SIZES(sqlPrefixSeekNameTen);
BOTH_SIZES(datasetSwitchOrdering);
BOTH_SIZES_WALL(datasetEditPost);
BOTH_SIZES_WALL(rawModify);
BOTH_SIZES_WALL(datasetAppendPost);
BOTH_SIZES_WALL(datasetDelete);
BOTH_SIZES_WALL(rawInsertDelete);

}  // namespace

BENCHMARK_MAIN();
