#pragma once
// Employee tables made by `arsipstaf-admin generate`, kept under
// $ARSIPSTAF_BENCH_DATA (default /tmp/arsipstaf-bench-data)/N so that reruns,
// and other builds, do not generate them again. The million-record table
// takes minutes to make.
#include "DefaultTableFiles.h"
#include "EngineConfig.h"
#include "GenerateCommand.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>

namespace bench_data {

inline std::filesystem::path base()
{
    const char* set = std::getenv("ARSIPSTAF_BENCH_DATA");
    return set && *set ? std::filesystem::path(set) : std::filesystem::path("/tmp/arsipstaf-bench-data");
}

inline std::string directory(long records)
{
    namespace fs = std::filesystem;
    fs::path dir = base() / std::to_string(records);
    if (fs::exists(dir / "complete"))
        return dir.string();
    // Built aside and renamed into place: two benchmarks started together
    // never read a half-made table.
    fs::path building = base() / (std::to_string(records) + ".building-" + std::to_string(getpid()));
    std::cerr << "Generating " << records << " records in " << dir << " (once)...\n";
    fs::remove_all(building);
    fs::create_directories(base());
    std::vector<std::string> report;
    EngineStatus status = DefaultTableFiles::createIn(building.string(), report);
    std::ostringstream out, err;
    if (!status.ok() || GenerateCommand::runIn(building.string(), records, out, err) != 0)
        throw std::runtime_error("cannot generate the benchmark data: " + err.str() + status.message);
    std::ofstream(building / "complete") << records << '\n';
    std::error_code failed;
    fs::rename(building, dir, failed);
    if (failed)  // another run finished first
        fs::remove_all(building);
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
