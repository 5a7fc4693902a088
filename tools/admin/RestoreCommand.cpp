#include "RestoreCommand.h"

#include "AliasDatabase.h"
#include "BackupManifest.h"
#include "DefaultTableFiles.h"
#include "Sha256.h"
#include "SqliteCopy.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

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

// Records added to the live table after the backup: its highest record
// number is beyond the backup's. Empty when there are none.
std::string newer(const std::string& path, const BackupManifest::Table& entry)
{
    if (!std::filesystem::exists(path))
        return std::string();
    std::string error;
    sqlite3* db = SqliteCopy::open(path, false, false, error);
    std::int64_t records = 0, last = 0;
    bool read = db && SqliteCopy::counts(db, records, last, error);
    sqlite3_close(db);
    if (!read)
        return std::string();  // unreadable: a damaged table is what a restore mends
    if (last <= entry.last)
        return std::string();
    return entry.name + " holds records added after the backup (record number " + std::to_string(last) +
           ", the backup's highest " + std::to_string(entry.last) + ")";
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

    std::unique_ptr<EngineDatabase> database;
    if (!AliasDatabase::open(database, err))
        return 1;
    const std::string target = database->directory();
    if (!force) {
        for (const BackupManifest::Table& table : manifest.tables) {
            std::string why = newer(target + "/" + table.name, table);
            if (!why.empty()) {
                err << "restore: " << why << '\n';
                ++problems;
            }
        }
        if (problems) {
            err << "restore: nothing changed; restore with --force to drop those records\n";
            return 1;
        }
    }
    for (const BackupManifest::Table& table : manifest.tables) {
        sqlite3* from = SqliteCopy::open(directory + "/" + table.name, true, false, error);
        sqlite3* to = from ? SqliteCopy::open(target + "/" + table.name, false, true, error) : nullptr;
        if (to)
            error = SqliteCopy::copy(from, to);
        std::int64_t records = -1, last = 0;
        if (to && error.empty())
            SqliteCopy::counts(to, records, last, error);
        sqlite3_close(from);
        sqlite3_close(to);
        if (error.empty() && records != table.records)
            error = "it holds " + std::to_string(records) + " records after the copy";
        if (!error.empty()) {
            err << "restore: " << table.name << ": " << error << '\n';
            return 1;
        }
        out << table.name << ": " << table.records << " records restored\n";
    }
    out << "Backup of " << manifest.taken << " restored into " << target << '\n';
    return 0;
}
