// Cursor operations beside the same query issued straight through SQLite
// with a reused prepared statement, on employee tables of 1,000 and
// 1,000,000 records made by `arsipstaf-admin generate`. The generated
// directories are kept under the build directory (bench-data/) for reruns.
#include "BenchData.h"
#include "DefaultTableFiles.h"
#include "GenerateCommand.h"
#include "SqliteCursor.h"
#include "SqliteTableFile.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

namespace {


// The direct side: its own connection with the engine's settings, and
// statements prepared once.
struct Direct {
    sqlite3* db = nullptr;
    SqliteStatement first, last, next, prior, seek, find, byRowid, insert, update, remove;
    std::string columns;

    explicit Direct(const std::string& path, const TableDescription& table)
    {
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_exec(db, "PRAGMA journal_mode = WAL; PRAGMA synchronous = FULL", nullptr, nullptr, nullptr);
        sqlite3_busy_timeout(db, 5000);
        std::string select = "SELECT " + SqliteTableFile::columnList(table) + " FROM records ";
        first.prepare(db, select + "ORDER BY NIP LIMIT 1");
        last.prepare(db, select + "ORDER BY NIP DESC LIMIT 1");
        next.prepare(db, select + "WHERE NIP > ? ORDER BY NIP LIMIT 1");
        prior.prepare(db, select + "WHERE NIP < ? ORDER BY NIP DESC LIMIT 1");
        seek.prepare(db, select + "WHERE (Nama_Pegawai) >= (? COLLATE NOCASE) "
                                  "ORDER BY Nama_Pegawai COLLATE NOCASE, NIP LIMIT 1");
        find.prepare(db, select + "WHERE NIP = ? LIMIT 1");
        byRowid.prepare(db, select + "WHERE rid = ?");
        insert.prepare(db, "INSERT INTO records (NIP, Nama_Pegawai) VALUES (?, ?)");
        update.prepare(db, "UPDATE records SET Alamat = ? WHERE rid = ?");
        remove.prepare(db, "DELETE FROM records WHERE rid = ?");
    }
    // The statements are finalized after this; close_v2 waits for them.
    ~Direct() { sqlite3_close_v2(db); }

    // Steps once and reads the row as a caller would: every column as text.
    bool row(SqliteStatement& s, std::vector<FieldValue>& out)
    {
        bool found = s.step() == SQLITE_ROW;
        if (found) {
            int count = sqlite3_column_count(s.get());
            out.resize(static_cast<size_t>(count));
            for (int i = 0; i < count; ++i)
                out[static_cast<size_t>(i)] = s.value(i);
        }
        s.reset();
        return found;
    }
};

struct Table {
    std::string directory;
    std::unique_ptr<EngineCursor> cursor;
    std::unique_ptr<Direct> direct;
    std::vector<std::string> nips, names;  // a sample of stored keys

