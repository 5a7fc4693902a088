// The program opening a version-1 database (tests/fixtures/v1) under a
// test's version-2 step: it upgrades the tables, tells the clerk in one box
// once they are open, and goes on with every record.
#include "BothEngines.h"
#include "DataModuleStartup.h"
#include "ModalBoxResponder.h"
#include "SchemaSteps.h"
#include "TDMarsipstaf.h"
#include "VersionOneDatabase.h"

#include <gtest/gtest.h>

namespace {

class UpgradeStartup : public ::testing::TestWithParam<TestEngine> {
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_TEST_SERVER(db);
        loadVersionOne(db);
    }

    TempDatabase db{TempDatabase::Tables::None, GetParam()};
    ModalBoxResponder responder;
};

TEST_P(UpgradeStartup, TheClerkIsToldOnceAndTheTablesOpenWithEveryRecord)
{
    InstalledSteps steps{InstalledSteps::withNoteColumn()};
    responder.click(QStringLiteral("OK"));
    std::unique_ptr<TDMarsipstaf> module = openDataModule();
    ASSERT_EQ(responder.boxes().size(), 1u);
    QString text = responder.last().text;
    const int newest = SchemaSteps::active().version();
    EXPECT_TRUE(text.contains(
        QStringLiteral("Datapegawai.db: version %1 to %2: column Catatan added").arg(newest - 1).arg(newest)))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral("The tables are upgraded to version %1.").arg(newest)))
        << text.toStdString();
    EXPECT_EQ(module->Tdatapeg.RecordCount(), 150);
    EXPECT_EQ(module->Tmutasi.RecordCount(), 150);
}

INSTANTIATE_FOR_BOTH_ENGINES(UpgradeStartup);

}  // namespace
