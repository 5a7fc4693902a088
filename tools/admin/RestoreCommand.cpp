#include "RestoreCommand.h"

#include "AliasDatabase.h"
#include "BackupManifest.h"
#include "DefaultTableFiles.h"
#include "EDBEngineError.h"
#include "FieldValue.h"
#include "ServerDatabase.h"
#include "Sha256.h"
#include "SqliteCopy.h"
#include "TableFileAccess.h"
#include "TableFiles.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <sys/stat.h>

namespace {

// Why the backup copy of a table cannot be restored; empty when it can.
std::string verify(const std::string& path, const BackupManifest::Table& entry)
{
    std::error_code failed;
    auto bytes = std::filesystem::file_size(path, failed);
    if (failed)
        return "the file is missing";
    if (static_cast<std::int64_t>(bytes) != entry.bytes)
        return "the file holds " + std::to_string(bytes) + " bytes, the manifest says " + std::to_string(entry.bytes);
    if (Sha256::ofFile(path) != entry.sha256)
        return "the checksum differs from the manifest's";
    std::string error;
    sqlite3* db = SqliteCopy::open(path, true, false, error);
    if (!db)
        return error;
    std::string check = SqliteCopy::integrity(db);
    std::int64_t records = 0, last = 0;
    if (check == "ok" && !SqliteCopy::counts(db, records, last, error))
        check = error;
    sqlite3_close(db);
    if (check != "ok")
        return "the integrity check fails: " + check;
    if (records != entry.records || last != entry.last)
        return "it holds " + std::to_string(records) + " records, the manifest says " + std::to_string(entry.records);
    return std::string();
}

// A table file of the backup, read in record-number order with the columns
// of the target's description.
class BackupRows {
public:
    ~BackupRows()
    {
        sqlite3_finalize(stmt_);
        sqlite3_close(db_);
    }
    // Empty when open; why not otherwise.
    std::string open(const std::string& path, const TableDescription& target)
    {
        std::string error;
        db_ = SqliteCopy::open(path, true, false, error);
        if (!db_)
            return error;
        std::string sql = "SELECT rid";
        for (const FieldDescription& field : target.fields)
            sql += ", " + TableFiles::quote(field.name);
        if (sqlite3_prepare_v2(db_, (sql + " FROM records ORDER BY rid").c_str(), -1, &stmt_, nullptr) != SQLITE_OK)
            return path + ": " + sqlite3_errmsg(db_);
        return std::string();
    }
    // The next record; false at the end or on a failure (error() then says).
    bool next(EngineRecord& record)
    {
        int rc = sqlite3_step(stmt_);
        if (rc != SQLITE_ROW) {
            if (rc != SQLITE_DONE)
                error_ = sqlite3_errmsg(db_);
            return false;
        }
        record.bookmark = sqlite3_column_int64(stmt_, 0);
        record.values.resize(static_cast<size_t>(sqlite3_column_count(stmt_) - 1));
        for (size_t i = 0; i < record.values.size(); ++i) {
            const unsigned char* text = sqlite3_column_text(stmt_, static_cast<int>(i) + 1);
            record.values[i] = text ? FieldValue(reinterpret_cast<const char*>(text)) : FieldValue();
        }
        return true;
    }
    const std::string& error() const { return error_; }

private:
    sqlite3* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
    std::string error_;
};

// What a restore would undo in one table: records changed since the backup,
// records deleted since (numbers the table gave out that it no longer
// holds), and records added since (numbers the backup lacks).
struct Differences {
    std::int64_t changed = 0, deleted = 0, added = 0;
    bool any() const { return changed || deleted || added; }
    std::string text() const
    {
        return std::to_string(changed) + " changed, " + std::to_string(deleted) + " deleted, " + std::to_string(added) +
               " added since the backup";
    }
};

// Compares the target's table with its backup copy, both in record-number
// order, one record of each at a time. Empty when compared.
std::string compare(EngineSnapshot& target, const std::string& backupPath, const std::string& tableName,
                    Differences& out)
{
    TableDescription description;
    std::int64_t last = 0;
    EngineStatus status = target.describe(tableName, description);
    if (status.ok())
        status = target.lastRecordNumber(tableName, last);
    if (!status.ok())
        return EDBEngineError::describe(status);
    BackupRows backup;
    std::string error = backup.open(backupPath, description);
    if (!error.empty())
        return error;
    EngineRecord saved;
    bool more = backup.next(saved);
    // A backup record the target lacks: deleted there, unless the target
    // never gave out its number (a younger database).
    auto missing = [&](const EngineRecord& record) { out.deleted += record.bookmark <= last; };
    status = target.scanByRecordNumber(tableName, [&](const EngineRecord& live) {
        while (more && saved.bookmark < live.bookmark) {
            missing(saved);
            more = backup.next(saved);
        }
        if (more && saved.bookmark == live.bookmark) {
            out.changed += !sameStoredValues(saved.values, live.values);
            more = backup.next(saved);
        } else {
            ++out.added;
        }
        return EngineStatus::success();
    });
    for (; more && status.ok(); more = backup.next(saved))
        missing(saved);
    if (!status.ok())
        return EDBEngineError::describe(status);
    return backup.error();
}

// Puts one table of the backup in place of the target's, in one
// transaction. Empty when done.
std::string putBack(EngineDatabase& target, const std::string& backupPath, const BackupManifest::Table& table)
{
    std::unique_ptr<TableWriter> writer;
    EngineStatus status = target.openWriter(table.name, writer);
    if (status.ok())
        status = writer->removeAll();
    if (!status.ok())
        return EDBEngineError::describe(status);
    BackupRows backup;
    std::string error = backup.open(backupPath, writer->description());
    if (!error.empty())
        return error;
    EngineRecord record;
    std::int64_t records = 0;
    while (status.ok() && backup.next(record)) {
        status = writer->insertNumbered(record);
        ++records;
    }
    if (status.ok() && backup.error().empty())
        status = writer->setLastRecordNumber(table.last);
    if (!status.ok())
        return EDBEngineError::describe(status);
    if (!backup.error().empty())
        return backup.error();
    if (records != table.records)
        return "it holds " + std::to_string(records) + " records, the manifest says " + std::to_string(table.records);
    status = writer->commit();
    return status.ok() ? std::string() : EDBEngineError::describe(status);
}

// A damaged table file (not a table, or not one of ours) is what a forced
// restore mends: the file and its side files are moved aside, never
// deleted, and the table is then made anew.
bool damaged(const EngineStatus& status, const EngineDatabase& target)
{
    return (status.code == EngineCode::TableCorrupt || status.code == EngineCode::NotATable) &&
           !dynamic_cast<const ServerDatabase*>(&target);
}

EngineStatus moveAside(const std::string& path)
{
    for (const std::string& file : TableFileAccess::sideFiles(path))
        if (std::rename(file.c_str(), (file + ".damaged").c_str()) != 0 && errno != ENOENT)
            return EngineStatus::failure(EngineCode::IoError, "Cannot move " + file + " aside.",
                                         {std::strerror(errno)});
    if (std::rename(path.c_str(), (path + ".damaged").c_str()) != 0)
        return EngineStatus::failure(EngineCode::IoError, "Cannot move " + path + " aside.", {std::strerror(errno)});
    return EngineStatus::success();
}

// Makes the tables the target lacks, as init does, and (only with force)
// those it holds damaged; names them in created. Without force a damaged
// table is refused before anything is changed.
EngineStatus createMissing(EngineDatabase& target, bool force, std::vector<std::string>& created)
{
    std::vector<std::string> broken;
    for (const DefaultTableFiles::File& file : DefaultTableFiles::all()) {
        std::unique_ptr<EngineCursor> cursor;
        EngineStatus status = target.openTable(file.description.tableName, "", cursor);
        if (status.code == EngineCode::TableMissing)
            created.push_back(file.description.tableName);
        else if (damaged(status, target) && force)
            broken.push_back(file.description.tableName);
        else if (!status.ok())
            return status;
    }
    for (const std::string& name : broken) {
        EngineStatus status = moveAside(target.directory() + "/" + name);
        if (!status.ok())
            return status;
        created.push_back(name);
    }
    if (created.empty())
        return EngineStatus::success();
    std::vector<std::string> report;
    if (auto* server = dynamic_cast<ServerDatabase*>(&target))
        return DefaultTableFiles::createOnServer(*server, report);
    // As private as init makes them, or shared as init --group shares them.
    DefaultTableFiles::Modes modes;
    struct stat directory {};
    if (::stat(target.directory().c_str(), &directory) == 0 && (directory.st_mode & S_ISGID))
        modes = DefaultTableFiles::Modes::sharedBy(directory.st_gid);
    return DefaultTableFiles::createIn(target.directory(), report, modes);
}

}  // namespace

