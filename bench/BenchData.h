#pragma once
// Employee tables made by `arsipstaf-admin generate`, kept under
// $ARSIPSTAF_BENCH_DATA (default /tmp/arsipstaf-bench-data)/N so that reruns,
// and other builds, do not generate them again. The million-record table
// takes minutes to make.
#include "DefaultTableFiles.h"
#include "EngineConfig.h"
#include "GenerateCommand.h"
#include "ServerEngine.h"

#include <libpq-fe.h>

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

// The test server ($ARSIPSTAF_TEST_PG, as tools/with-test-server.sh sets it),
// "" when there is none.
inline std::string serverAddress()
{
    const char* address = std::getenv("ARSIPSTAF_TEST_PG");
    return address ? address : "";
}

// The same tables on the test server, in schema bench_N: made and generated
// once per server. Returns the alias's address.
inline std::string serverAlias(long records)
{
    std::string schema = "bench_" + std::to_string(records);
    std::string alias = ServerEngine::withSchema(serverAddress(), schema);
    std::unique_ptr<PGconn, void (*)(PGconn*)> connection(PQconnectdb(serverAddress().c_str()), PQfinish);
    if (PQstatus(connection.get()) != CONNECTION_OK)
        throw std::runtime_error(std::string("no benchmark server: ") + PQerrorMessage(connection.get()));
    auto run = [&](const std::string& sql) {
        PGresult* result = PQexec(connection.get(), sql.c_str());
        int rows = PQntuples(result);
        bool ok = PQresultStatus(result) == PGRES_COMMAND_OK || PQresultStatus(result) == PGRES_TUPLES_OK;
        PQclear(result);
        return ok ? rows : -1;
    };
    if (run("SELECT 1 FROM pg_tables WHERE schemaname = '" + schema + "' AND tablename = 'complete'") == 1)
        return alias;
    std::cerr << "Generating " << records << " records in schema " << schema << " on the server (once)...\n";
    run("DROP SCHEMA IF EXISTS " + schema + " CASCADE; CREATE SCHEMA " + schema);
    std::unique_ptr<ServerDatabase> database;
    EngineStatus status = ServerEngine::openDatabase(alias, PasswordList(), database);
    std::vector<std::string> report;
    if (status.ok())
        status = DefaultTableFiles::createOnServer(*database, report);
    std::ostringstream out, err;
    if (!status.ok() || GenerateCommand::runIn(*database, records, out, err) != 0)
        throw std::runtime_error("cannot generate the benchmark data: " + err.str() + status.message);
    // One statement each: VACUUM cannot run inside the implicit transaction
    // of a multi-statement string.
    if (!database->runScript("VACUUM ANALYZE", "analyze").ok() ||
        !database->runScript("CREATE TABLE complete ()", "mark").ok())
        throw std::runtime_error("cannot mark the benchmark data complete");
    return alias;
}

// Points the alias at the table of that size (on the server when asked),
// through a configuration of the benchmark's own.
inline void useAlias(long records, bool onServer = false)
{
    std::string dir = directory(records);
    if (onServer) {
        std::string config = dir + "/../engine-server-" + std::to_string(records) + ".conf";
        setenv("ARSIPSTAF_ENGINE_CONFIG", config.c_str(), 1);
        EngineStatus status = EngineConfig::writeAlias(config, EngineConfig::defaultAlias, serverAlias(records));
        if (!status.ok())
            throw std::runtime_error(status.message);
        return;
    }
    std::string config = dir + "/../engine-" + std::to_string(records) + ".conf";
    setenv("ARSIPSTAF_ENGINE_CONFIG", config.c_str(), 1);
    EngineStatus status = EngineConfig::writeAlias(config, EngineConfig::defaultAlias, dir);
    if (!status.ok())
        throw std::runtime_error(status.message);
}

}  // namespace bench_data
