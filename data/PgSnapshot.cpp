#include "PgSnapshot.h"

#include "PgConnection.h"
#include "PgTable.h"
#include "SqliteStatement.h"
#include "SqliteTableFile.h"

#include <cstdio>
#include <map>
#include <sys/stat.h>

EngineStatus PgSnapshot::open(const PgConnection& shared, std::unique_ptr<EngineSnapshot>& out)
{
    std::shared_ptr<PgConnection> connection;
    EngineStatus status = shared.openAnother(connection);
    if (status.ok())
        status = connection->runScript("BEGIN ISOLATION LEVEL REPEATABLE READ", "Cannot read the database.");
    if (!status.ok())
        return status;
    out.reset(new PgSnapshot(std::move(connection)));
    return EngineStatus::success();
}

PgSnapshot::~PgSnapshot()
{
    tables_.clear();
    (void)connection_->runScript("ROLLBACK", "Cannot end the reading.");
}

const std::string& PgSnapshot::location() const
{
    return connection_->location();
}

EngineStatus PgSnapshot::table(const std::string& tableName, PgTable*& out)
{
    std::shared_ptr<PgTable>& slot = tables_[tableName];
    if (!slot) {
        std::shared_ptr<PgTable> opened;
        EngineStatus status = PgTable::open(connection_, tableName, opened);
        if (!status.ok()) {
            tables_.erase(tableName);
            return status;
        }
        slot = std::move(opened);
    }
    out = slot.get();
    return EngineStatus::success();
}

EngineStatus PgSnapshot::describe(const std::string& tableName, TableDescription& out)
{
    PgTable* found = nullptr;
    EngineStatus status = table(tableName, found);
    if (status.ok())
        out = found->description();
    return status;
}

EngineStatus PgSnapshot::count(const std::string& tableName, std::int64_t& out)
{
    PgTable* found = nullptr;
    EngineStatus status = table(tableName, found);
    return status.ok() ? found->count(out) : status;
}

EngineStatus PgSnapshot::lastRecordNumber(const std::string& tableName, std::int64_t& out)
{
    PgTable* found = nullptr;
    EngineStatus status = table(tableName, found);
    if (!status.ok())
        return status;
    // The sequence is outside any snapshot: at least the highest number the
    // snapshot holds.
    PgResult result;
    status = connection_->run("SELECT greatest(coalesce(pg_sequence_last_value(pg_get_serial_sequence($1, 'rid')::"
                              "regclass), 0), coalesce((SELECT max(rid) FROM " +
                                  found->qualifiedName() + "), 0))",
                              {found->qualifiedName()}, result, "Cannot read the table.");
    if (!status.ok())
        return found->withContext(status);
    out = result.int64(0, 0);
    return EngineStatus::success();
}

EngineStatus PgSnapshot::stream(PgTable& found, const std::string& orderBy, const Each& each)
{
    PGconn* conn = connection_->handle();
    auto failed = [&](const PgResult& result) {
        return found.failure(EngineCode::IoError, "Cannot read the table.",
                             {result.get() ? PQresultErrorMessage(result.get()) : PQerrorMessage(conn)});
    };
    // A cursor of the transaction, read a batch at a time.
    const std::string sql = "DECLARE arsipstaf_scan NO SCROLL CURSOR FOR SELECT " + found.selectList() + " FROM " +
                            found.qualifiedName() + " ORDER BY " + orderBy;
    PgResult declared(PQexec(conn, sql.c_str()));
    if (PQresultStatus(declared.get()) != PGRES_COMMAND_OK)
        return failed(declared);
    EngineStatus status;
    EngineRecord record;
    for (int rows = fetchSize; status.ok() && rows == fetchSize;) {
        PgResult batch(PQexec(conn, ("FETCH " + std::to_string(fetchSize) + " FROM arsipstaf_scan").c_str()));
        if (PQresultStatus(batch.get()) != PGRES_TUPLES_OK)
            return failed(batch);
        rows = batch.rows();
        for (int row = 0; row < rows && status.ok(); ++row) {
            found.readRow(batch, row, record);
            status = each(record);
        }
    }
    PgResult closed(PQexec(conn, "CLOSE arsipstaf_scan"));
    if (status.ok() && PQresultStatus(closed.get()) != PGRES_COMMAND_OK)
        return failed(closed);
    return status;
}

