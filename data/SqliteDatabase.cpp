#include "SqliteDatabase.h"

#include "SqliteCursor.h"
#include "SqliteSchemaChange.h"
#include "SqliteSnapshot.h"
#include "SqliteStatement.h"
#include "SqliteTableFile.h"
#include "SqliteTableWriter.h"
#include "SqliteTransaction.h"

#include <algorithm>
#include <filesystem>

EngineStatus SqliteDatabase::openTable(const std::string& tableName, const std::string& indexName,
                                       std::unique_ptr<EngineCursor>& out)
{
    if (tableName.empty() || tableName.find('/') != std::string::npos)
        return EngineStatus::failure(EngineCode::TableMissing, "Invalid table name: '" + tableName + "'.",
                                     {"Directory: " + directory_});
    std::shared_ptr<SqliteTableFile> file;
    EngineStatus status = SqliteTableFile::open(directory_, tableName, file);
    if (!status.ok())
        return status;
    return SqliteCursor::open(std::move(file), indexName, out);
}

EngineStatus SqliteDatabase::openSnapshot(std::unique_ptr<EngineSnapshot>& out)
{
    out = std::make_unique<SqliteSnapshot>(directory_);
    return EngineStatus::success();
}

EngineStatus SqliteDatabase::openWriter(const std::string& tableName, std::unique_ptr<TableWriter>& out)
{
    return SqliteTableWriter::open(directory_, tableName, out);
}

namespace {

// The version in a file's header, read as cheaply as can be: every opening
// of the database asks it of all nine files. -1 when it cannot be read so.
// Writable, as a table opens, so that closing takes away the log and shared
// memory a read opened (a read-only connection would leave them behind).
int headerVersion(const std::string& path)
{
    sqlite3* db = nullptr;
    int version = -1;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
        sqlite3_db_readonly(db, "main") == 0) {
        SqliteStatement read;
        if (read.prepare(db, "PRAGMA user_version") == SQLITE_OK && read.step() == SQLITE_ROW)
            version = std::max(1, static_cast<int>(read.int64(0)));
    }
    sqlite3_close(db);
    return version;
}

}  // namespace

EngineStatus SqliteDatabase::schemaVersions(const std::vector<std::string>& tableNames, std::map<std::string, int>& out)
{
    out.clear();
    for (const std::string& name : tableNames) {
        std::string path = directory_ + "/" + name;
        if (!std::filesystem::is_regular_file(path))
            continue;
        // What the cheap read cannot (a directory this user cannot write,
        // a file that is no table), the opening's own checks settle.
        std::shared_ptr<SqliteTableFile> file;
        if (int version = headerVersion(path); version > 0)
            out[name] = version;
        else if (SqliteTableFile::openAnyVersion(directory_, name, file).ok())
            out[name] = file->description().version;
    }
    return EngineStatus::success();
}

namespace {

// One table file brought from its version to steps.version() in one
// transaction: a kill at any moment leaves it at the old version with all
// its records or at the new one.
EngineStatus upgradeFile(const std::string& directory, const std::string& name, const SchemaSteps& steps,
                         std::vector<std::string>& lines)
{
    std::shared_ptr<SqliteTableFile> file;
    EngineStatus status = SqliteTableFile::openAnyVersion(directory, name, file);
    if (!status.ok() || file->description().version == steps.version())
        return status;
    if (file->readOnly())
        return file->readOnlyFailure();
    status = file->readyForWriting();
    sqlite3* db = file->handle();
    SqliteTransaction transaction(db);
    int rc = status.ok() ? transaction.begin() : SQLITE_OK;
    if (rc != SQLITE_OK)
        return file->sqliteFailure(rc, "Cannot upgrade the table.");
    // Another program may have upgraded it since it was opened.
    SqliteStatement read;
    rc = read.prepare(db, "PRAGMA user_version");
    if (rc == SQLITE_OK)
        rc = read.step();
    if (rc != SQLITE_ROW)
        return file->sqliteFailure(rc, "Cannot upgrade the table.");
    int from = std::max(1, static_cast<int>(read.int64(0)));
    read.reset();
    if (from > steps.version())
        return file->failure(EngineCode::SchemaNewer, SchemaSteps::newerMessage(),
                             {SchemaSteps::newerDetail(name, from, steps.version())});
    if (from == steps.version())
        return EngineStatus::success();
    SqliteSchemaChange change(db, name, file->description().path);
    std::vector<std::string> done;
    status = steps.run(change, from, [&](const std::string& line) { done.push_back(line); });
    if (status.ok())
        status = change.execute("PRAGMA user_version = " + std::to_string(steps.version()));
    if (status.ok() && (rc = transaction.commit()) != SQLITE_OK)
        status = file->sqliteFailure(rc, "Cannot upgrade the table.");
    if (status.ok())
        lines.insert(lines.end(), done.begin(), done.end());
    return status;
}

}  // namespace

EngineStatus SqliteDatabase::upgradeSchema(const std::vector<std::string>& tableNames, const SchemaSteps& steps,
                                           const std::function<void(const std::string&)>& say)
{
    for (const std::string& name : tableNames) {
        if (!std::filesystem::exists(directory_ + "/" + name))
            continue;
        std::vector<std::string> lines;
        EngineStatus status = upgradeFile(directory_, name, steps, lines);
        for (const std::string& line : lines)
            if (say)
                say(line);
        if (!status.ok())
            return status;
    }
    return EngineStatus::success();
}
