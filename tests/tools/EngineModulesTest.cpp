#include "AdminRun.h"
#include "TempDatabase.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

using ::testing::HasSubstr;

// The server engine and the workbook writer are modules the programs load
// when first needed. Without them the table files and CSV still work, and
// what needs a module says which one it lacks.
TEST(EngineModulesTest, MissingModulesAreNamedAndNothingElseFails)
{
    TempDatabase db;
    const std::string empty = db.root() + "/no-modules";
    std::filesystem::create_directory(empty);
    ::setenv("ARSIPSTAF_MODULE_DIR", empty.c_str(), 1);

    AdminRun csv = admin({"export", "Tdatapeg", db.root() + "/p.csv"});
    AdminRun xlsx = admin({"export", "Tdatapeg", db.root() + "/p.xlsx"});
    AdminRun server = admin({"init", "postgresql://localhost/arsip"});
    ::unsetenv("ARSIPSTAF_MODULE_DIR");

    EXPECT_EQ(csv.code, 0) << csv.err;
    EXPECT_EQ(xlsx.code, 1);
    EXPECT_THAT(xlsx.err, HasSubstr("Cannot load the module arsipstaf-xlsx."));
    EXPECT_THAT(xlsx.err, HasSubstr(empty + "/arsipstaf-xlsx.so"));
    EXPECT_FALSE(std::filesystem::exists(db.root() + "/p.xlsx"));
    EXPECT_EQ(server.code, 1);
    EXPECT_THAT(server.err, HasSubstr("Cannot load the module arsipstaf-server."));

    // Found again where the build puts them, beside the program.
    AdminRun found = admin({"export", "Tdatapeg", db.root() + "/p.xlsx"});
    EXPECT_EQ(found.code, 0) << found.err;
}

}  // namespace
