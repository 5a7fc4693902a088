#include "BackupCommand.h"

#include "AliasDatabase.h"
#include "BackupManifest.h"
#include "DefaultTableFiles.h"
#include "ReplacingFile.h"
#include "Sha256.h"
#include "SqliteCopy.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string utcNow()
{
    std::time_t now = std::time(nullptr);
    std::tm parts{};
    gmtime_r(&now, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return text;
}

// Written beside its place, synced, and only then given its name.
std::string writeDurably(const std::string& path, const std::string& text)
{
    ReplacingFile file(path);
    if (file.write(text) && file.commit())
        return std::string();
    return file.error();
}

bool syncFile(const std::string& path)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

// One table into target; fills its manifest entry. Empty when done.
std::string copyTable(const std::string& source, const std::string& target, BackupManifest::Table& entry)
{
    std::string error;
    sqlite3* from = SqliteCopy::open(source, false, false, error);
    if (!from)
        return error;
    std::string part = target + ".part";
    std::remove(part.c_str());
    sqlite3* to = SqliteCopy::open(part, false, true, error);
    if (!to) {
        sqlite3_close(from);
        return error;
    }
    error = SqliteCopy::copy(from, to);
    sqlite3_close(from);
    // The copy is one plain file: no log beside it.
    if (error.empty() && sqlite3_exec(to, "PRAGMA journal_mode = DELETE", nullptr, nullptr, nullptr) != SQLITE_OK)
        error = sqlite3_errmsg(to);
    if (error.empty()) {
        std::string check = SqliteCopy::integrity(to);
        if (check != "ok")
            error = "the copy fails the integrity check: " + check;
    }
    if (error.empty())
        SqliteCopy::counts(to, entry.records, entry.last, error);
    sqlite3_close(to);
    if (error.empty() &&
        (::chmod(part.c_str(), 0600) != 0 || !syncFile(part) || std::rename(part.c_str(), target.c_str()) != 0))
        error = "cannot write " + target;
    if (!error.empty()) {
        std::remove(part.c_str());
        return error;
    }
    entry.sha256 = Sha256::ofFile(target);
    entry.bytes = static_cast<std::int64_t>(std::filesystem::file_size(target));
    return entry.sha256.empty() ? "cannot read " + target : std::string();
}

}  // namespace

int BackupCommand::run(const std::string& directory, std::ostream& out, std::ostream& err)
{
    std::unique_ptr<EngineDatabase> database;
    if (!AliasDatabase::open(database, err))
        return 1;
    std::error_code failed;
    // A backup holds every employee's personal data: a new folder is ours only.
    if (std::filesystem::create_directories(directory, failed) && !failed)
        std::filesystem::permissions(directory, std::filesystem::perms::owner_all, failed);
    if (failed) {
        err << "backup: cannot make " << directory << ": " << failed.message() << '\n';
        return 1;
    }
    const std::string manifestPath = directory + "/" + BackupManifest::fileName;
    if (std::filesystem::exists(manifestPath)) {
        err << "backup: " << directory << " already holds a backup; give a new directory\n";
        return 1;
    }
    BackupManifest manifest;
    manifest.taken = utcNow();
    manifest.source = database->directory();
    for (const DefaultTableFiles::File& file : DefaultTableFiles::all()) {
        BackupManifest::Table entry;
        entry.name = file.description.tableName;
        std::string error = copyTable(database->directory() + "/" + entry.name, directory + "/" + entry.name, entry);
        if (!error.empty()) {
            err << "backup: " << entry.name << ": " << error << "; the backup is incomplete\n";
            return 1;
        }
        out << entry.name << ": " << entry.records << " records\n";
        manifest.tables.push_back(entry);
    }
    if (std::string error = writeDurably(manifestPath, manifest.text()); !error.empty()) {
        err << "backup: " << error << "; the backup is incomplete\n";
        return 1;
    }
    out << "Backup of " << manifest.source << " written to " << directory << '\n';
    return 0;
}
