#include "EngineConfig.h"
#include "SqliteEngine.h"
#include "TempDatabase.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <iterator>

namespace {

std::string readFile(const std::string& path)
{
    if (std::filesystem::is_directory(path))
        return "<directory>";
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

EngineStatus openTable(const std::string& alias, const std::string& table)
{
    SqliteEngine engine;
    std::unique_ptr<EngineDatabase> database;
    EngineStatus status = engine.openDatabase(alias, database);
    if (!status.ok())
        return status;
    std::unique_ptr<EngineCursor> cursor;
    return database->openTable(table, "", cursor);
}

bool mentions(const EngineStatus& status, const std::string& text)
{
    return EDBEngineError::describe(status).find(text) != std::string::npos;
}

}  // namespace

TEST(EngineConfig, ResolvesAliasesFromItsOwnFile)
{
    TempDatabase db(TempDatabase::Tables::None);
    writeFile(db.configPath(),
              "# test\n\nalias rekam_induk = " + db.directory() + "\n  alias  Arsip2 =  /srv/arsip two  \n");
    EngineConfig config;
    ASSERT_TRUE(config.load().ok());
    std::string directory;
    ASSERT_TRUE(config.resolve("REKAM_INDUK", directory).ok());
    EXPECT_EQ(directory, db.directory());
    ASSERT_TRUE(config.resolve("arsip2", directory).ok());
    EXPECT_EQ(directory, "/srv/arsip two");
    EngineStatus status = config.resolve("rekam_lama", directory);
    EXPECT_EQ(status.code, EngineCode::UnknownAlias);
    EXPECT_TRUE(mentions(status, "rekam_lama"));
}

TEST(EngineConfig, DefaultAliasFallsBackToTheUserDataDirectory)
{
    TempDatabase db(TempDatabase::Tables::None);
    writeFile(db.configPath(), "alias other = /tmp\n");
    std::string previous = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
    setenv("XDG_DATA_HOME", db.root().c_str(), 1);
    EngineConfig config;
    std::string directory;
    EXPECT_TRUE(config.load().ok());
    EXPECT_TRUE(config.resolve("rekam_induk", directory).ok());
    EXPECT_EQ(directory, db.root() + "/arsipstaf/data");
    if (previous.empty())
        unsetenv("XDG_DATA_HOME");
    else
        setenv("XDG_DATA_HOME", previous.c_str(), 1);
}

TEST(EngineConfig, WritingAnAliasKeepsTheOtherLines)
{
    TempDatabase db(TempDatabase::Tables::None);
    writeFile(db.configPath(), "# mine\nalias other = /srv/x\nalias rekam_induk = /old\n");
    ASSERT_TRUE(EngineConfig::writeAlias("rekam_induk", "/new").ok());
    EXPECT_EQ(readFile(db.configPath()), "# mine\nalias other = /srv/x\nalias rekam_induk = /new\n");
    std::string nested = db.root() + "/a/b/engine.conf";
    ASSERT_TRUE(EngineConfig::writeAlias(nested, "rekam_induk", "/d").ok());
    EXPECT_EQ(readFile(nested), "alias rekam_induk = /d\n");
}

TEST(EngineConfig, AnUnreadableLineIsAnError)
{
    TempDatabase db(TempDatabase::Tables::None);
    writeFile(db.configPath(), "alias rekam_induk = /x\nrekam_induk /y\n");
    EngineStatus status = openTable("rekam_induk", "JK.db");
    EXPECT_EQ(status.code, EngineCode::ConfigInvalid);
    EXPECT_TRUE(mentions(status, "Line 2"));
    EXPECT_TRUE(mentions(status, db.configPath()));
}

struct BadTable {
    const char* name;
    EngineCode code;
    void (*damage)(const std::string& path);
};

class OpeningTest : public ::testing::TestWithParam<BadTable> {};

TEST_P(OpeningTest, RefusesTheFileAndLeavesItAlone)
{
    TempDatabase db;
    std::string path = db.path("JK.db");
    GetParam().damage(path);
    std::string before = readFile(path);
    EngineStatus status = openTable("rekam_induk", "JK.db");
    EXPECT_EQ(status.code, GetParam().code) << EDBEngineError::describe(status);
    EXPECT_TRUE(mentions(status, "JK.db"));
    EXPECT_TRUE(mentions(status, path));
    EXPECT_EQ(readFile(path), before);
}

INSTANTIATE_TEST_SUITE_P(
    Files, OpeningTest,
    ::testing::Values(
        BadTable{"Missing", EngineCode::TableMissing, [](const std::string& p) { std::remove(p.c_str()); }},
        BadTable{"Empty", EngineCode::NotATable, [](const std::string& p) { writeFile(p, ""); }},
        BadTable{"Text", EngineCode::NotATable,
                 [](const std::string& p) { writeFile(p, std::string(200, 'x') + "Laki-laki\n"); }},
        BadTable{"Directory", EngineCode::NotATable,
                 [](const std::string& p) {
                     std::remove(p.c_str());
                     std::filesystem::create_directory(p);
                 }},
        BadTable{"ForeignDatabase", EngineCode::NotATable,
                 [](const std::string& p) {
                     std::remove(p.c_str());
                     sqlite3* db = nullptr;
                     sqlite3_open(p.c_str(), &db);
                     sqlite3_exec(db, "CREATE TABLE jk(a, b); INSERT INTO jk VALUES ('LK', 'Laki-laki');", nullptr,
                                  nullptr, nullptr);
                     sqlite3_close(db);
                 }},
        BadTable{"Truncated", EngineCode::TableCorrupt,
                 [](const std::string& p) { std::filesystem::resize_file(p, std::filesystem::file_size(p) / 2); }},
        BadTable{"DamagedSchemaPage", EngineCode::TableCorrupt,
                 [](const std::string& p) {
                     std::string bytes = readFile(p);
                     for (size_t i = 100; i < 4096 && i < bytes.size(); ++i)
                         bytes[i] = static_cast<char>(0xA5);
                     writeFile(p, bytes);
                 }},
        BadTable{"DescribedColumnMissing", EngineCode::TableCorrupt,
                 [](const std::string& p) {
                     sqlite3* db = nullptr;
                     sqlite3_open(p.c_str(), &db);
                     sqlite3_exec(db, "ALTER TABLE records DROP COLUMN JK", nullptr, nullptr, nullptr);
                     sqlite3_close(db);
                 }},
        BadTable{"DescriptionMissing", EngineCode::NotATable,
                 [](const std::string& p) {
                     sqlite3* db = nullptr;
                     sqlite3_open(p.c_str(), &db);
                     sqlite3_exec(db, "DROP TABLE table_columns", nullptr, nullptr, nullptr);
                     sqlite3_close(db);
                 }}),
    [](const ::testing::TestParamInfo<BadTable>& info) { return std::string(info.param.name); });

TEST(Opening, UnreadableFileIsRefused)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    TempDatabase db;
    std::filesystem::permissions(db.path("JK.db"), std::filesystem::perms::none);
    EngineStatus status = openTable("rekam_induk", "JK.db");
    EXPECT_EQ(status.code, EngineCode::Unreadable);
    EXPECT_TRUE(mentions(status, db.path("JK.db")));
}

