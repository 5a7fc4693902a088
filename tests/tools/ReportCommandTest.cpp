#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "AdminTool.h"
#include "GenerateCommand.h"
#include "TRepPrinter.h"
#include "BothEngines.h"

namespace fs = std::filesystem;

namespace {

class ReportCommandOnBoth : public ::testing::TestWithParam<TestEngine> {};

TEST_P(ReportCommandOnBoth, RunsEachReportAndSavesItsPages)
{
    TempDatabase database{TempDatabase::Tables::Default, GetParam()};
    SKIP_WITHOUT_TEST_SERVER(database);
    std::ostringstream out, err;
    ASSERT_EQ(GenerateCommand::run(20, out, err), 0) << err.str();
    for (const char* name : {"Form9", "Form10", "Form11"}) {
        for (bool coded : {false, true}) {
            const std::string file = database.root() + "/" + name + (coded ? "c" : "") + ".rpf";
            std::vector<std::string> args = {"report", name, file};
            if (coded)
                args.push_back("coded");
            std::ostringstream runOut, runErr;
            ASSERT_EQ(AdminTool::run(args, runOut, runErr), 0) << runErr.str();
            EXPECT_NE(runOut.str().find(std::string(name) + ": 2 pages in "), std::string::npos) << runOut.str();
            TRepPrinter loaded;
            loaded.Load(file);
            EXPECT_EQ(loaded.PageCount(), 2);
            EXPECT_EQ(loaded.PageList().Compression(), coded);
            EXPECT_TRUE(loaded.GetPage(2).has_value());
        }
    }
}

INSTANTIATE_FOR_BOTH_ENGINES(ReportCommandOnBoth);

TEST(ReportCommand, RejectsUnknownNamesAndArguments)
{
    TempDatabase database;
    const std::string file = database.root() + "/x.rpf";
    struct Case { std::vector<std::string> args; int code; };
    for (const Case& c : {Case{{"report", "Form8", file}, 2}, Case{{"report", "Form9"}, 2},
                          Case{{"report", "Form9", file, "zipped"}, 2}}) {
        std::ostringstream out, err;
        EXPECT_EQ(AdminTool::run(c.args, out, err), c.code);
        EXPECT_FALSE(err.str().empty());
    }
    EXPECT_FALSE(fs::exists(file));
}

}  // namespace
