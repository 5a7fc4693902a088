#include "InitCommand.h"

#include "DefaultTableFiles.h"
#include "EDBEngineError.h"
#include "EngineConfig.h"

#include <filesystem>
#include <grp.h>

int InitCommand::run(const std::string& directory, const std::string& group, std::ostream& out, std::ostream& err)
{
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
