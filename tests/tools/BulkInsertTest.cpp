#include "BulkInsert.h"
#include "BothEngines.h"
#include "EngineConfig.h"
#include "StorageEngine.h"

#include <gtest/gtest.h>

#include <map>

namespace {

class BulkInsertRows : public ::testing::TestWithParam<TestEngine> {};

// An employee row with key nip and the given name and birth date.
std::vector<FieldValue> employee(const std::string& nip, const std::string& name, const std::string& born)
{
    std::vector<FieldValue> row(14, std::string());
    row[0] = nip;
    row[2] = name;
    row[4] = born;
    return row;
}

}  // namespace

// Rows run over several statements and end in a short one; a key given twice,
// within one statement or across two, keeps the row given first.
TEST_P(BulkInsertRows, KeepsTheFirstRowOfAKeyAcrossStatementsAndStoresTheLastShortRun)
{
    TempDatabase db{TempDatabase::Tables::Default, GetParam()};
    SKIP_WITHOUT_TEST_SERVER(db);
    std::unique_ptr<EngineDatabase> database;
    TempDatabase::check(StorageEngine::defaultSession().openDatabase(EngineConfig::defaultAlias, database));
    std::unique_ptr<BulkInsert> bulk;
    TempDatabase::check(BulkInsert::open(*database, "Datapegawai.db", bulk));

    const int run = static_cast<int>(bulk->rowsPerStore());
    const int given = 2 * run + 5;
    std::map<std::string, std::string> expected;  // NIP -> name stored
    for (int n = 0; n < given; ++n) {
        std::string nip = std::to_string(1000000000 + n);
        std::string name = "Pegawai \\N " + std::to_string(n);  // a backslash reaches the store as it is
        if (n == 3 || n == run + 1) {                           // taken in this statement, taken in the one before
            nip = std::to_string(1000000000 + n - 2);
            name = "Duplikat " + std::to_string(n);
        }
        expected.emplace(nip, name);
        ASSERT_TRUE(bulk->add(employee(nip, name, n % 2 ? "" : "1980-01-31")).ok());
        // A run the engine may still be taking counts as pending: generate
        // stops making rows when added and pending reach its count.
        if (n == run - 1) {
            EXPECT_GE(bulk->added() + bulk->pending(), run - 1);
        }
    }
    const std::string longName = "Nama yang jauh lebih panjang dari kolomnya";
    ASSERT_TRUE(bulk->add(employee("1999999999", longName, "")).ok());
    ASSERT_TRUE(bulk->flush().ok());
    EXPECT_EQ(bulk->pending(), 0);
    EXPECT_EQ(bulk->added(), given - 2 + 1);

    std::unique_ptr<EngineCursor> cursor = db.open("Datapegawai.db");
    EngineRecord record;
    std::map<std::string, std::string> stored;
    while (cursor->getNext(record).ok()) {
        const std::string& nip = *record.values[0];
        stored.emplace(nip, record.values[2].value_or("(none)"));
        if (nip == "1999999999")
            continue;
        int n = std::stoi(nip.substr(1));
        EXPECT_EQ(record.values[4].has_value(), n % 2 == 0) << nip;
    }
    expected.emplace("1999999999", longName.substr(0, 25));
    EXPECT_EQ(stored, expected);
}

INSTANTIATE_FOR_BOTH_ENGINES(BulkInsertRows);
