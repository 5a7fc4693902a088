#pragma once
#include "EngineDatabase.h"

#include <functional>
#include <string>
#include <vector>

// A backup folder of a database: each table copied as a table file through
// the engine's snapshot (all at one moment, on a server in one transaction),
// checked, counted and summed, and the manifest (BackupManifest) written
// last. What `arsipstaf-admin backup` writes and `restore` reads; the
// upgrade takes one before it changes anything.
class DatabaseBackup {
public:
    // Writes tableNames of database into directory, which must exist and
    // hold no backup yet. progress gets "Agama.db: 6 records" per table.
    // Empty when done, else what went wrong (the backup is then incomplete:
    // it has no manifest).
    static std::string write(EngineDatabase& database, const std::string& directory,
                             const std::vector<std::string>& tableNames,
                             const std::function<void(const std::string&)>& progress);
    // A new folder beside the data directory named by its date and time,
    // ".../data-backup-2026-12-07-234512", made private to this user; empty
    // with error set when it cannot be made.
    static std::string makeDatedFolder(const std::string& dataDirectory, std::string& error);
};
