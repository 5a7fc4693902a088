// Opening tables through an alias that names a database server: the same
// tables and descriptions as the files, the same errors, and a password
// asked for only when the server wants one.
#include "BothEngines.h"
#include "ClerkRole.h"
#include "DefaultTableFiles.h"
#include "PgDatabase.h"

#include <gtest/gtest.h>

namespace {

class ServerOpening : public ::testing::Test {
protected:
    void SetUp() override { SKIP_WITHOUT_TEST_SERVER(db); }

    EngineStatus openTable(const std::string& table)
    {
        std::unique_ptr<EngineDatabase> database;
        EngineStatus status = StorageEngine::defaultSession().openDatabase("rekam_induk", database);
        if (!status.ok())
            return status;
        std::unique_ptr<EngineCursor> cursor;
        return database->openTable(table, "", cursor);
    }

    TempDatabase db{TempDatabase::Tables::Default, TestEngine::Server};
};

bool mentions(const EngineStatus& status, const std::string& text)
{
    return EDBEngineError::describe(status).find(text) != std::string::npos;
}

}  // namespace

TEST(ServerAddress, AnAddressOrKeywordListNamesAServerAndAnythingElseADirectory)
{
    for (const char* server : {"postgresql://clerk@db.kantor:5432/arsip", "postgres:///arsip", "service=kantor",
                               "host=db.kantor dbname=arsip", "dbname = arsip"})
        EXPECT_TRUE(ServerEngine::isServerAddress(server)) << server;
    for (const char* directory :
         {"/home/kepegawaian/arsip/data", "data", "./postgresql://x", "~/arsip", "/srv/a=b", "C:\\arsip"})
        EXPECT_FALSE(ServerEngine::isServerAddress(directory)) << directory;
}

TEST_F(ServerOpening, EveryTableHasTheDescriptionOfItsFile)
{
    std::unique_ptr<EngineDatabase> database;
    TempDatabase::check(StorageEngine::defaultSession().openDatabase("rekam_induk", database));
    ASSERT_NE(dynamic_cast<PgDatabase*>(database.get()), nullptr);
    EXPECT_EQ(database->directory().rfind("postgresql://", 0), 0u);
    EXPECT_EQ(database->directory().find("password"), std::string::npos);
    for (const DefaultTableFiles::File& file : DefaultTableFiles::all()) {
        std::unique_ptr<EngineCursor> cursor;
        TempDatabase::check(database->openTable(file.description.tableName, "", cursor));
        const TableDescription& table = cursor->description();
        SCOPED_TRACE(file.description.tableName);
        EXPECT_EQ(table.tableName, file.description.tableName);
        ASSERT_EQ(table.fields.size(), file.description.fields.size());
        for (size_t i = 0; i < table.fields.size(); ++i) {
            EXPECT_EQ(table.fields[i].name, file.description.fields[i].name);
            EXPECT_EQ(table.fields[i].type, file.description.fields[i].type);
            EXPECT_EQ(table.fields[i].size, file.description.fields[i].size);
        }
        ASSERT_EQ(table.indexes.size(), file.description.indexes.size());
        for (size_t i = 0; i < table.indexes.size(); ++i) {
            EXPECT_EQ(table.indexes[i].name, file.description.indexes[i].name);
            EXPECT_EQ(table.indexes[i].fieldList(), file.description.indexes[i].fieldList());
            EXPECT_EQ(table.indexes[i].primary, file.description.indexes[i].primary);
            EXPECT_EQ(table.indexes[i].caseInsensitive, file.description.indexes[i].caseInsensitive);
        }
        std::int64_t count = -1;
        ASSERT_TRUE(cursor->recordCount(count).ok());
        EXPECT_EQ(count, static_cast<std::int64_t>(file.rows.size()));
        EXPECT_TRUE(cursor->refreshDescription().ok());
    }
}

TEST_F(ServerOpening, AMissingOrHalfMissingTableIsRefusedByName)
{
    db.runSql("Status.db", "DELETE FROM " + db.schema() + ".arsipstaf_columns WHERE table_name = 'Status.db'");
    EngineStatus status = openTable("Status.db");
    EXPECT_EQ(status.code, EngineCode::TableMissing);
    EXPECT_EQ(status.message, "Table does not exist.");
    EXPECT_TRUE(mentions(status, "Table: Status.db"));

    db.runSql("JK.db", "DROP TABLE {table}");
    status = openTable("JK.db");
    EXPECT_EQ(status.code, EngineCode::TableCorrupt);
    EXPECT_TRUE(mentions(status, "Table: JK.db"));

    db.runSql("Agama.db", "ALTER TABLE {table} DROP COLUMN \"Agama\"");
    status = openTable("Agama.db");
    EXPECT_EQ(status.code, EngineCode::TableCorrupt);
    EXPECT_TRUE(mentions(status, "'Agama'"));

    EXPECT_EQ(openTable("Tidakada.db").code, EngineCode::TableMissing);
    EXPECT_TRUE(openTable("Pangkat.db").ok());
}

TEST_F(ServerOpening, AServerThatCannotBeReachedIsAnError)
{
    TempDatabase::check(
        EngineConfig::writeAlias(db.configPath(), "rekam_induk", "postgresql://127.0.0.1:1/arsip?connect_timeout=5"));
    EngineStatus status = openTable("JK.db");
    EXPECT_EQ(status.code, EngineCode::IoError);
    EXPECT_EQ(status.message, "Cannot connect to the database server.");
    EXPECT_TRUE(mentions(status, "Alias: rekam_induk"));
}

// A clerk's role with a password the alias does not carry.
class ServerPassword : public ServerOpening {
protected:
    void SetUp() override
    {
        ServerOpening::SetUp();
        if (!IsSkipped())
            clerk_.emplace(db, "kunci rahasia");
    }
    void TearDown() override { clerk_.reset(); }

    std::optional<ClerkRole> clerk_;
};

TEST_F(ServerPassword, OpensOnlyWithAPasswordFromTheSessionList)
{
    EngineStatus status = openTable("JK.db");
    ASSERT_EQ(status.code, EngineCode::PasswordRequired) << EDBEngineError::describe(status);
    PasswordList& passwords = StorageEngine::defaultSession().passwords();
    passwords.add("salah");
    EXPECT_EQ(openTable("JK.db").code, EngineCode::PasswordRequired);
    passwords.add("kunci rahasia");
    status = openTable("JK.db");
    EXPECT_TRUE(status.ok()) << EDBEngineError::describe(status);
    passwords.remove("kunci rahasia");
    EXPECT_EQ(passwords.entries(), std::vector<std::string>{"salah"});
}
