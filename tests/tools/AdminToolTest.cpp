#include "AdminTool.h"
#include "AdminRun.h"
#include "BothEngines.h"
#include "DemoRecordMaker.h"
#include "SqliteTableFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>

namespace {

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Replaces a table file by one made from the default description, changed.
void replaceTable(const TempDatabase& db, const std::string& table, void (*change)(TableDescription&))
{
    for (DefaultTableFiles::File file : DefaultTableFiles::all()) {
        if (file.description.tableName != table)
            continue;
        change(file.description);
        std::remove(db.path(table).c_str());
        TempDatabase::check(SqliteTableFile::create(db.path(table), file.description));
    }
}

}  // namespace

TEST(AdminInit, CreatesTheNineTablesAndPointsTheAliasAtThem)
{
    TempDatabase db(TempDatabase::Tables::None);
    std::string target = db.root() + "/new/arsip";
    AdminRun run = admin({"init", target});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("Datapegawai.db: created"), std::string::npos);
    EXPECT_NE(run.out.find("Golongan.db: created with 17 records"), std::string::npos);
    EXPECT_NE(readFile(db.configPath()).find("alias rekam_induk = " + target), std::string::npos);

    std::unique_ptr<EngineCursor> religions = db.open("Agama.db");
    std::int64_t count = 0;
    ASSERT_TRUE(religions->recordCount(count).ok());
    EXPECT_EQ(count, 6);
    EXPECT_EQ(religions->description().path, target + "/Agama.db");
    EXPECT_EQ(admin({"check"}).code, 0);
}

TEST(AdminInit, NeverReplacesAnExistingTableFile)
{
    TempDatabase db;
    std::unique_ptr<EngineCursor> sexes = db.open("JK.db");
    EngineRecord record;
    ASSERT_TRUE(sexes->initRecord(record).ok());
    record.values = {std::string("XX"), std::string("Lainnya")};
    ASSERT_TRUE(sexes->insertRecord(record).ok());
    sexes.reset();
    std::remove(db.path("Status.db").c_str());

    AdminRun run = admin({"init", db.directory()});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("JK.db: already exists, left as it is"), std::string::npos);
    EXPECT_NE(run.out.find("Status.db: created with"), std::string::npos);
    std::int64_t count = 0;
    ASSERT_TRUE(db.open("JK.db")->recordCount(count).ok());
    EXPECT_EQ(count, 3);
}

struct CheckCase {
    const char* name;
    const char* table;
    void (*change)(TableDescription&);
    const char* message;
};

class AdminCheckTest : public ::testing::TestWithParam<CheckCase> {};

TEST_P(AdminCheckTest, ReportsWhatTheProgramWouldRefuse)
{
    TempDatabase db;
    replaceTable(db, GetParam().table, GetParam().change);
    AdminRun run = admin({"check"});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Problems, AdminCheckTest,
    ::testing::Values(CheckCase{"MissingNip", "Datapegawai.db",
                                [](TableDescription& t) {
                                    t.fields.erase(t.fields.begin());
                                    t.indexes = {};
                                },
                                "Tdatapeg: Field 'NIP' not found"},
                      CheckCase{"DateAsText", "Mutasi.db",
                                [](TableDescription& t) {
                                    t.fields.back().type = ColumnType::Text;
                                    t.fields.back().size = 10;
                                },
                                "Tmutasi: Type mismatch for field 'TMT', expecting: Date actual: String"},
                      CheckCase{"MissingLookupText", "JK.db",
                                [](TableDescription& t) { t.fields.back().name = "Jenis"; },
                                "Tjk: Field 'JK' not found"},
                      CheckCase{"MissingIndex", "Datapegawai.db", [](TableDescription& t) { t.indexes.pop_back(); },
                                "Tdatapeg: No index for fields 'Nama_Pegawai'"},
                      CheckCase{"ColumnTooSmall", "Datapegawai.db", [](TableDescription& t) { t.fields[2].size = 10; },
                                "Tdatapeg: Field 'Nama_Pegawai' holds 10 characters, the program writes 25"}),
    [](const ::testing::TestParamInfo<CheckCase>& info) { return std::string(info.param.name); });

TEST(AdminCheck, AcceptsATwoFieldIndexStartingWithTheField)
{
    TempDatabase db;
    replaceTable(db, "Datapegawai.db", [](TableDescription& t) {
        t.indexes[1].fields = {"Karpeg", "NIP"};
        t.indexes[1].unique = true;
    });
    AdminRun run = admin({"check"});
    EXPECT_EQ(run.code, 0) << run.err;
}

