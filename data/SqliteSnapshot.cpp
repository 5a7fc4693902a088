#include "SqliteSnapshot.h"

#include "SqliteStatement.h"
#include "SqliteTableFile.h"

#include <cstdio>
#include <sys/stat.h>

SqliteSnapshot::~SqliteSnapshot()
{
    for (auto& [name, file] : files_)
        sqlite3_exec(file->handle(), "COMMIT", nullptr, nullptr, nullptr);
}

EngineStatus SqliteSnapshot::file(const std::string& tableName, SqliteTableFile*& out)
{
    std::shared_ptr<SqliteTableFile>& slot = files_[tableName];
    if (!slot) {
        std::shared_ptr<SqliteTableFile> opened;
        EngineStatus status = SqliteTableFile::open(directory_, tableName, opened);
        if (!status.ok()) {
            files_.erase(tableName);
            return status;
        }
        // The read transaction takes its moment at the first read.
        int rc = sqlite3_exec(opened->handle(), "BEGIN; SELECT count(*) FROM records", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) {
            files_.erase(tableName);
            return opened->sqliteFailure(rc, "Cannot read the table.");
        }
        slot = std::move(opened);
    }
    out = slot.get();
    return EngineStatus::success();
}

EngineStatus SqliteSnapshot::describe(const std::string& tableName, TableDescription& out)
{
    SqliteTableFile* table = nullptr;
    EngineStatus status = file(tableName, table);
    if (status.ok())
        out = table->description();
    return status;
}

EngineStatus SqliteSnapshot::count(const std::string& tableName, std::int64_t& out)
{
    SqliteTableFile* table = nullptr;
    EngineStatus status = file(tableName, table);
    return status.ok() ? table->count(out) : status;
}

EngineStatus SqliteSnapshot::lastRecordNumber(const std::string& tableName, std::int64_t& out)
{
    SqliteTableFile* table = nullptr;
    EngineStatus status = file(tableName, table);
    if (!status.ok())
        return status;
    SqliteStatement last;
    int rc = last.prepare(table->handle(), "SELECT max(coalesce((SELECT seq FROM sqlite_sequence WHERE name = "
                                           "'records'), 0), coalesce((SELECT max(rid) FROM records), 0))");
    if (rc == SQLITE_OK && (rc = last.step()) == SQLITE_ROW) {
        out = last.int64(0);
        return EngineStatus::success();
    }
    return table->sqliteFailure(rc, "Cannot read the table.");
}

EngineStatus SqliteSnapshot::scanSql(SqliteTableFile& table, const std::string& sql, const Each& each)
{
    SqliteStatement scan;
    int rc = scan.prepare(table.handle(), sql);
    if (rc != SQLITE_OK)
        return table.sqliteFailure(rc, "Cannot read the table.");
    EngineRecord record;
    while ((rc = scan.step()) == SQLITE_ROW) {
        table.readRow(scan, record);
        EngineStatus status = each(record);
        if (!status.ok())
            return status;
    }
    return rc == SQLITE_DONE ? EngineStatus::success() : table.sqliteFailure(rc, "Cannot read the table.");
}

EngineStatus SqliteSnapshot::scan(const std::string& tableName, const std::string& indexName, const Each& each)
{
    SqliteTableFile* table = nullptr;
    EngineStatus status = file(tableName, table);
    if (!status.ok())
        return status;
    int number = table->indexNumber(indexName);
    SqliteKeyOrder* order = nullptr;
    status = number < 0 ? table->failure(EngineCode::NoSuchIndex, "Index does not exist.", {"Index: " + indexName})
                        : table->keyOrder(number, order);
    return status.ok() ? scanSql(*table, order->scanSql("", ""), each) : status;
}

EngineStatus SqliteSnapshot::scanByRecordNumber(const std::string& tableName, const Each& each)
{
    SqliteTableFile* table = nullptr;
    EngineStatus status = file(tableName, table);
    if (!status.ok())
        return status;
    return scanSql(*table, "SELECT " + SqliteTableFile::columnList(table->description()) + " FROM records ORDER BY rid",
                   each);
}

EngineStatus SqliteSnapshot::writeTableFile(const std::string& tableName, const std::string& path)
{
    SqliteTableFile* table = nullptr;
    EngineStatus status = file(tableName, table);
    if (!status.ok())
        return status;
    std::remove(path.c_str());
    sqlite3* copy = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &copy, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_backup* backup = sqlite3_backup_init(copy, "main", table->handle(), "main");
        rc = backup ? sqlite3_backup_step(backup, -1) : sqlite3_errcode(copy);
        int finished = backup ? sqlite3_backup_finish(backup) : rc;
        rc = rc == SQLITE_DONE ? finished : rc;
    }
    // One plain file: no log beside it.
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(copy, "PRAGMA journal_mode = DELETE", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = ::chmod(path.c_str(), 0600) == 0 ? SQLITE_OK : SQLITE_CANTOPEN;
    std::string native = copy ? sqlite3_errmsg(copy) : sqlite3_errstr(rc);
    if (sqlite3_close(copy) != SQLITE_OK && rc == SQLITE_OK)
        rc = SQLITE_IOERR;
    if (rc == SQLITE_OK)
        return EngineStatus::success();
    std::remove(path.c_str());
    return table->failure(EngineCode::IoError, "Cannot write the copy of the table.", {path + ": " + native});
}