    explicit Table(long records) : directory(bench_data::directory(records))
    {
        std::shared_ptr<SqliteTableFile> file;
        EngineStatus status = SqliteTableFile::open(directory, "Datapegawai.db", file);
        if (!status.ok() || !SqliteCursor::open(file, "", cursor).ok())
            throw std::runtime_error("cannot open the benchmark table");
        direct = std::make_unique<Direct>(directory + "/Datapegawai.db", cursor->description());
        SqliteStatement sample;
        sample.prepare(direct->db, "SELECT NIP, substr(Nama_Pegawai, 1, 4) FROM records ORDER BY random() LIMIT 1000");
        while (sample.step() == SQLITE_ROW) {
            nips.push_back(sample.text(0));
            names.push_back(sample.text(1));
        }
    }
};

Table& table(long records)
{
    static std::map<long, std::unique_ptr<Table>> tables;
    std::unique_ptr<Table>& slot = tables[records];
    if (!slot)
        slot = std::make_unique<Table>(records);
    return *slot;
}

void require(benchmark::State& state, bool ok)
{
    if (!ok)
        state.SkipWithError("operation failed");
}

// --- first, last ---------------------------------------------------------

void BM_CursorFirst(benchmark::State& state)
{
    Table& t = table(state.range(0));
    EngineRecord record;
    for (auto _ : state) {
        require(state, t.cursor->setToBegin().ok() && t.cursor->getNext(record).ok());
        benchmark::DoNotOptimize(record);
    }
}

void BM_DirectFirst(benchmark::State& state)
{
    Table& t = table(state.range(0));
    std::vector<FieldValue> row;
    for (auto _ : state)
        require(state, t.direct->row(t.direct->first, row));
}

void BM_CursorLast(benchmark::State& state)
{
    Table& t = table(state.range(0));
    EngineRecord record;
    for (auto _ : state)
        require(state, t.cursor->setToEnd().ok() && t.cursor->getPrior(record).ok());
}

void BM_DirectLast(benchmark::State& state)
{
    Table& t = table(state.range(0));
    std::vector<FieldValue> row;
    for (auto _ : state)
        require(state, t.direct->row(t.direct->last, row));
}

// --- next, prior: a walk that starts over at the end ------------------------

void BM_CursorNext(benchmark::State& state)
{
    Table& t = table(state.range(0));
    EngineRecord record;
    require(state, t.cursor->setToBegin().ok());
    for (auto _ : state)
        if (!t.cursor->getNext(record).ok())
            require(state, t.cursor->setToBegin().ok());
}

void BM_DirectNext(benchmark::State& state)
{
    Table& t = table(state.range(0));
    std::vector<FieldValue> row;
    std::string nip;
    for (auto _ : state) {
        t.direct->next.bindText(1, nip);
        nip = t.direct->row(t.direct->next, row) ? *row[1] : std::string();
    }
}

void BM_CursorPrior(benchmark::State& state)
{
    Table& t = table(state.range(0));
    EngineRecord record;
    require(state, t.cursor->setToEnd().ok());
    for (auto _ : state)
        if (!t.cursor->getPrior(record).ok())
            require(state, t.cursor->setToEnd().ok());
}

void BM_DirectPrior(benchmark::State& state)
{
    Table& t = table(state.range(0));
    std::vector<FieldValue> row;
    std::string nip = "9999999999";
    for (auto _ : state) {
        t.direct->prior.bindText(1, nip);
        nip = t.direct->row(t.direct->prior, row) ? *row[1] : std::string("9999999999");
    }
}

// --- seek >= on the name index, exact find on the primary key ---------------

void BM_CursorSeekName(benchmark::State& state)
{
    Table& t = table(state.range(0));
    require(state, t.cursor->switchToIndex("Nama_Pegawai", false).ok());
    EngineRecord record;
    size_t i = 0;
    for (auto _ : state) {
        const std::string& name = t.names[i++ % t.names.size()];
        require(state, t.cursor->setToKey({name}, 1, false).ok() && t.cursor->getNext(record).ok());
    }
    require(state, t.cursor->switchToIndex("", false).ok());
}

void BM_DirectSeekName(benchmark::State& state)
{
    Table& t = table(state.range(0));
    std::vector<FieldValue> row;
    size_t i = 0;
    for (auto _ : state) {
        t.direct->seek.bindText(1, t.names[i++ % t.names.size()]);
        require(state, t.direct->row(t.direct->seek, row));
    }
}

void BM_CursorFindNip(benchmark::State& state)
{
    Table& t = table(state.range(0));
    size_t i = 0;
    for (auto _ : state)
        require(state, t.cursor->findKey({t.nips[i++ % t.nips.size()]}, 1).ok());
}

void BM_DirectFindNip(benchmark::State& state)
{
    Table& t = table(state.range(0));
    std::vector<FieldValue> row;
    size_t i = 0;
    for (auto _ : state) {
        t.direct->find.bindText(1, t.nips[i++ % t.nips.size()]);
        require(state, t.direct->row(t.direct->find, row));
    }
}

// --- switching the index keeping the record: a read by rowid ---------------

void BM_CursorSwitchIndex(benchmark::State& state)
{
    Table& t = table(state.range(0));
    require(state, t.cursor->findKey({t.nips[0]}, 1).ok());
    bool byName = false;
    for (auto _ : state) {
        byName = !byName;
        require(state, t.cursor->switchToIndex(byName ? "Nama_Pegawai" : "", true).ok());
    }
    require(state, t.cursor->switchToIndex("", false).ok());
}

void BM_DirectReadByRowid(benchmark::State& state)
{
    Table& t = table(state.range(0));
    std::int64_t rowid = 0;
    require(state, t.cursor->findKey({t.nips[0]}, 1).ok() && t.cursor->getBookmark(rowid).ok());
    std::vector<FieldValue> row;
    for (auto _ : state) {
        t.direct->byRowid.bindInt64(1, rowid);
        require(state, t.direct->row(t.direct->byRowid, row));
    }
}

// --- insert, modify, delete: each one committed, durable transaction --------

std::string benchNip(long n)
{
    return "X" + std::to_string(100000000 + n);  // never a generated NIP
}

void removeBenchRecords(Table& t)
{
    sqlite3_exec(t.direct->db, "DELETE FROM records WHERE NIP LIKE 'X%'", nullptr, nullptr, nullptr);
}

void BM_CursorInsert(benchmark::State& state)
{
    Table& t = table(state.range(0));
    EngineRecord record;
    require(state, t.cursor->initRecord(record).ok());
    long n = 0;
    for (auto _ : state) {
        record.values[0] = benchNip(n++);
        record.values[2] = std::string("Pegawai Uji");
        require(state, t.cursor->insertRecord(record).ok());
    }
    removeBenchRecords(t);
}

void BM_DirectInsert(benchmark::State& state)
{
    Table& t = table(state.range(0));
    long n = 0;
    for (auto _ : state) {
        t.direct->insert.bindText(1, benchNip(n++));
        t.direct->insert.bindText(2, "Pegawai Uji");
        require(state, t.direct->insert.step() == SQLITE_DONE);
        t.direct->insert.reset();
    }
    removeBenchRecords(t);
}

void BM_CursorModify(benchmark::State& state)
{
    Table& t = table(state.range(0));
    EngineRecord record;
    long n = 0;
    require(state, t.cursor->findKey({t.nips[1]}, 1).ok());
    for (auto _ : state) {
        require(state, t.cursor->getRecord(record, EngineCursor::Lock::Write).ok());
        record.values[7] = "Jl. Mawar No. " + std::to_string(n++ % 100);
        require(state, t.cursor->modifyRecord(record).ok());
    }
}

void BM_DirectModify(benchmark::State& state)
{
    Table& t = table(state.range(0));
    std::int64_t rowid = 0;
    require(state, t.cursor->findKey({t.nips[1]}, 1).ok() && t.cursor->getBookmark(rowid).ok());
    long n = 0;
    for (auto _ : state) {
        t.direct->update.bindText(1, "Jl. Mawar No. " + std::to_string(n++ % 100));
        t.direct->update.bindInt64(2, rowid);
        require(state, t.direct->update.step() == SQLITE_DONE);
        t.direct->update.reset();
    }
}

void BM_CursorDelete(benchmark::State& state)
{
    Table& t = table(state.range(0));
    EngineRecord record;
    long n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        require(state, t.cursor->initRecord(record).ok());
        record.values[0] = benchNip(n++);
        require(state, t.cursor->insertRecord(record).ok());
        state.ResumeTiming();
        require(state, t.cursor->deleteRecord().ok());
    }
}

