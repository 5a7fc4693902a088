#include "InitCommand.h"

#include "DefaultTableFiles.h"
#include "EDBEngineError.h"
#include "EngineConfig.h"

#include <filesystem>

int InitCommand::run(const std::string& directory, std::ostream& out, std::ostream& err)
{
    std::string target = directory.empty() ? EngineConfig::defaultDataDirectory() : directory;
    target = std::filesystem::absolute(target).lexically_normal().string();
    if (target.size() > 1 && target.back() == '/')
        target.pop_back();
    std::vector<std::string> report;
    EngineStatus status = DefaultTableFiles::createIn(target, report);
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
