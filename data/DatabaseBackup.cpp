#include "DatabaseBackup.h"

#include "BackupManifest.h"
#include "EDBEngineError.h"
#include "ReplacingFile.h"
#include "Sha256.h"
#include "SqliteCopy.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string utcNow(const char* format)
{
    std::time_t now = std::time(nullptr);
    std::tm parts{};
    gmtime_r(&now, &parts);
    char text[32];
    std::strftime(text, sizeof text, format, &parts);
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

std::string DatabaseBackup::write(EngineDatabase& database, const std::string& directory,
                                  const std::vector<std::string>& tableNames,
                                  const std::function<void(const std::string&)>& progress)
{
    // Every table as it stood at one moment (on a server one transaction).
    std::unique_ptr<EngineSnapshot> snapshot;
    EngineStatus status = database.openSnapshot(snapshot);
    if (!status.ok())
        return EDBEngineError::describe(status);
    BackupManifest manifest;
    manifest.taken = utcNow("%Y-%m-%dT%H:%M:%SZ");
    manifest.source = database.directory();
    for (const std::string& name : tableNames) {
        BackupManifest::Table entry;
        entry.name = name;
        std::string error = copyTable(*snapshot, directory + "/" + entry.name, entry);
        if (!error.empty())
            return entry.name + ": " + error;
        if (progress)
            progress(entry.name + ": " + std::to_string(entry.records) + " records");
        manifest.tables.push_back(entry);
    }
    return writeDurably(directory + "/" + BackupManifest::fileName, manifest.text());
}

std::string DatabaseBackup::makeDatedFolder(const std::string& dataDirectory, std::string& error)
{
    std::string base = std::filesystem::path(dataDirectory).lexically_normal().string();
    while (base.size() > 1 && base.back() == '/')
        base.pop_back();
    base += "-backup-" + utcNow("%Y-%m-%d-%H%M%S");
    for (int n = 1; n < 100; ++n) {
        std::string folder = n == 1 ? base : base + "-" + std::to_string(n);
        if (::mkdir(folder.c_str(), 0700) == 0)
            return folder;
        if (errno != EEXIST) {
            error = "cannot make " + folder + ": " + std::strerror(errno);
            return std::string();
        }
    }
    error = "cannot make a folder named " + base;
    return std::string();
}