void BM_DirectDelete(benchmark::State& state)
{
    Table& t = table(state.range(0));
    long n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        t.direct->insert.bindText(1, benchNip(n++));
        t.direct->insert.bindText(2, "Pegawai Uji");
        require(state, t.direct->insert.step() == SQLITE_DONE);
        t.direct->insert.reset();
        std::int64_t rowid = sqlite3_last_insert_rowid(t.direct->db);
        state.ResumeTiming();
        t.direct->remove.bindInt64(1, rowid);
        require(state, t.direct->remove.step() == SQLITE_DONE);
        t.direct->remove.reset();
    }
}

} // namespace

#define PAIR(cursor, direct)                          \
    BENCHMARK(cursor)->Arg(1000)->Arg(1000000);       \
    BENCHMARK(direct)->Arg(1000)->Arg(1000000)

PAIR(BM_CursorFirst, BM_DirectFirst);
PAIR(BM_CursorLast, BM_DirectLast);
PAIR(BM_CursorNext, BM_DirectNext);
PAIR(BM_CursorPrior, BM_DirectPrior);
PAIR(BM_CursorSeekName, BM_DirectSeekName);
PAIR(BM_CursorFindNip, BM_DirectFindNip);
PAIR(BM_CursorSwitchIndex, BM_DirectReadByRowid);
PAIR(BM_CursorInsert, BM_DirectInsert);
PAIR(BM_CursorModify, BM_DirectModify);
PAIR(BM_CursorDelete, BM_DirectDelete);

BENCHMARK_MAIN();
