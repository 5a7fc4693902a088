// The admin tool on a server: init of an empty database, check, and copying
// a whole database between a directory and a server, either way.
#include "AdminTool.h"
#include "BothEngines.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace {

struct AdminRun {
    int code;
    std::string out, err;
};

AdminRun admin(std::vector<std::string> args)
{
    std::ostringstream out, err;
    int code = AdminTool::run(args, out, err);
    return {code, out.str(), err.str()};
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every record of a table through the alias, in key order.
std::vector<std::vector<FieldValue>> records(const TempDatabase& db, const std::string& table)
{
    std::unique_ptr<EngineCursor> cursor = db.open(table);
    std::vector<std::vector<FieldValue>> all;
    EngineRecord record;
    while (cursor->getNext(record).ok())
        all.push_back(record.values);
    return all;
}

// Every entry of a directory with the bytes of each file.
std::map<std::string, std::string> directoryContents(const std::string& directory)
{
    std::map<std::string, std::string> contents;
    for (const auto& entry : std::filesystem::directory_iterator(directory))
        contents[entry.path().filename().string()] = readFile(entry.path().string());
    return contents;
}

std::int64_t count(const TempDatabase& db, const std::string& table)
{
    std::int64_t n = -1;
    EXPECT_TRUE(db.open(table)->recordCount(n).ok());
    return n;
}

}  // namespace

TEST(ServerAdmin, InitCreatesTheNineTablesOnAnEmptyDatabaseAndPointsTheAliasThere)
{
    TempDatabase db{TempDatabase::Tables::None, TestEngine::Server};
    SKIP_WITHOUT_TEST_SERVER(db);
    AdminRun run = admin({"init", db.serverAlias()});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("Datapegawai.db: created"), std::string::npos);
    EXPECT_NE(run.out.find("Golongan.db: created with 17 records"), std::string::npos);
    EXPECT_NE(readFile(db.configPath()).find("alias rekam_induk = " + db.serverAlias()), std::string::npos);
    EXPECT_EQ(count(db, "Agama.db"), 6);

    run = admin({"init", db.serverAlias()});  // a second init leaves everything as it is
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("Agama.db: already exists, left as it is"), std::string::npos);
    EXPECT_EQ(count(db, "Agama.db"), 6);

    run = admin({"check"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("All nine tables open"), std::string::npos) << run.out;
}

TEST(ServerAdmin, CheckReportsAColumnTheServerLacks)
{
    TempDatabase db{TempDatabase::Tables::Default, TestEngine::Server};
    SKIP_WITHOUT_TEST_SERVER(db);
    db.runSql("Mutasi.db", "ALTER TABLE {table} DROP COLUMN \"Asal\"");
    AdminRun run = admin({"check"});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("Table: Mutasi.db"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("'Asal'"), std::string::npos) << run.err;
}

