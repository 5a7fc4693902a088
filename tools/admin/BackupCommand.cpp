#include "BackupCommand.h"

#include "AliasDatabase.h"
#include "BackupManifest.h"
#include "DatabaseBackup.h"
#include "DefaultTableFiles.h"

#include <filesystem>

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
    std::vector<std::string> names;
    for (const DefaultTableFiles::File& file : DefaultTableFiles::all())
        names.push_back(file.description.tableName);
    std::string error =
        DatabaseBackup::write(*database, directory, names, [&](const std::string& line) { out << line << '\n'; });
    if (!error.empty()) {
        err << "backup: " << error << "; the backup is incomplete\n";
        return 1;
    }
    out << "Backup of " << database->directory() << " written to " << directory << '\n';
    return 0;
}