EngineStatus PgSnapshot::scan(const std::string& tableName, const std::string& indexName, const Each& each)
{
    PgTable* found = nullptr;
    EngineStatus status = table(tableName, found);
    if (!status.ok())
        return status;
    int number = found->indexNumber(indexName);
    PgKeyOrder* order = nullptr;
    status = number < 0 ? found->failure(EngineCode::NoSuchIndex, "Index does not exist.", {"Index: " + indexName})
                        : found->keyOrder(number, order);
    return status.ok() ? stream(*found, order->orderBy(), each) : status;
}

EngineStatus PgSnapshot::scanByRecordNumber(const std::string& tableName, const Each& each)
{
    PgTable* found = nullptr;
    EngineStatus status = table(tableName, found);
    return status.ok() ? stream(*found, "rid", each) : status;
}

namespace {

// A connection to a new table file, closed with the object.
class CopyFile {
public:
    ~CopyFile() { sqlite3_close(db_); }
    int open(const std::string& path) { return sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr); }
    sqlite3* db() const { return db_; }

private:
    sqlite3* db_ = nullptr;
};

}  // namespace

EngineStatus PgSnapshot::writeTableFile(const std::string& tableName, const std::string& path)
{
    PgTable* found = nullptr;
    EngineStatus status = table(tableName, found);
    std::int64_t last = 0;
    if (status.ok())
        status = lastRecordNumber(tableName, last);
    if (!status.ok())
        return status;
    std::remove(path.c_str());
    TableDescription description = found->description();
    // The copy records the shape version the server's table has.
    std::map<std::string, int> versions;
    status = PgTable::readVersions(found->connection(), versions);
    if (!status.ok())
        return status;
    if (auto version = versions.find(tableName); version != versions.end())
        description.version = version->second;
    status = SqliteTableFile::create(path, description, 0600);
    if (!status.ok())
        return status;
    CopyFile copy;
    int rc = copy.open(path);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(copy.db(), "PRAGMA journal_mode = DELETE; BEGIN", nullptr, nullptr, nullptr);
    SqliteStatement insert;
    std::string placeholders = "?";
    for (size_t i = 0; i < description.fields.size(); ++i)
        placeholders += ", ?";
    if (rc == SQLITE_OK)
        rc = insert.prepare(copy.db(), "INSERT INTO records (" + SqliteTableFile::columnList(description) +
                                           ") VALUES (" + placeholders + ")");
    if (rc == SQLITE_OK)
        status = stream(*found, "rid", [&](const EngineRecord& record) {
            insert.bindInt64(1, record.bookmark);
            for (size_t i = 0; i < record.values.size(); ++i)
                insert.bind(static_cast<int>(i) + 2, record.values[i]);
            int stepped = insert.step();
            insert.reset();
            return stepped == SQLITE_DONE ? EngineStatus::success()
                                          : found->failure(EngineCode::IoError, "Cannot write the copy of the table.",
                                                           {path + ": " + sqlite3_errmsg(copy.db())});
        });
    if (rc == SQLITE_OK && status.ok()) {
        SqliteStatement sequence;
        rc = sqlite3_exec(copy.db(), "DELETE FROM sqlite_sequence WHERE name = 'records'", nullptr, nullptr, nullptr);
        if (rc == SQLITE_OK)
            rc = sequence.prepare(copy.db(), "INSERT INTO sqlite_sequence (name, seq) VALUES ('records', ?)");
        if (rc == SQLITE_OK) {
            sequence.bindInt64(1, last);
            rc = sequence.step() == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(copy.db());
        }
    }
    if (rc == SQLITE_OK && status.ok())
        rc = sqlite3_exec(copy.db(), "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK && status.ok())
        status = found->failure(EngineCode::IoError, "Cannot write the copy of the table.",
                                {path + ": " + (copy.db() ? sqlite3_errmsg(copy.db()) : sqlite3_errstr(rc))});
    if (!status.ok())
        std::remove(path.c_str());
    return status;
}