TEST(AdminCheck, ReportsAMissingFileAndAMissingDirectory)
{
    TempDatabase db;
    std::remove(db.path("Pangkat.db").c_str());
    AdminRun run = admin({"check"});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("Table does not exist."), std::string::npos);
    EXPECT_NE(run.err.find(db.path("Pangkat.db")), std::string::npos);
    EXPECT_NE(run.out.find("1 problem found."), std::string::npos);

    std::filesystem::remove_all(db.directory());
    run = admin({"check"});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("Directory does not exist"), std::string::npos);
}

class AdminGenerate : public ::testing::TestWithParam<TestEngine> {};

TEST_P(AdminGenerate, AddsDistinctRecordsThatFitTheirMasks)
{
    TempDatabase db{TempDatabase::Tables::Default, GetParam()};
    SKIP_WITHOUT_TEST_SERVER(db);
    ASSERT_EQ(admin({"generate", "300"}).code, 0);
    AdminRun run = admin({"generate", "200"});  // a second run continues the numbering
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("Mutasi.db: 200 records added"), std::string::npos);

    std::unique_ptr<EngineCursor> employees = db.open("Datapegawai.db");
    std::unique_ptr<EngineCursor> transfers = db.open("Mutasi.db");
    std::int64_t count = 0;
    ASSERT_TRUE(employees->recordCount(count).ok());
    EXPECT_EQ(count, 500);
    ASSERT_TRUE(transfers->recordCount(count).ok());
    EXPECT_EQ(count, 500);

    std::set<std::string> codes = {"LK", "PR"};
    const std::regex nip("[0-9]{10}"), karpeg("[0-9]{8}"), date("(19[6-9][0-9]|2000)-[01][0-9]-[0-3][0-9]");
    EngineRecord record;
    int seen = 0;
    while (employees->getNext(record).ok()) {
        ++seen;
        EXPECT_TRUE(std::regex_match(*record.values[0], nip)) << *record.values[0];
        EXPECT_TRUE(std::regex_match(*record.values[1], karpeg));
        EXPECT_FALSE(record.values[2]->empty());
        EXPECT_TRUE(std::regex_match(*record.values[4], date)) << *record.values[4];
        EXPECT_EQ(codes.count(*record.values[5]), 1u);
    }
    EXPECT_EQ(seen, 500);
    const std::regex decree("[A-Z]-[0-9]{4}-[A-Z]{2}\\.[0-9]{2}\\.[0-9]{2}-[0-9]{4}"), nip11("[0-9]{11}");
    while (transfers->getNext(record).ok()) {
        EXPECT_TRUE(std::regex_match(*record.values[0], decree)) << *record.values[0];
        EXPECT_TRUE(std::regex_match(*record.values[1], nip11));
    }
}

TEST(AdminNumbers, AreDistinct)
{
    std::set<std::string> nips, decrees;
    for (std::uint64_t n = 0; n < 200000; ++n) {
        nips.insert(DemoRecordMaker::employeeNumber(n));
        decrees.insert(DemoRecordMaker::decreeNumber(n));
    }
    EXPECT_EQ(nips.size(), 200000u);
    EXPECT_EQ(decrees.size(), 200000u);
    EXPECT_EQ(DemoRecordMaker::decreeNumber(1234).size(), 20u);
}

TEST(AdminTool, RejectsUnknownCommands)
{
    EXPECT_EQ(admin({}).code, 2);
    EXPECT_EQ(admin({"drop"}).code, 2);
    EXPECT_EQ(admin({"generate", "many"}).code, 2);
}

INSTANTIATE_FOR_BOTH_ENGINES(AdminGenerate);

// A file another tool left in rollback-journal mode: check only reads it; the
// first store puts it in write-ahead-log mode.
TEST(AdminCheckReadsOnly, LeavesTheLogModeToTheFirstStore)
{
    TempDatabase db;
    db.runSql("JK.db", "PRAGMA journal_mode = DELETE");
    auto logMode = [&] { return static_cast<int>(readFile(db.path("JK.db")).at(18)); };  // 1 rollback, 2 log
    ASSERT_EQ(logMode(), 1);
    std::string before = readFile(db.path("JK.db"));

    AdminRun run = admin({"check"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(readFile(db.path("JK.db")), before);

    std::unique_ptr<EngineCursor> sexes = db.open("JK.db");
    EngineRecord record;
    ASSERT_TRUE(sexes->initRecord(record).ok());
    record.values = {std::string("XX"), std::string("Lainnya")};
    ASSERT_TRUE(sexes->insertRecord(record).ok());
    EXPECT_EQ(logMode(), 2);
}
