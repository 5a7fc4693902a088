// `upgrade [--dry-run]` and the versions `check` prints, on a version-1
// database (tests/fixtures/v1) with a test's version-2 step, on the table
// files and on the server with one body.
#include "AdminRun.h"
#include "BothEngines.h"
#include "VersionOneDatabase.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

class UpgradeCommandTest : public ::testing::TestWithParam<TestEngine> {
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_TEST_SERVER(db_);
        loadVersionOne(db_);
    }

    TempDatabase db_{TempDatabase::Tables::None, GetParam()};
};

// The program's version, and the test step's one above it.
const std::string known = std::to_string(SchemaSteps::program().version());
const std::string noted = std::to_string(SchemaSteps::program().version() + 1);

TEST_P(UpgradeCommandTest, DryRunAndCheckTellTheStepsAndUpgradeRunsThemOnce)
{
    InstalledSteps steps{InstalledSteps::withNoteColumn()};
    const std::string step =
        "Datapegawai.db: version " + known + " to " + noted + ": column Catatan added to Datapegawai.db\n";

    AdminRun check = admin({"check"});
    EXPECT_THAT(check.out, HasSubstr("Agama.db: ok, 6 records, version 1\n"));
    EXPECT_THAT(check.out, HasSubstr("Mutasi.db: version 1; an upgrade to version " + noted +
                                     " is due (arsipstaf-admin upgrade)\n"));

    AdminRun dry = admin({"upgrade", "--dry-run"});
    EXPECT_EQ(dry.code, 0) << dry.err;
    EXPECT_THAT(dry.out, HasSubstr("are of version 1; they are upgraded to version " + noted + ".\n"));
    EXPECT_THAT(dry.out, HasSubstr(step));
    EXPECT_THAT(dry.out, HasSubstr("Dry run: nothing was changed.\n"));
    EXPECT_THAT(dry.out, Not(HasSubstr("backup")));
    EXPECT_THAT(admin({"check"}).out, HasSubstr("an upgrade to version " + noted + " is due"));

    AdminRun run = admin({"upgrade"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr(step));
    EXPECT_THAT(run.out, HasSubstr("The tables are upgraded to version " + noted + ".\n"));
    if (!db_.onServer()) {
        EXPECT_THAT(run.out, HasSubstr("A backup of the tables is in " + db_.directory() + "-backup-"));
    }

    check = admin({"check"});
    EXPECT_THAT(check.out, HasSubstr("Datapegawai.db: ok, 150 records, version " + noted + "\n"));
    EXPECT_THAT(check.out, Not(HasSubstr("is due")));
    EXPECT_EQ(admin({"upgrade"}).out, "Every table is of version " + noted + "; nothing to upgrade.\n");
}

TEST_P(UpgradeCommandTest, ANewerDatabaseIsRefusedByEveryCommandNamingBothVersions)
{
    {
        InstalledSteps steps{InstalledSteps::withNoteColumn()};
        ASSERT_EQ(admin({"upgrade"}).code, 0);
    }
    for (std::vector<std::string> command : {std::vector<std::string>{"upgrade"}, {"export", "Tdatapeg", "x.csv"}}) {
        AdminRun run = admin(command);
        EXPECT_EQ(run.code, 1) << command[0];
        EXPECT_THAT(run.err, HasSubstr("The table was made by a newer version of the program."));
        EXPECT_THAT(run.err, HasSubstr("has version " + noted + "; this program knows versions up to " + known +
                                       ". Nothing was changed."));
    }
}

INSTANTIATE_FOR_BOTH_ENGINES(UpgradeCommandTest);

}  // namespace
