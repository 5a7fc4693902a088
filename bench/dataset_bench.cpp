// Dataset operations on the employee table with a 10-row record window (what
// a grid asks for), beside the engine's raw cursor operation in the same run,
// at 1,000 and 1,000,000 records; the second argument is the engine: 0 the
// table files, 1 the test server (when $ARSIPSTAF_TEST_PG names one; run
// under tools/with-test-server.sh).
#include "BenchData.h"
#include "EngineConfig.h"
#include "StorageEngine.h"
#include "TDMarsipstaf.h"
#include "TDataLink.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <map>

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

    Module(long records, bool onServer)
    {
        bench_data::useAlias(records, onServer);
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

Module& module(const benchmark::State& state)
{
    static std::map<std::pair<long, bool>, std::unique_ptr<Module>> modules;
    std::pair<long, bool> key(state.range(0), state.range(1) != 0);
    auto& slot = modules[key];
    if (!slot) {
        modules.clear();  // one database at a time: the alias names it
        auto& fresh = modules[key];
        fresh = std::make_unique<Module>(key.first, key.second);
        return *fresh;
    }
    return *slot;
}

struct Raw {
    std::unique_ptr<EngineDatabase> database;
    std::unique_ptr<EngineCursor> cursor;
    EngineRecord record;

    explicit Raw(const benchmark::State& state)
    {
        module(state);
        (void)StorageEngine::defaultSession().openDatabase(EngineConfig::defaultAlias, database);
        (void)database->openTable("Datapegawai.db", "", cursor);
    }
};

void datasetNext(benchmark::State& state)
{
    TTable& t = module(state).module->Tdatapeg;
    t.First();
    for (auto _ : state) {
        if (t.Eof())
            t.First();
        t.Next();
    }
}

void rawNext(benchmark::State& state)
{
    Raw raw(state);
    (void)raw.cursor->setToBegin();
    for (auto _ : state)
        if (!raw.cursor->getNext(raw.record).ok())
            (void)raw.cursor->setToBegin();
}

void datasetPrior(benchmark::State& state)
{
    TTable& t = module(state).module->Tdatapeg;
    t.Last();
    for (auto _ : state) {
        if (t.Bof())
            t.Last();
        t.Prior();
    }
}

void rawPrior(benchmark::State& state)
{
    Raw raw(state);
    (void)raw.cursor->setToEnd();
    for (auto _ : state)
        if (!raw.cursor->getPrior(raw.record).ok())
            (void)raw.cursor->setToEnd();
}

void datasetFirst(benchmark::State& state)
{
    TTable& t = module(state).module->Tdatapeg;
    for (auto _ : state)
        t.First();
}

void datasetLast(benchmark::State& state)
{
    TTable& t = module(state).module->Tdatapeg;
    for (auto _ : state)
        t.Last();
}

// Raw first/last: position, then read the ten rows a window shows.
void rawFirstTen(benchmark::State& state)
{
    Raw raw(state);
    for (auto _ : state) {
        (void)raw.cursor->setToBegin();
        for (int i = 0; i < 10; ++i)
            (void)raw.cursor->getNext(raw.record);
    }
}

void datasetMoveBy10(benchmark::State& state)
{
    TTable& t = module(state).module->Tdatapeg;
    t.First();
    for (auto _ : state)
        if (t.MoveBy(10) < 10)
            t.First();
}

void datasetFindNearestName(benchmark::State& state)
{
    Module& m = module(state);
    TTable& t = m.module->Tdatapeg;
    t.SetIndexFieldNames("Nama_Pegawai");
    size_t i = 0;
    for (auto _ : state)
        t.FindNearest({m.names[i++ % m.names.size()]});
    t.SetIndexFieldNames("NIP");
}

void rawSeekName(benchmark::State& state)
{
    Raw raw(state);
    Module& m = module(state);
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
    Raw raw(state);
    Module& m = module(state);
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
    Module& m = module(state);
    TTable& t = m.module->Tdatapeg;
    t.SetIndexFieldNames("NIP");
    size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(t.FindKey({m.nips[i++ % m.nips.size()]}));
}

void rawFindNip(benchmark::State& state)
{
    Raw raw(state);
    Module& m = module(state);
    size_t i = 0;
    for (auto _ : state) {
        (void)raw.cursor->findKey({m.nips[i++ % m.nips.size()]}, 1);
        (void)raw.cursor->getRecord(raw.record);
    }
}

void datasetSwitchOrdering(benchmark::State& state)
{
    TTable& t = module(state).module->Tdatapeg;
    const char* orders[] = {"NIP", "Karpeg", "Nama_Pegawai"};
    size_t i = 0;
    for (auto _ : state)
        t.SetIndexFieldNames(orders[i++ % 3]);
    t.SetIndexFieldNames("NIP");
}

void datasetEditPost(benchmark::State& state)
{
    TTable& t = module(state).module->Tdatapeg;
    t.First();
    int n = 0;
    for (auto _ : state) {
        t.Edit();
        t.FieldByName("Alamat")->SetText("Jl. Bench " + std::to_string(n++));
        t.Post();
    }
}

void rawModify(benchmark::State& state)
{
    Raw raw(state);
    (void)raw.cursor->setToBegin();
    (void)raw.cursor->getNext(raw.record);
    int n = 0;
    for (auto _ : state) {
        (void)raw.cursor->getRecord(raw.record, EngineCursor::Lock::Write);
        raw.record.values[raw.cursor->description().fieldNumber("Alamat")] = "Jl. Raw " + std::to_string(n++);
        (void)raw.cursor->modifyRecord(raw.record);
    }
}

// A key above every stored one, so appended records never collide.
long nextFreeNip(TTable& t)
{
    t.SetIndexFieldNames("NIP");
    t.Last();
    return std::stol(t.FieldByName("NIP")->AsString()) + 1;
}

// Appends records with keys above every stored one, then deletes them.
void datasetAppendPost(benchmark::State& state)
{
    TTable& t = module(state).module->Tdatapeg;
    long n = nextFreeNip(t);
    long first = n;
    for (auto _ : state) {
        t.Append();
        t.FieldByName("NIP")->SetText(std::to_string(n++));
        t.FieldByName("Nama_Pegawai")->SetText("Bench");
        t.Post();
    }
    // Untimed: the loop is over.
    t.Last();
    for (long i = first; i < n; ++i)
        t.Delete();
}

void datasetDelete(benchmark::State& state)
{
    TTable& t = module(state).module->Tdatapeg;
    long n = nextFreeNip(t);
    for (auto _ : state) {
        state.PauseTiming();
        t.Append();
        t.FieldByName("NIP")->SetText(std::to_string(n++));
        t.Post();
        state.ResumeTiming();
        t.Delete();
    }
}

void rawInsertDelete(benchmark::State& state)
{
    Raw raw(state);
    long n = 0;
    int nip = raw.cursor->description().fieldNumber("NIP");
    for (auto _ : state) {
        (void)raw.cursor->initRecord(raw.record);
        raw.record.values[nip] = std::to_string(9700000000L + n++);
        (void)raw.cursor->insertRecord(raw.record);
        (void)raw.cursor->deleteRecord();
    }
}

void sizesAndEngines(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"records", "server"});
    for (long records : {1000L, 1000000L}) {
        b->Args({records, 0});
        if (!bench_data::serverAddress().empty())
            b->Args({records, 1});
    }
}

#define BOTH_SIZES(fn) BENCHMARK(fn)->Apply(sizesAndEngines)

BOTH_SIZES(datasetNext);
BOTH_SIZES(rawNext);
BOTH_SIZES(datasetPrior);
BOTH_SIZES(rawPrior);
BOTH_SIZES(datasetFirst);
BOTH_SIZES(datasetLast);
BOTH_SIZES(rawFirstTen);
BOTH_SIZES(datasetMoveBy10);
BOTH_SIZES(datasetFindNearestName);
BOTH_SIZES(rawSeekName);
BOTH_SIZES(rawSeekNameTen);
BOTH_SIZES(datasetFindKeyNip);
BOTH_SIZES(rawFindNip);
BOTH_SIZES(datasetSwitchOrdering);
BOTH_SIZES(datasetEditPost);
BOTH_SIZES(rawModify);
BOTH_SIZES(datasetAppendPost);
BOTH_SIZES(datasetDelete);
BOTH_SIZES(rawInsertDelete);

} // namespace

BENCHMARK_MAIN();
