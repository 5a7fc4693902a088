#include "InitCommand.h"

#include "DefaultTableFiles.h"
#include "EDBEngineError.h"
#include "EngineConfig.h"
#include "ServerEngine.h"
#include "StorageEngine.h"

#include <filesystem>
#include <grp.h>

namespace {

// The nine tables in the schema of a server database; the alias then names
// the server's address, as given.
int initServer(const std::string& address, std::ostream& out, std::ostream& err)
{
    std::unique_ptr<ServerDatabase> database;
    StorageEngine& session = StorageEngine::defaultSession();
    EngineStatus status =
        session.asking([&] { return ServerEngine::openDatabase(address, session.passwords(), database); });
    std::vector<std::string> report;
    if (status.ok())
        status = DefaultTableFiles::createOnServer(*database, report);
    for (const std::string& line : report)
        out << line << '\n';
    if (status.ok())
        status = EngineConfig::writeAlias(EngineConfig::defaultAlias, address);
    if (!status.ok()) {
        err << EDBEngineError::describe(status) << '\n';
        return 1;
    }
    out << "Alias " << EngineConfig::defaultAlias << " names " << database->directory() << " (in "
        << EngineConfig::configPath() << ")\n";
    return 0;
}

}  // namespace

int InitCommand::run(const std::string& directory, const std::string& group, std::ostream& out, std::ostream& err)
{
    if (ServerEngine::isServerAddress(directory)) {
        if (!group.empty()) {
            err << "init: --group is for table files; on a server, grant the role its rights\n";
            return 2;
        }
        return initServer(directory, out, err);
    }
    DefaultTableFiles::Modes modes;
    if (!group.empty()) {
        const struct group* entry = ::getgrnam(group.c_str());
        if (!entry) {
            err << "init: no group named '" << group << "'\n";
            return 2;
        }
        modes = DefaultTableFiles::Modes::sharedBy(entry->gr_gid);
    }
    std::string target = directory.empty() ? EngineConfig::defaultDataDirectory() : directory;
    target = std::filesystem::absolute(target).lexically_normal().string();
    if (target.size() > 1 && target.back() == '/')
        target.pop_back();
    std::vector<std::string> report;
    EngineStatus status = DefaultTableFiles::createIn(target, report, modes);
    for (const std::string& line : report)
        out << line << '\n';
    if (!status.ok()) {
        err << EDBEngineError::describe(status) << '\n';
        return 1;
    }
    status = EngineConfig::writeAlias(EngineConfig::defaultAlias, target);
    if (!status.ok()) {
        err << EDBEngineError::describe(status) << '\n';
        return 1;
    }
    out << "Alias " << EngineConfig::defaultAlias << " names " << target << " (in " << EngineConfig::configPath()
        << ")\n";
    return 0;
}
