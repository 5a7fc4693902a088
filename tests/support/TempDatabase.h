#pragma once
// A throw-away database for tests.
//
//     TempDatabase db;                       // nine fresh table files
//     auto cursor = db.open("Datapegawai.db");
//
// The constructor makes a temporary directory with a data directory and an
// engine configuration of its own, points ARSIPSTAF_ENGINE_CONFIG at it (so
// the alias rekam_induk names the data directory, for the engine and for
// anything that opens tables through it) and creates the nine table files as
// `arsipstaf-admin init` does. The destructor restores the variable and
// removes everything. Header-only so every test folder can use it.
//
//     TempDatabase db{TempDatabase::Tables::Default, TestEngine::Server};
//
// makes the nine tables in a schema of its own on the test server named by
// $ARSIPSTAF_TEST_PG (a libpq address; tools/run-tests.sh starts a throw-away
// server and sets it) and points the alias at that schema; the destructor
// drops the schema. Without the variable the database falls back to files
// and serverMissing() tells the test to skip (to fail under CI).
#include "DefaultTableFiles.h"
#include "EDBEngineError.h"
#include "EngineConfig.h"
#include "ServerEngine.h"
#include "StorageEngine.h"

#include <libpq-fe.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <regex>
#include <string>
#include <unistd.h>
#include <vector>

enum class TestEngine { Files, Server };

inline void PrintTo(TestEngine engine, std::ostream* out)
{
    *out << (engine == TestEngine::Files ? "Files" : "Server");
}

class TempDatabase {
public:
    enum class Tables { Default, None };

    explicit TempDatabase(Tables tables = Tables::Default, TestEngine engine = TestEngine::Files)
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "arsipstaf-test-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a temporary directory");
        root_ = pattern;
        directory_ = root_ + "/data";
        configPath_ = root_ + "/engine.conf";
        std::filesystem::create_directories(directory_);
        if (const char* previous = std::getenv("ARSIPSTAF_ENGINE_CONFIG"))
            previousConfig_ = previous;
        setenv("ARSIPSTAF_ENGINE_CONFIG", configPath_.c_str(), 1);
        if (engine == TestEngine::Server) {
            serverMissing_ = serverAddress().empty();
            if (!serverMissing_)
                makeServerSchema(tables);
        }
        if (!onServer())
            check(EngineConfig::writeAlias(configPath_, EngineConfig::defaultAlias, directory_));
        if (!onServer() && tables == Tables::Default) {
            std::vector<std::string> report;
            check(DefaultTableFiles::createIn(directory_, report));
        }
    }

    ~TempDatabase()
    {
        try {
            if (onServer())
                serverScript(serverAddress(), "DROP SCHEMA IF EXISTS " + schema_ + " CASCADE");
        } catch (const std::exception&) {
            // Left for the throw-away server to take with it.
        }
        if (previousConfig_)
            setenv("ARSIPSTAF_ENGINE_CONFIG", previousConfig_->c_str(), 1);
        else
            unsetenv("ARSIPSTAF_ENGINE_CONFIG");
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }

    TempDatabase(const TempDatabase&) = delete;
    TempDatabase& operator=(const TempDatabase&) = delete;

    // The data directory the alias names, and the path of a file in it.
    const std::string& directory() const { return directory_; }
    std::string path(const std::string& tableName) const { return directory_ + "/" + tableName; }
    // The engine configuration file in use, and the temporary root.
    const std::string& configPath() const { return configPath_; }
    const std::string& root() const { return root_; }

    // A cursor on a table through the alias; throws EDBEngineError.
    std::unique_ptr<EngineCursor> open(const std::string& tableName, const std::string& indexName = "") const
    {
        std::unique_ptr<EngineDatabase> database;
        check(StorageEngine::defaultSession().openDatabase(EngineConfig::defaultAlias, database));
        std::unique_ptr<EngineCursor> cursor;
        check(database->openTable(tableName, indexName, cursor));
        return cursor;
    }

    // The test server's address, "" when there is none.
    static std::string serverAddress()
    {
        const char* address = std::getenv("ARSIPSTAF_TEST_PG");
        return address ? address : "";
    }
    // A server database was asked for but there is no test server.
    bool serverMissing() const { return serverMissing_; }
    bool onServer() const { return !schema_.empty(); }
    // The alias's address on the server ("" for files) and the schema.
    const std::string& serverAlias() const { return alias_; }
    const std::string& schema() const { return schema_; }

    // Runs sql straight on the store, past the engine and its locks (a tool
    // that knows nothing of them); "{table}" names the table's records.
    void runSql(const std::string& tableName, const std::string& sql) const
    {
        if (onServer()) {
            std::string table = schema_ + ".\"" + tableName.substr(0, tableName.rfind('.')) + "\"";
            serverScript(alias_, std::regex_replace(sql, std::regex("\\{table\\}"), table));
            return;
        }
        sqlite3* db = nullptr;
        sqlite3_open(path(tableName).c_str(), &db);
        sqlite3_busy_timeout(db, 5000);
        char* error = nullptr;
        int rc = sqlite3_exec(db, std::regex_replace(sql, std::regex("\\{table\\}"), "records").c_str(), nullptr,
                              nullptr, &error);
        std::string message = error ? error : "";
        sqlite3_free(error);
        sqlite3_close(db);
        if (rc != SQLITE_OK)
            throw std::runtime_error("sql failed: " + message);
    }

    // Runs sql on the server at conninfo; throws with the server's message.
    static void serverScript(const std::string& conninfo, const std::string& sql)
    {
        PGconn* conn = PQconnectdb(conninfo.c_str());
        std::string error;
        if (PQstatus(conn) != CONNECTION_OK) {
            error = PQerrorMessage(conn);
        } else {
            PGresult* result = PQexec(conn, ("SET client_min_messages = warning; " + sql).c_str());
            if (PQresultStatus(result) != PGRES_COMMAND_OK && PQresultStatus(result) != PGRES_TUPLES_OK)
                error = PQresultErrorMessage(result);
            PQclear(result);
        }
        PQfinish(conn);
        if (!error.empty())
            throw std::runtime_error("server: " + error);
    }

    static void check(const EngineStatus& status)
    {
        if (!status.ok())
            throw EDBEngineError(status);
    }

private:
    void makeServerSchema(Tables tables)
    {
        static int made = 0;
        schema_ = "arsipstaf_test_" + std::to_string(::getpid()) + "_" + std::to_string(++made);
        serverScript(serverAddress(), "DROP SCHEMA IF EXISTS " + schema_ + " CASCADE; CREATE SCHEMA " + schema_);
        alias_ = ServerEngine::withSchema(serverAddress(), schema_);
        check(EngineConfig::writeAlias(configPath_, EngineConfig::defaultAlias, alias_));
        std::unique_ptr<ServerDatabase> database;
        check(ServerEngine::openDatabase(alias_, PasswordList(), database));
        std::vector<std::string> report;
        if (tables == Tables::Default)
            check(DefaultTableFiles::createOnServer(*database, report));
        else
            check(database->prepareSchema());
    }

    std::string root_;
    std::string schema_;
    std::string alias_;
    bool serverMissing_ = false;
    std::string directory_;
    std::string configPath_;
    std::optional<std::string> previousConfig_;
};
