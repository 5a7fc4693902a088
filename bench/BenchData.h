#pragma once
// Employee tables made by `arsipstaf-admin generate`, kept under the build
// directory (bench-data/N) so that reruns do not generate them again.
#include "DefaultTableFiles.h"
#include "EngineConfig.h"
#include "GenerateCommand.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>

namespace bench_data {

inline std::string directory(long records)
{
    namespace fs = std::filesystem;
    fs::path base = fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "bench-data";
    fs::path dir = base / std::to_string(records);
    if (fs::exists(dir / "complete"))
        return dir.string();
    std::cerr << "Generating " << records << " records in " << dir << " (once)...\n";
    fs::remove_all(dir);
    std::vector<std::string> report;
    EngineStatus status = DefaultTableFiles::createIn(dir.string(), report);
    std::ostringstream out, err;
    if (!status.ok() || GenerateCommand::runIn(dir.string(), records, out, err) != 0)
        throw std::runtime_error("cannot generate the benchmark data: " + err.str() + status.message);
    std::ofstream(dir / "complete") << records << '\n';
    return dir.string();
}

// Points the alias at the table of that size, through a configuration of
// the benchmark's own.
inline void useAlias(long records)
{
    std::string dir = directory(records);
    std::string config = dir + "/../engine-" + std::to_string(records) + ".conf";
    setenv("ARSIPSTAF_ENGINE_CONFIG", config.c_str(), 1);
    EngineStatus status = EngineConfig::writeAlias(config, EngineConfig::defaultAlias, dir);
    if (!status.ok())
        throw std::runtime_error(status.message);
}

} // namespace bench_data
