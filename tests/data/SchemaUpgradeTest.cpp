// Databases of the first shape (tests/fixtures/v1) brought up by a test's
// version-2 step on opening, and a database of a later shape refused.
#include "SchemaUpgrade.h"
#include "BothEngines.h"
#include "EDBEngineError.h"
#include "StorageEngine.h"
#include "VersionOneDatabase.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <map>
#include <sstream>

namespace {

using Tables = std::map<std::string, std::vector<EngineRecord>>;

// The program's version, and the test step's one above it.
const int known = SchemaSteps::program().version();
const std::string noted = std::to_string(known + 1);

class SchemaUpgradeTest : public ::testing::TestWithParam<TestEngine> {
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_TEST_SERVER(db_);
        loadVersionOne(db_);
    }

    std::unique_ptr<EngineDatabase> openDatabase(EngineStatus& status)
    {
        std::unique_ptr<EngineDatabase> database;
        StorageEngine& session = StorageEngine::defaultSession();
        session.setUpgradeNotice([this](const std::string& line) { said_.push_back(line); });
        status = session.openDatabase(EngineConfig::defaultAlias, database);
        session.setUpgradeNotice(nullptr);
        return database;
    }

    // Every record of the nine tables in primary order, read as they are.
    Tables readAsTheyAre()
    {
        StorageEngine::defaultSession().setUpgradesOnOpen(false);
        Tables tables;
        for (const std::string& name : SchemaUpgrade::tableNames()) {
            auto cursor = db_.open(name);
            EngineRecord record;
            while (cursor->getNext(record).ok())
                tables[name].push_back(record);
        }
        StorageEngine::defaultSession().setUpgradesOnOpen(true);
        return tables;
    }

    std::map<std::string, int> versions()
    {
        EngineStatus status;
        StorageEngine::defaultSession().setUpgradesOnOpen(false);
        auto database = openDatabase(status);
        StorageEngine::defaultSession().setUpgradesOnOpen(true);
        std::map<std::string, int> found;
        if (status.ok())
            status = database->schemaVersions(SchemaUpgrade::tableNames(), found);
        TempDatabase::check(status);
        return found;
    }

    // What a refused opening must leave alone: every file beside and in the
    // data directory, or the server's records and versions.
    std::string state()
    {
        std::ostringstream text;
        if (!db_.onServer()) {
            for (const auto& entry : std::filesystem::recursive_directory_iterator(db_.root())) {
                text << entry.path().string();
                if (entry.is_regular_file()) {
                    std::ostringstream bytes;
                    bytes << std::ifstream(entry.path(), std::ios::binary).rdbuf();
                    text << ' ' << bytes.str().size() << ' ' << std::hash<std::string>()(bytes.str());
                }
                text << '\n';
            }
            return text.str();
        }
        for (const auto& [name, records] : readAsTheyAre())
            for (const EngineRecord& record : records) {
                text << name << ' ' << record.bookmark;
                for (const FieldValue& value : record.values)
                    text << '|' << value.value_or("<null>");
                text << '\n';
            }
        for (const auto& [name, version] : versions())
            text << name << " version " << version << '\n';
        return text.str();
    }

    TempDatabase db_{TempDatabase::Tables::None, GetParam()};
    std::vector<std::string> said_;
};

TEST_P(SchemaUpgradeTest, VersionOneOpensUpgradedWithEveryRecordKept)
{
    Tables before = readAsTheyAre();
    ASSERT_EQ(before.at("Datapegawai.db").size(), 150u);
    ASSERT_EQ(before.at("Mutasi.db").size(), 150u);
    EXPECT_THAT(versions(), ::testing::Each(::testing::Pair(::testing::_, 1)));

    InstalledSteps steps{InstalledSteps::withNoteColumn()};
    EngineStatus status;
    openDatabase(status);
    ASSERT_TRUE(status.ok()) << EDBEngineError::describe(status);
    EXPECT_THAT(said_, ::testing::Contains("Datapegawai.db: version " + std::to_string(known) + " to " + noted +
                                           ": column Catatan added to Datapegawai.db"));
    EXPECT_THAT(said_.back(), ::testing::HasSubstr("upgraded to version " + noted));
    EXPECT_THAT(versions(), ::testing::Each(::testing::Pair(::testing::_, known + 1)));

    Tables after = readAsTheyAre();
    for (const auto& [name, records] : before) {
        SCOPED_TRACE(name);
        ASSERT_EQ(after.at(name).size(), records.size());
        bool grown = name == "Datapegawai.db";
        for (size_t i = 0; i < records.size(); ++i) {
            std::vector<FieldValue> kept = after.at(name)[i].values;
            ASSERT_EQ(kept.size(), records[i].values.size() + (grown ? 1 : 0));
            if (grown) {
                EXPECT_EQ(kept.back(), FieldValue("-"));
                kept.pop_back();
            }
            EXPECT_EQ(after.at(name)[i].bookmark, records[i].bookmark);
            EXPECT_EQ(kept, records[i].values);
        }
    }
    auto employees = db_.open("Datapegawai.db");
    const TableDescription& description = employees->description();
    EXPECT_EQ(description.fields.back().name, "Catatan");
    EXPECT_EQ(description.fields.back().size, 40);
    EXPECT_EQ(description.fields.back().defaultValue, "-");

    // The backup beside the data directory holds the version-1 files.
    auto backups = std::count_if(std::filesystem::directory_iterator(db_.root()), {}, [](const auto& entry) {
        return entry.path().filename().string().rfind("data-backup-", 0) == 0;
    });
    EXPECT_EQ(backups, db_.onServer() ? 0 : 1);
}

TEST_P(SchemaUpgradeTest, NewerVersionIsRefusedNamingBothAndNothingIsWritten)
{
    {
        InstalledSteps steps{InstalledSteps::withNoteColumn()};
        EngineStatus status;
        openDatabase(status);
        ASSERT_TRUE(status.ok()) << EDBEngineError::describe(status);
    }
    said_.clear();
    std::string before = state();
    EngineStatus status;
    openDatabase(status);
    EXPECT_EQ(status.code, EngineCode::SchemaNewer);
    std::string text = EDBEngineError::describe(status);
    EXPECT_THAT(text, ::testing::HasSubstr("has version " + noted + "; this program knows versions up to " +
                                           std::to_string(known)));
    // Each table on its own too, as the admin tool's check opens them.
    if (!db_.onServer()) {
        StorageEngine::defaultSession().setUpgradesOnOpen(false);
        EXPECT_THROW(db_.open("Datapegawai.db"), EDBEngineError);
        StorageEngine::defaultSession().setUpgradesOnOpen(true);
    }
    EXPECT_TRUE(said_.empty());
    EXPECT_EQ(state(), before);
}

// The version is read from a file's header without opening it while no log
// holds newer pages; a version committed to the log and not yet copied back
// (another program still has the file open) must be seen all the same.
TEST_P(SchemaUpgradeTest, AVersionStillInTheLogIsRead)
{
    if (db_.onServer())
        GTEST_SKIP() << "table files only";
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(db_.path("Mutasi.db").c_str(), &other), SQLITE_OK);
    const std::string sql = "PRAGMA journal_mode = WAL; PRAGMA wal_autocheckpoint = 0; PRAGMA user_version = " + noted;
    EXPECT_EQ(sqlite3_exec(other, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_EQ(versions()["Mutasi.db"], known + 1);
    sqlite3_close(other);
    EXPECT_EQ(versions()["Mutasi.db"], known + 1);  // copied back on closing
}

INSTANTIATE_FOR_BOTH_ENGINES(SchemaUpgradeTest);

}  // namespace