TEST(Opening, UnknownAliasAndMissingDirectory)
{
    TempDatabase db;
    EngineStatus status = openTable("rekam_lama", "JK.db");
    EXPECT_EQ(status.code, EngineCode::UnknownAlias);
    ASSERT_TRUE(EngineConfig::writeAlias("rekam_induk", db.root() + "/gone").ok());
    status = openTable("rekam_induk", "JK.db");
    EXPECT_EQ(status.code, EngineCode::DirectoryMissing);
    EXPECT_TRUE(mentions(status, db.root() + "/gone"));
}

TEST(Opening, DefaultSessionIsNamedDefault)
{
    EXPECT_EQ(StorageEngine::defaultSession().sessionName(), "Default");
    EXPECT_EQ(&StorageEngine::defaultSession(), &StorageEngine::defaultSession());
}

TEST(Opening, DescriptionTellsColumnsAndIndexes)
{
    TempDatabase db;
    std::unique_ptr<EngineCursor> cursor = db.open("Datapegawai.db");
    const TableDescription& table = cursor->description();
    EXPECT_EQ(table.tableName, "Datapegawai.db");
    EXPECT_EQ(table.path, db.path("Datapegawai.db"));
    int birth = table.fieldNumber("tanggal_lahir");
    ASSERT_GE(birth, 0);
    EXPECT_EQ(table.fields[static_cast<size_t>(birth)].type, ColumnType::Date);
    EXPECT_EQ(table.fields[static_cast<size_t>(birth)].typeName, "Date");
    EXPECT_EQ(table.fields[static_cast<size_t>(table.fieldNumber("Nama_Pegawai"))].size, 25);
    ASSERT_EQ(table.indexes.size(), 3u);
    EXPECT_TRUE(table.indexes[0].primary);
    EXPECT_EQ(table.indexes[0].fieldList(), "NIP");
    EXPECT_EQ(table.indexes[2].fieldList(), "Nama_Pegawai");
    EXPECT_TRUE(table.indexes[2].caseInsensitive);
    EXPECT_FALSE(table.indexes[1].unique);
    EXPECT_EQ(cursor->currentIndex().name, table.indexes[0].name);
    EXPECT_TRUE(cursor->refreshDescription().ok());
}