int RestoreCommand::run(const std::string& directory, bool force, std::ostream& out, std::ostream& err)
{
    std::ifstream in(directory + "/" + BackupManifest::fileName, std::ios::binary);
    if (!in) {
        err << "restore: " << directory << " holds no complete backup (no manifest); nothing changed\n";
        return 1;
    }
    std::stringstream text;
    text << in.rdbuf();
    BackupManifest manifest;
    std::string error;
    if (!BackupManifest::parse(text.str(), manifest, error)) {
        err << "restore: " << error << "; nothing changed\n";
        return 1;
    }
    // The target first: a database that cannot be opened is said at once.
    std::unique_ptr<EngineDatabase> database;
    if (!AliasDatabase::open(database, err))
        return 1;

    std::map<std::string, const BackupManifest::Table*> entries;
    for (const BackupManifest::Table& table : manifest.tables)
        entries[table.name] = &table;
    int problems = 0;
    for (const DefaultTableFiles::File& file : DefaultTableFiles::all()) {
        const std::string& name = file.description.tableName;
        auto entry = entries.find(name);
        std::string why =
            entry == entries.end() ? "not in the manifest" : verify(directory + "/" + name, *entry->second);
        if (!why.empty()) {
            err << "restore: " << name << ": " << why << '\n';
            ++problems;
        }
    }
    if (problems || entries.size() != DefaultTableFiles::all().size()) {
        err << "restore: the backup in " << directory << " is damaged or incomplete; nothing changed\n";
        return 1;
    }

    std::vector<std::string> created;
    EngineStatus status = createMissing(*database, force, created);
    if (!status.ok()) {
        err << "restore: " << EDBEngineError::describe(status) << '\n';
        if (damaged(status, *database))
            err << "restore: nothing changed; restore with --force to replace the damaged table\n";
        return 1;
    }
    if (!force) {
        std::unique_ptr<EngineSnapshot> snapshot;
        status = database->openSnapshot(snapshot);
        if (!status.ok()) {
            err << "restore: " << EDBEngineError::describe(status) << '\n';
            return 1;
        }
        for (const BackupManifest::Table& table : manifest.tables) {
            if (std::find(created.begin(), created.end(), table.name) != created.end())
                continue;
            Differences differences;
            std::string why = compare(*snapshot, directory + "/" + table.name, table.name, differences);
            if (!why.empty()) {
                err << "restore: " << table.name << ": " << why << "; nothing changed\n";
                return 1;
            }
            if (differences.any()) {
                err << "restore: " << table.name << ": " << differences.text() << '\n';
                ++problems;
            }
        }
        if (problems) {
            err << "restore: nothing changed; restore with --force to undo those changes\n";
            return 1;
        }
    }
    for (const BackupManifest::Table& table : manifest.tables) {
        error = putBack(*database, directory + "/" + table.name, table);
        if (!error.empty()) {
            err << "restore: " << table.name << ": " << error << '\n';
            return 1;
        }
        out << table.name << ": " << table.records << " records restored\n";
    }
    out << "Backup of " << manifest.taken << " restored into " << database->directory() << '\n';
    return 0;
}
