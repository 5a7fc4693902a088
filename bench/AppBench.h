// What the benchmarks that drive the program's windows share: databases of
// demonstration records, made once per count in temporary directories and
// removed when the run ends, and a main that runs offscreen.
#pragma once

#include "DefaultTableFiles.h"
#include "EngineConfig.h"
#include "GenerateCommand.h"
#include "TApplication.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <stdexcept>

namespace app_bench {

inline std::map<long long, std::string>& made()
{
    static std::map<long long, std::string> roots;
    return roots;
}

// The folder holding data/ with the default tables and count records.
inline std::string databaseWith(long long count)
{
    auto found = made().find(count);
    if (found != made().end())
        return found->second;
    std::string root = (std::filesystem::temp_directory_path() / "arsipstaf-bench-XXXXXX").string();
    if (!mkdtemp(root.data()))
        throw std::runtime_error("cannot make a temporary directory");
    const std::string directory = root + "/data";
    std::vector<std::string> report;
    if (!DefaultTableFiles::createIn(directory, report).ok())
        throw std::runtime_error("cannot create the tables");
    std::ostringstream out, err;
    if (count > 0 && GenerateCommand::runIn(directory, count, out, err) != 0)
        throw std::runtime_error("generate failed: " + err.str());
    return made()[count] = root;
}

// Points the default alias at the database of count records.
inline void useDatabaseWith(long long count)
{
    const std::string root = databaseWith(count);
    const std::string config = root + "/engine.conf";
    if (!EngineConfig::writeAlias(config, EngineConfig::defaultAlias, root + "/data").ok())
        throw std::runtime_error("cannot write " + config);
    setenv("ARSIPSTAF_ENGINE_CONFIG", config.c_str(), 1);
}

inline int runOffscreen(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const auto& [count, root] : made())
        std::filesystem::remove_all(root);
    return 0;
}

}  // namespace app_bench
