#include "BackupCommand.h"

#include "AliasDatabase.h"
#include "BackupManifest.h"
#include "DefaultTableFiles.h"
#include "EDBEngineError.h"
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

// Written beside its name, synced and only then given it.
bool writeDurably(const std::string& path, const std::string& text)
{
    ReplacingFile file(path, 0600);
    return file.write(text) && file.commit();
}

bool syncFile(const std::string& path)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

// One table of the snapshot into target; fills its manifest entry. Empty
// when done.
std::string copyTable(EngineSnapshot& snapshot, const std::string& target, BackupManifest::Table& entry)
{
    std::string part = target + ".part";
    EngineStatus status = snapshot.writeTableFile(entry.name, part);
    if (!status.ok())
        return EDBEngineError::describe(status);
    std::string error;
    sqlite3* copy = SqliteCopy::open(part, false, false, error);
    if (copy) {
        std::string check = SqliteCopy::integrity(copy);
        if (check != "ok")
            error = "the copy fails the integrity check: " + check;
        if (error.empty())
            SqliteCopy::counts(copy, entry.records, entry.last, error);
        sqlite3_close(copy);
    }
    if (error.empty() && (!syncFile(part) || std::rename(part.c_str(), target.c_str()) != 0))
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
    // Every table as it stood at one moment (on a server one transaction).
    std::unique_ptr<EngineSnapshot> snapshot;
    EngineStatus status = database->openSnapshot(snapshot);
    if (!status.ok()) {
        err << EDBEngineError::describe(status) << '\n';
        return 1;
    }
    BackupManifest manifest;
    manifest.taken = utcNow();
    manifest.source = database->directory();
    for (const DefaultTableFiles::File& file : DefaultTableFiles::all()) {
        BackupManifest::Table entry;
        entry.name = file.description.tableName;
        std::string error = copyTable(*snapshot, directory + "/" + entry.name, entry);
        if (!error.empty()) {
            err << "backup: " << entry.name << ": " << error << "; the backup is incomplete\n";
            return 1;
        }
        out << entry.name << ": " << entry.records << " records\n";
        manifest.tables.push_back(entry);
    }
    if (!writeDurably(manifestPath, manifest.text())) {
        err << "backup: cannot write " << manifestPath << "; the backup is incomplete\n";
        return 1;
    }
    out << "Backup of " << manifest.source << " written to " << directory << '\n';
    return 0;
}
