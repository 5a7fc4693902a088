// Tables opened ahead on a thread of their own while the program starts:
// the data module takes them, a failure is told by the module's own
// opening, and an older database is upgraded before any is taken.
#include "BothEngines.h"
#include "DataModuleFixture.h"
#include "EDBEngineError.h"
#include "StorageEngine.h"
#include "TableFilesAhead.h"
#include "VersionOneDatabase.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

std::shared_ptr<TableFilesAhead> openAhead()
{
    return StorageEngine::defaultSession().openAhead(TDMarsipstaf::DatabaseAlias, TDMarsipstaf::OpeningOrder());
}

std::string openingError()
{
    TDMarsipstaf dm;
    return DATABASE_ERROR_TEXT(dm.Loaded());
}

class OpeningAhead : public ::testing::TestWithParam<TestEngine> {
protected:
    void SetUp() override { SKIP_WITHOUT_TEST_SERVER(db_); }

    TempDatabase db_{TempDatabase::Tables::Default, GetParam()};
};

TEST_P(OpeningAhead, TheDataModuleTakesEveryTableWithWhatWasStoredBefore)
{
    db_.runSql("Datapegawai.db", "INSERT INTO {table} (\"NIP\", \"Nama_Pegawai\") VALUES ('1000000001', 'Ani')");
    std::shared_ptr<TableFilesAhead> ahead = openAhead();
    // A server's tables open when asked: it may want a password.
    ASSERT_EQ(ahead != nullptr, !db_.onServer());
    TDMarsipstaf dm;
    dm.Loaded();
    if (ahead) {
        EXPECT_TRUE(ahead->empty());
    }
    EXPECT_EQ(dm.Tdatapeg.RecordCount(), 1);
    EXPECT_EQ(dm.TdatapegNama_Pegawai->AsString(), "Ani");
    // Storing goes through the file opened ahead.
    dm.Tdatapeg.Edit();
    dm.TdatapegNama_Pegawai->SetText("Ani Lestari");
    dm.Tdatapeg.Post();
    TDMarsipstaf again;
    again.Loaded();
    EXPECT_EQ(again.TdatapegNama_Pegawai->AsString(), "Ani Lestari");
}

INSTANTIATE_FOR_BOTH_ENGINES(OpeningAhead);

TEST(OpeningAheadOfFiles, EachFileIsTakenOnceAndOnlyFromItsDirectory)
{
    TempDatabase db;
    TableFilesAhead ahead(db.directory(), {"Agama.db", "JK.db"});
    EXPECT_EQ(ahead.take(db.directory() + "/other", "Agama.db"), nullptr);
    std::shared_ptr<SqliteTableFile> file = ahead.take(db.directory(), "Agama.db");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->description().tableName, "Agama.db");
    EXPECT_EQ(ahead.take(db.directory(), "Agama.db"), nullptr);
    EXPECT_EQ(ahead.take(db.directory(), "Status.db"), nullptr);
    EXPECT_FALSE(ahead.empty());
    EXPECT_NE(ahead.take(db.directory(), "JK.db"), nullptr);
    EXPECT_TRUE(ahead.empty());
}

TEST(OpeningAheadOfFiles, AFileThatCannotBeOpenedIsToldAsWithoutOpeningAhead)
{
    TempDatabase db;
    std::ofstream(db.path("Pangkat.db"), std::ios::trunc) << "not a table file, but long enough to have a header";
    const std::string expected = openingError();
    ASSERT_NE(expected, "");
    std::shared_ptr<TableFilesAhead> ahead = openAhead();
    ASSERT_NE(ahead, nullptr);
    EXPECT_EQ(openingError(), expected);
}

TEST(OpeningAheadOfFiles, AnOlderDatabaseIsUpgradedBeforeItsFilesAreTaken)
{
    TempDatabase db{TempDatabase::Tables::None};
    loadVersionOne(db);
    InstalledSteps steps{InstalledSteps::withNoteColumn()};
    std::shared_ptr<TableFilesAhead> ahead = openAhead();
    ASSERT_NE(ahead, nullptr);
    StorageEngine::defaultSession().setUpgradeNotice([](const std::string&) {});
    auto employees = db.open("Datapegawai.db");
    StorageEngine::defaultSession().setUpgradeNotice(nullptr);
    // A file opened ahead at the old shape would lack the new column.
    EXPECT_EQ(employees->description().fields.back().name, "Catatan");
    EXPECT_TRUE(ahead->empty());
}

}  // namespace
