#include "DefaultTableFiles.h"

#include "PgDatabase.h"
#include "PgTable.h"
#include "SqliteDatabase.h"
#include "SqliteTableFile.h"
#include "TableCatalogue.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

EngineStatus fill(const std::string& directory, const DefaultTableFiles::File& file)
{
    if (file.rows.empty())
        return EngineStatus::success();
    std::shared_ptr<SqliteTableFile> table;
    EngineStatus status = SqliteTableFile::open(directory, file.description.tableName, table);
    for (size_t i = 0; status.ok() && i < file.rows.size(); ++i) {
        EngineRecord record;
        for (const std::string& value : file.rows[i])
            record.values.emplace_back(value);
        std::int64_t rowid = 0;
        status = table->insert(record, rowid);
    }
    return status;
}

}  // namespace

std::vector<DefaultTableFiles::File> DefaultTableFiles::all()
{
    // Made in version 1; the steps of SchemaSteps bring them up.
    std::vector<File> files;
    for (const CatalogueTable& table : TableCatalogue::tables())
        files.push_back({table.description(1), table.rows});
    return files;
}

EngineStatus DefaultTableFiles::createIn(const std::string& directory, std::vector<std::string>& report)
{
    return createIn(directory, report, Modes());
}

EngineStatus DefaultTableFiles::createIn(const std::string& directory, std::vector<std::string>& report,
                                         const Modes& modes)
{
    std::error_code error;
    bool made = std::filesystem::create_directories(directory, error);
    if (error)
        return EngineStatus::failure(EngineCode::DirectoryMissing, "Cannot create the directory " + directory + ".",
                                     {error.message()});
    bool shared = modes.group != static_cast<gid_t>(-1);
    if ((made || shared) && (::chown(directory.c_str(), static_cast<uid_t>(-1), modes.group) != 0 ||
                             ::chmod(directory.c_str(), modes.directory) != 0))
        return EngineStatus::failure(EngineCode::IoError, "Cannot set the modes of the directory " + directory + ".",
                                     {std::strerror(errno)});
    std::vector<std::string> created;
    for (const File& file : all()) {
        const std::string& name = file.description.tableName;
        std::string path = directory + "/" + name;
        struct stat info {};
        if (::stat(path.c_str(), &info) == 0) {
            report.push_back(name + ": already exists, left as it is");
            continue;
        }
        EngineStatus status = SqliteTableFile::create(path, file.description, modes.file, modes.group);
        if (status.ok())
            status = fill(directory, file);
        if (!status.ok())
            return status;
        report.push_back(
            name + ": created" +
            (file.rows.empty() ? std::string() : " with " + std::to_string(file.rows.size()) + " records"));
        created.push_back(name);
    }
    // Made in version 1, brought up by the steps an upgrade runs.
    SqliteDatabase database(directory);
    return database.upgradeSchema(created, SchemaSteps::active(), nullptr);
}

EngineStatus DefaultTableFiles::createOnServer(const std::shared_ptr<PgConnection>& connection,
                                               std::vector<std::string>& report)
{
    EngineStatus status = PgTable::prepareSchema(*connection);
    if (!status.ok())
        return status;
    std::vector<std::string> created;
    for (const File& file : all()) {
        const std::string& name = file.description.tableName;
        std::shared_ptr<PgTable> table;
        if (PgTable::open(connection, name, table).ok()) {
            report.push_back(name + ": already exists, left as it is");
            continue;
        }
        status = PgTable::create(*connection, file.description);
        if (status.ok())
            status = PgTable::open(connection, name, table);
        for (size_t i = 0; status.ok() && i < file.rows.size(); ++i) {
            EngineRecord record;
            for (const std::string& value : file.rows[i])
                record.values.emplace_back(value);
            std::int64_t rid = 0;
            status = table->insert(record, rid);
        }
        if (!status.ok())
            return status;
        report.push_back(
            name + ": created" +
            (file.rows.empty() ? std::string() : " with " + std::to_string(file.rows.size()) + " records"));
        created.push_back(name);
    }
    if (created.empty())
        return EngineStatus::success();
    PgDatabase database(connection);
    return database.upgradeSchema(created, SchemaSteps::active(), nullptr);
}
