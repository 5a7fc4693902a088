#include "SchemaUpgrade.h"

#include "DatabaseBackup.h"
#include "DefaultTableFiles.h"
#include "SqliteDatabase.h"

#include <algorithm>
#include <set>

std::vector<std::string> SchemaUpgrade::tableNames()
{
    std::vector<std::string> names;
    for (const DefaultTableFiles::File& file : DefaultTableFiles::all())
        names.push_back(file.description.tableName);
    return names;
}

namespace {

EngineStatus backUp(EngineDatabase& database, const std::vector<std::string>& names, const SchemaUpgrade::Say& say)
{
    std::string error;
    std::string folder = DatabaseBackup::makeDatedFolder(database.directory(), error);
    if (!folder.empty())
        error = DatabaseBackup::write(database, folder, names, nullptr);
    if (!error.empty())
        return EngineStatus::failure(EngineCode::IoError, "Cannot back up the tables before the upgrade.",
                                     {error, "Nothing was changed."});
    say("A backup of the tables is in " + folder + ".");
    return EngineStatus::success();
}

}  // namespace

EngineStatus SchemaUpgrade::run(EngineDatabase& database, bool dryRun, const Say& say)
{
    const SchemaSteps& steps = SchemaSteps::active();
    std::vector<std::string> names = tableNames();
    std::map<std::string, int> versions;
    EngineStatus status = database.schemaVersions(names, versions);
    if (!status.ok())
        return status;
    int oldest = steps.version();
    std::vector<std::string> present;
    for (const std::string& name : names) {
        auto found = versions.find(name);
        if (found == versions.end())
            continue;
        if (found->second > steps.version())
            return EngineStatus::failure(
                EngineCode::SchemaNewer, SchemaSteps::newerMessage(),
                {SchemaSteps::newerDetail(name, found->second, steps.version()), "Database: " + database.directory()});
        oldest = std::min(oldest, found->second);
        present.push_back(name);
    }
    if (oldest == steps.version())
        return EngineStatus::success();
    say("The tables in " + database.directory() + " are of version " + std::to_string(oldest) +
        "; they are upgraded to version " + std::to_string(steps.version()) + ".");
    if (dryRun) {
        for (const std::string& name : present)
            for (const std::string& line : steps.plan(name, versions[name]))
                say(line);
        return EngineStatus::success();
    }
    if (dynamic_cast<SqliteDatabase*>(&database) && !(status = backUp(database, present, say)).ok())
        return status;
    status = database.upgradeSchema(present, steps, say);
    if (status.ok())
        say("The tables are upgraded to version " + std::to_string(steps.version()) + ".");
    return status;
}

EngineStatus SchemaUpgrade::onOpen(EngineDatabase& database, const Say& say)
{
    static std::set<std::string> current;
    std::string key = std::to_string(SchemaSteps::installs()) + ":" + database.identity();
    if (current.count(key))
        return EngineStatus::success();
    EngineStatus status = run(database, false, say);
    if (status.ok())
        current.insert(key);
    return status;
}
