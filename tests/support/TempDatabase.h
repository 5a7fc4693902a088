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
#include "DefaultTableFiles.h"
#include "EDBEngineError.h"
#include "EngineConfig.h"
#include "StorageEngine.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class TempDatabase {
public:
    enum class Tables { Default, None };

    explicit TempDatabase(Tables tables = Tables::Default)
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
        check(EngineConfig::writeAlias(configPath_, EngineConfig::defaultAlias, directory_));
        if (tables == Tables::Default) {
            std::vector<std::string> report;
            check(DefaultTableFiles::createIn(directory_, report));
        }
    }

    ~TempDatabase()
    {
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

    static void check(const EngineStatus& status)
    {
        if (!status.ok())
            throw EDBEngineError(status);
    }

private:
    std::string root_;
    std::string directory_;
    std::string configPath_;
    std::optional<std::string> previousConfig_;
};
