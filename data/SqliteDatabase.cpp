#include "SqliteDatabase.h"

#include "SqliteBulkWriter.h"
#include "SqliteCursor.h"
#include "SqliteSchemaChange.h"
#include "SqliteSnapshot.h"
#include "SqliteStatement.h"
#include "SqliteTableFile.h"
#include "SqliteTableWriter.h"
#include "SqliteTransaction.h"
#include "TableFilesAhead.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

EngineStatus SqliteDatabase::openTable(const std::string& tableName, const std::string& indexName,
                                       std::unique_ptr<EngineCursor>& out)
{
    if (tableName.empty() || tableName.find('/') != std::string::npos)
        return EngineStatus::failure(EngineCode::TableMissing, "Invalid table name: '" + tableName + "'.",
                                     {"Directory: " + directory_});
    std::shared_ptr<SqliteTableFile> file = ahead_ ? ahead_->take(directory_, tableName) : nullptr;
    if (!file) {
        EngineStatus status = SqliteTableFile::open(directory_, tableName, file);
        if (!status.ok())
            return status;
    }
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

EngineStatus SqliteDatabase::openBulkWriter(const std::string& tableName, std::unique_ptr<BulkWriter>& out)
{
    return SqliteBulkWriter::open(directory_, tableName, out);
}

namespace {

// The size of a side file; 0 when there is none.
std::uintmax_t sideFileSize(const std::string& path)
{
    std::error_code error;
    std::uintmax_t size = std::filesystem::file_size(path, error);
    return error ? 0 : size;
}

// The version in a file's header, read as cheaply as can be: every opening
// of the database asks it of all nine files. Read from the header's bytes
// while no log or journal holds newer pages, so no connection makes (and
// closing takes away again) the log and shared memory of each file. -1 when
// it cannot be read so; the opening's own checks then settle it.
int headerVersion(const std::string& path)
{
    if (sideFileSize(path + "-wal") > 0 || sideFileSize(path + "-journal") > 0)
        return -1;
    static constexpr char magic[] = "SQLite format 3";  // with its 0, the first 16 bytes
    unsigned char header[64];
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    ssize_t got = ::pread(fd, header, sizeof header, 0);
    ::close(fd);
    if (got != static_cast<ssize_t>(sizeof header) || std::memcmp(header, magic, sizeof magic) != 0)
        return -1;
    // user_version: big-endian at offset 60; files made before versions were recorded hold 0.
    const std::uint32_t version =
        std::uint32_t(header[60]) << 24 | std::uint32_t(header[61]) << 16 | std::uint32_t(header[62]) << 8 | header[63];
    return std::max(1, static_cast<int>(version));
}

}  // namespace

EngineStatus SqliteDatabase::schemaVersions(const std::vector<std::string>& tableNames, std::map<std::string, int>& out)
{
    out.clear();
    for (const std::string& name : tableNames) {
        std::string path = directory_ + "/" + name;
        if (!std::filesystem::is_regular_file(path))
            continue;
        // What the cheap read cannot (a file with a log or journal, a file
        // that is no table), the opening's own checks settle.
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
    // Files opened ahead were opened at their old shape.
    if (ahead_)
        ahead_->discard();
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
