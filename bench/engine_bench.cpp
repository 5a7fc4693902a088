// Cursor operations beside the same query issued straight through SQLite
// with a reused prepared statement, on employee tables of 1,000 and
// 1,000,000 records made by `arsipstaf-admin generate` (kept for reruns, see
// BenchData.h). The direct side reads a row as a plain C reader does: each
// column's text pointer and length, nothing copied. Writes are timed in wall
// time, which holds the wait for the disk.
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
    SqliteStatement first, last, firstTen, next, prior, seek, find, byRowid, insert, update, remove;
    std::string columns;

    explicit Direct(const std::string& path, const TableDescription& table)
    {
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_exec(db, "PRAGMA journal_mode = WAL; PRAGMA synchronous = FULL", nullptr, nullptr, nullptr);
        sqlite3_busy_timeout(db, 5000);
        std::string select = "SELECT " + SqliteTableFile::columnList(table) + " FROM records ";
        first.prepare(db, select + "ORDER BY NIP LIMIT 1");
        last.prepare(db, select + "ORDER BY NIP DESC LIMIT 1");
        firstTen.prepare(db, select + "ORDER BY NIP LIMIT 10");
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

    // Steps once and reads the row as a plain C reader would: each column's
    // text and length; out keeps the key column (1, NIP) for the next seek.
    bool row(SqliteStatement& s, std::string* key = nullptr)
    {
        bool found = s.step() == SQLITE_ROW;
        if (found) {
            readColumns(s);
            if (key)
                key->assign(reinterpret_cast<const char*>(sqlite3_column_text(s.get(), 1)),
                            static_cast<size_t>(sqlite3_column_bytes(s.get(), 1)));
        }
        s.reset();
        return found;
    }
    // Every row of a run.
    int rows(SqliteStatement& s)
    {
        int count = 0;
        for (; s.step() == SQLITE_ROW; ++count)
            readColumns(s);
        s.reset();
        return count;
    }
    static void readColumns(SqliteStatement& s)
    {
        for (int i = 0, n = sqlite3_column_count(s.get()); i < n; ++i) {
            const unsigned char* text = sqlite3_column_text(s.get(), i);
            benchmark::DoNotOptimize(text);
            benchmark::DoNotOptimize(sqlite3_column_bytes(s.get(), i));
        }
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
    for (auto _ : state)
        require(state, t.direct->row(t.direct->first));
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
    for (auto _ : state)
        require(state, t.direct->row(t.direct->last));
}

// A record window's ten rows: one run against one LIMIT 10 statement.
void BM_CursorFirstTen(benchmark::State& state)
{
    Table& t = table(state.range(0));
    std::vector<EngineRecord> run;
    for (auto _ : state)
        require(state, t.cursor->setToBegin().ok() && t.cursor->getNextRecords(10, run).ok() && run.size() == 10);
}

void BM_DirectFirstTen(benchmark::State& state)
{
    Table& t = table(state.range(0));
    for (auto _ : state)
        require(state, t.direct->rows(t.direct->firstTen) == 10);
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
    std::string nip;
    for (auto _ : state) {
        t.direct->next.bindText(1, nip);
        if (!t.direct->row(t.direct->next, &nip))
            nip.clear();
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
    std::string nip = "9999999999";
    for (auto _ : state) {
        t.direct->prior.bindText(1, nip);
        if (!t.direct->row(t.direct->prior, &nip))
            nip = "9999999999";
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
    size_t i = 0;
    for (auto _ : state) {
        t.direct->seek.bindText(1, t.names[i++ % t.names.size()]);
        require(state, t.direct->row(t.direct->seek));
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
    size_t i = 0;
    for (auto _ : state) {
        t.direct->find.bindText(1, t.nips[i++ % t.nips.size()]);
        require(state, t.direct->row(t.direct->find));
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
    for (auto _ : state) {
        t.direct->byRowid.bindInt64(1, rowid);
        require(state, t.direct->row(t.direct->byRowid));
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

}  // namespace

#define PAIR(cursor, direct)                                                                                           \
    BENCHMARK(cursor)->Arg(1000)->Arg(1000000);                                                                        \
    BENCHMARK(direct)->Arg(1000)->Arg(1000000)

PAIR(BM_CursorFirst, BM_DirectFirst);
PAIR(BM_CursorLast, BM_DirectLast);
PAIR(BM_CursorFirstTen, BM_DirectFirstTen);
PAIR(BM_CursorNext, BM_DirectNext);
PAIR(BM_CursorPrior, BM_DirectPrior);
PAIR(BM_CursorSeekName, BM_DirectSeekName);
PAIR(BM_CursorFindNip, BM_DirectFindNip);
PAIR(BM_CursorSwitchIndex, BM_DirectReadByRowid);
#define WALL_PAIR(cursor, direct)                                                                                      \
    BENCHMARK(cursor)->Arg(1000)->Arg(1000000)->UseRealTime();                                                         \
    BENCHMARK(direct)->Arg(1000)->Arg(1000000)->UseRealTime()

WALL_PAIR(BM_CursorInsert, BM_DirectInsert);
WALL_PAIR(BM_CursorModify, BM_DirectModify);
WALL_PAIR(BM_CursorDelete, BM_DirectDelete);

BENCHMARK_MAIN();