TEST(ServerAdmin, CopyMovesFilesOntoTheServerAndBackUnchanged)
{
    TempDatabase files;
    ASSERT_EQ(admin({"generate", "250"}).code, 0);
    // A code the office added, and a record with an odd name and no date.
    std::unique_ptr<EngineCursor> religions = files.open("Agama.db");
    EngineRecord record;
    ASSERT_TRUE(religions->initRecord(record).ok());
    record.values = {std::string("07"), std::string("Kepercayaan")};
    ASSERT_TRUE(religions->insertRecord(record).ok());
    religions.reset();
    std::unique_ptr<EngineCursor> employees = files.open("Datapegawai.db");
    ASSERT_TRUE(employees->initRecord(record).ok());
    ASSERT_TRUE(employees->putField(record, 0, std::string("0000000001")).ok());
    ASSERT_TRUE(employees->putField(record, 2, std::string("O'Neil \"Ñandú\" Ülker")).ok());
    ASSERT_TRUE(employees->insertRecord(record).ok());
    employees.reset();

    TempDatabase server{TempDatabase::Tables::None, TestEngine::Server};
    SKIP_WITHOUT_TEST_SERVER(server);
    AdminRun run = admin({"copy", files.directory(), server.serverAlias()});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("Datapegawai.db: 251 records copied and verified"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Agama.db: 7 records copied and verified"), std::string::npos) << run.out;
    for (const char* table : {"Datapegawai.db", "Mutasi.db", "Agama.db", "Golongan.db"}) {
        setenv("ARSIPSTAF_ENGINE_CONFIG", files.configPath().c_str(), 1);
        auto before = records(files, table);
        setenv("ARSIPSTAF_ENGINE_CONFIG", server.configPath().c_str(), 1);
        EXPECT_EQ(records(server, table), before) << table;
    }

    // The server now holds records: a second copy onto it writes nothing.
    run = admin({"copy", files.directory(), server.serverAlias()});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("nothing was copied"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("Datapegawai.db (251 records)"), std::string::npos) << run.err;
    EXPECT_EQ(count(server, "Datapegawai.db"), 251);

    // And back into a new directory.
    std::string back = files.root() + "/back";
    run = admin({"copy", server.serverAlias(), back});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("Mutasi.db: 250 records copied and verified"), std::string::npos) << run.out;
    TempDatabase::check(EngineConfig::writeAlias(server.configPath(), "rekam_induk", back));
    auto returned = records(server, "Datapegawai.db");
    setenv("ARSIPSTAF_ENGINE_CONFIG", files.configPath().c_str(), 1);
    EXPECT_EQ(returned, records(files, "Datapegawai.db"));
    setenv("ARSIPSTAF_ENGINE_CONFIG", server.configPath().c_str(), 1);
}

TEST(ServerAdmin, CopyRefusesAMissingSource)
{
    TempDatabase db;
    AdminRun run = admin({"copy", db.root() + "/nowhere", db.root() + "/target"});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("Directory does not exist"), std::string::npos) << run.err;
}

TEST(ServerAdmin, ACopyThatFailsOnItsLastTableLeavesTheTargetAsItWas)
{
    const TableDescription last = DefaultTableFiles::all().back().description;
    const std::string text = last.fields.back().name;
    TempDatabase server{TempDatabase::Tables::Default, TestEngine::Server};
    SKIP_WITHOUT_TEST_SERVER(server);
    TempDatabase files;
    ASSERT_EQ(admin({"generate", "20"}).code, 0);
    // Onto the server: the source's last table holds a text that is not UTF-8.
    files.runSql(last.tableName, "UPDATE {table} SET \"" + text + "\" = CAST(x'4A6F73E9' AS TEXT) WHERE rid = 1");
    setenv("ARSIPSTAF_ENGINE_CONFIG", server.configPath().c_str(), 1);
    std::map<std::string, std::vector<std::vector<FieldValue>>> before;
    for (const DefaultTableFiles::File& file : DefaultTableFiles::all())
        before[file.description.tableName] = records(server, file.description.tableName);
    AdminRun run = admin({"copy", files.directory(), server.serverAlias()});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find(last.tableName), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("Nothing was copied"), std::string::npos) << run.err;
    for (const auto& [table, held] : before)
        EXPECT_EQ(records(server, table), held) << table;

    // Into a directory, existing or new: the server's last table lacks a column.
    server.runSql(last.tableName, "ALTER TABLE {table} DROP COLUMN \"" + text + "\"");
    std::string existing = files.root() + "/existing", fresh = files.root() + "/fresh";
    std::vector<std::string> report;
    TempDatabase::check(DefaultTableFiles::createIn(existing, report));
    std::map<std::string, std::string> held = directoryContents(existing);
    run = admin({"copy", server.serverAlias(), existing});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("'" + text + "'"), std::string::npos) << run.err;
    EXPECT_EQ(directoryContents(existing), held);
    EXPECT_EQ(admin({"copy", server.serverAlias(), fresh}).code, 1);
    EXPECT_FALSE(std::filesystem::exists(fresh));
    setenv("ARSIPSTAF_ENGINE_CONFIG", files.configPath().c_str(), 1);
}
