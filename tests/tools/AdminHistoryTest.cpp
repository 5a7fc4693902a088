// history and export --history through the alias, with one test body on
// the table files and on the server.
#include "AdminRun.h"
#include "BothEngines.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

class AdminHistory : public ::testing::TestWithParam<TestEngine> {
protected:
    void SetUp() override
    {
        db = std::make_unique<TempDatabase>(TempDatabase::Tables::Default, GetParam());
        SKIP_WITHOUT_TEST_SERVER(*db);
        std::unique_ptr<EngineCursor> employees = db->open("Datapegawai.db");
        add(*employees, {"1000000001", "", "Siti"});
        add(*employees, {"1000000002", "", "Budi"});
        EngineRecord record;
        TempDatabase::check(employees->getRecord(record, EngineCursor::Lock::Write));
        record.values[8] = "3A";  // Kd_Pangkat
        TempDatabase::check(employees->modifyRecord(record));
        TempDatabase::check(employees->deleteRecord());
        std::unique_ptr<EngineCursor> transfers = db->open("Mutasi.db");
        add(*transfers, {"SKM-1", "1000000001"});
    }

    static void add(EngineCursor& cursor, const std::vector<std::string>& values)
    {
        EngineRecord record;
        TempDatabase::check(cursor.initRecord(record));
        for (size_t i = 0; i < values.size(); ++i)
            record.values[i] = values[i];
        TempDatabase::check(cursor.insertRecord(record));
    }

    // The printed lines without time and account, which are the clock's and the machine's.
    static std::vector<std::string> lines(const std::string& text, size_t skip = 2, char separator = '\t')
    {
        std::vector<std::string> out;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            size_t start = 0;
            for (size_t i = 0; i < skip; ++i)
                start = line.find(separator, start) + 1;
            out.push_back(line.substr(start));
        }
        return out;
    }

    static std::string readFile(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::unique_ptr<TempDatabase> db;
};

TEST_P(AdminHistory, PrintsFiltersAndWritesTheHistory)
{
    const std::vector<std::string> all = {
        "Datapegawai.db\t1000000002\t\tdeleted\tNIP\t1000000002\t",
        "Datapegawai.db\t1000000002\t\tdeleted\tNama_Pegawai\tBudi\t",
        "Datapegawai.db\t1000000002\t\tdeleted\tKd_Pangkat\t3A\t",
        "Datapegawai.db\t1000000002\t\tchanged\tKd_Pangkat\t\t3A",
        "Datapegawai.db\t1000000002\t\tadded\tNIP\t\t1000000002",
        "Datapegawai.db\t1000000002\t\tadded\tNama_Pegawai\t\tBudi",
        "Datapegawai.db\t1000000001\t\tadded\tNIP\t\t1000000001",
        "Datapegawai.db\t1000000001\t\tadded\tNama_Pegawai\t\tSiti",
        "Mutasi.db\tSKM-1\t\tadded\tNo_SKM\t\tSKM-1",
        "Mutasi.db\tSKM-1\t\tadded\tNIP\t\t1000000001",
    };
    AdminRun run = admin({"history"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(lines(run.out), all);

    run = admin({"history", "Tdatapeg", "1000000001", "--since", "2000-01-01"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(lines(run.out), (std::vector<std::string>(all.begin() + 6, all.begin() + 8)));
    run = admin({"history", "mutasi.db", "--since", "2999-01-01"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "");

    const std::string csv = db->root() + "/riwayat.csv";
    run = admin({"history", "--csv", csv});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "10 history rows written to " + csv + "\n");
    std::vector<std::string> written = lines(readFile(csv), 0, ',');
    ASSERT_EQ(written.size(), 11u);
    EXPECT_EQ(written[0], "time,account,table,key,old_key,kind,field,old_value,new_value");
    EXPECT_EQ(lines(written[4], 2, ',').front(), "Datapegawai.db,1000000002,,changed,Kd_Pangkat,,3A");

    run = admin({"export", "Tdatapeg", db->root() + "/pegawai.xlsx", "--history"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(lines(readFile(db->root() + "/pegawai.history.csv"), 0, ',').size(), 9u);
    EXPECT_NE(run.out.find("8 history rows written to " + db->root() + "/pegawai.history.csv"), std::string::npos);
}

TEST_P(AdminHistory, RefusesWhatItCannotDo)
{
    AdminRun run = admin({"history", "Tagama"});
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.err, "history: Agama.db keeps no change history\n");
    EXPECT_EQ(admin({"history", "--since", "kemarin"}).code, 2);
    EXPECT_EQ(admin({"history", "Tdatapeg", "1", "2"}).code, 2);
    run = admin({"history", "--csv", db->root() + "/missing/x.csv"});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("missing"), std::string::npos) << run.err;
}

INSTANTIATE_FOR_BOTH_ENGINES(AdminHistory);

}  // namespace
