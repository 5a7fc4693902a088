#include "ShellCommand.h"
#include "BothEngines.h"
#include "RegionalSettings.h"
#include "TDMarsipstaf.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

class AdminShell : public ::testing::TestWithParam<TestEngine> {
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_TEST_SERVER(db_);
        saved_ = RegionalSettings::current();
        RegionalSettings::current() = RegionalSettings::fromDateFormat("%d/%m/%Y");
    }
    void TearDown() override { RegionalSettings::current() = saved_; }

    // Runs a script through the tool's own entry point and returns its output.
    static std::string run(const std::string& script)
    {
        std::istringstream in(script);
        std::ostringstream out, err;
        EXPECT_EQ(ShellCommand::run(in, out, err), 0) << err.str();
        return out.str();
    }

    TempDatabase db_{TempDatabase::Tables::Default, GetParam()};
    RegionalSettings saved_;
};

TEST_P(AdminShell, AnswersEveryLineWithOneResult)
{
    std::string out = run("use Tdatapeg\n"
                          "append\n"
                          "set NIP 1000000001\n"
                          "set Nama_Pegawai \"Siti  Aminah\"\n"
                          "set Kd_Agama 01\n"
                          "post\n"
                          "\n"
                          "moveby -3\n"
                          "findkey 1000000001\n"
                          "findkey 2\n"
                          "locate Nama_Pegawai siti partial\n"
                          "locate Nama_Pegawai siti\n"
                          "count\n");
    EXPECT_EQ(out, "ok\nok\nok\nok\nok\nok\nok 0\nok found\nok notfound\nok found\nok notfound\nok 1\n");
}

TEST_P(AdminShell, MovebyTakesTheWholeIntRange)
{
    std::string out = run("use Tdatapeg\n"
                          "append\n"
                          "set NIP 1000000001\n"
                          "post\n"
                          "append\n"
                          "set NIP 1000000002\n"
                          "post\n"
                          "moveby -2147483648\n"
                          "moveby 2147483647\n"
                          "moveby -2147483649\n");
    EXPECT_EQ(out, "ok\nok\nok\nok\nok\nok\nok\nok -1\nok 1\n"
                   "error: moveby needs a whole number, not '-2147483649'\n");
}

TEST_P(AdminShell, ErrorsReadAsTheErrorBoxShowsThem)
{
    // A quote sorts before ".", so texts ending in one get no full stop.
    std::string out = run("first\n"
                          "use Tnothing\n"
                          "use Tdatapeg\n"
                          "post\n"
                          "delete\n"
                          "order Alamat\n"
                          "moveby many\n"
                          "set NIP\n"
                          "set \"unterminated\n"
                          "fly\n"
                          "append\n"
                          "set Tanggal_Lahir 31/02/1990\n");
    EXPECT_EQ(out, "error: No table in use; choose one with: use T.\n"
                   "error: Unknown table 'Tnothing'\n"
                   "ok\n"
                   "error: Tdatapeg: Dataset not in edit or insert mode.\n"
                   "error: Tdatapeg: Cannot perform this operation on an empty dataset.\n"
                   "error: Tdatapeg: No index for fields 'Alamat'\n"
                   "error: moveby needs a whole number, not 'many'\n"
                   "error: Usage: set F TEXT.\n"
                   "error: Unterminated quoted argument.\n"
                   "error: Unknown command 'fly'\n"
                   "ok\n"
                   "error: '31/02/1990' is not a valid date.\n");
}

TEST_P(AdminShell, ShowListsEveryFieldAndEndsWithADot)
{
    std::string out = run("use Tagama\nlast\nshow\n");
    EXPECT_EQ(out, "ok\nok\nok state=browse bof=0 eof=1\nKd_Agama=06\nAgama=Khonghucu\n.\n");
}

TEST_P(AdminShell, ASecondShellSeesPostedRecordsAndMeetsLocks)
{
    TDMarsipstaf firstModule, secondModule;
    firstModule.Loaded();
    secondModule.Loaded();
    std::ostringstream firstOut, secondOut;
    ShellCommand first(firstModule, firstOut), second(secondModule, secondOut);
    for (const char* line : {"use Tmutasi", "append", "set No_SKM W-1234-PK.01.04-2021", "post", "edit"})
        first.execute(line);
    for (const char* line : {"use Tmutasi", "first", "count", "edit"})
        second.execute(line);
    EXPECT_EQ(firstOut.str(), "ok\nok\nok\nok\nok\n");
    std::string seen = secondOut.str();
    EXPECT_EQ(seen.substr(0, 11), "ok\nok\nok 1\n");
    EXPECT_EQ(seen.substr(11, 7), "error: ") << seen;
    EXPECT_NE(seen.find("locked"), std::string::npos) << seen;
}

TEST_P(AdminShell, AFailedCommandAnswersOnlyTheError)
{
    // Commands that print a value after "ok" must not start their answer
    // before the value is known.
    for (const char* command :
         {"count", "moveby 1", "show", "findkey 1", "findnearest 1", "locate NIP 1", "set NIP 1", "edit", "order NIP"})
        EXPECT_EQ(run(std::string(command) + "\n"), "error: No table in use; choose one with: use T.\n") << command;
    EXPECT_EQ(run("use Tdatapeg\nmoveby 99999999999\n"), "ok\nerror: moveby needs a whole number, not '99999999999'\n");
}

TEST_P(AdminShell, EditOfARecordTheOtherShellDeletedFails)
{
    TDMarsipstaf firstModule, secondModule;
    firstModule.Loaded();
    secondModule.Loaded();
    std::ostringstream firstOut, secondOut;
    ShellCommand first(firstModule, firstOut), second(secondModule, secondOut);
    for (const char* line :
         {"use Tdatapeg", "append", "set NIP 1000000001", "post", "append", "set NIP 1000000002", "post", "first"})
        first.execute(line);
    for (const char* line : {"use Tdatapeg", "findkey 1000000001"})
        second.execute(line);
    first.execute("delete");
    ASSERT_EQ(firstOut.str(), "ok\nok\nok\nok\nok\nok\nok\nok\nok\n");
    second.execute("edit");
    std::string seen = secondOut.str();
    EXPECT_EQ(seen.substr(0, 12), "ok\nok found\n");
    EXPECT_EQ(seen.substr(12, 43), "error: Record was deleted by another user. ") << seen;
    for (const char* line : {"set Alamat X", "post", "show"})
        second.execute(line);
    seen = secondOut.str();
    EXPECT_NE(seen.find("error: Tdatapeg: Dataset not in edit or insert mode.\n"
                        "error: Tdatapeg: Dataset not in edit or insert mode.\n"
                        "ok state=browse"),
              std::string::npos)
        << seen;
    EXPECT_NE(seen.find("NIP=1000000002\n"), std::string::npos) << seen;
    EXPECT_NE(seen.find("Alamat=\n"), std::string::npos) << seen;
}

TEST(AdminShellSplit, QuotesKeepBlanks)
{
    EXPECT_EQ(ShellCommand::split("set  Alamat \"Jl. Merdeka 5\""),
              (std::vector<std::string>{"set", "Alamat", "Jl. Merdeka 5"}));
    EXPECT_EQ(ShellCommand::split("set Alamat \"\""), (std::vector<std::string>{"set", "Alamat", ""}));
    EXPECT_TRUE(ShellCommand::split("   ").empty());
}

}  // namespace

namespace {

TEST_P(AdminShell, MaskCommandsDriveOneEditor)
{
    std::string out = run("mask 0000000000;1;_\n"
                          "enter\n"
                          "keys 12a3\n"
                          "validate\n"
                          "keys 456789{Left}{BS}\n"
                          "keys 9\n"
                          "exit\n"
                          "readtext\n"
                          "mask !99/99/9999;1;_\n"
                          "settext 5/8/1970\n"
                          "readtext\n"
                          "display 17/08/1945\n"
                          "keys {Home}{Del}{Esc}\n"
                          "mask\n"
                          "keys {Nope}\n");
    EXPECT_EQ(out,
              "ok 10\n"
              "ok\n"
              "ok [123_______] 3 1\n"
              "error: Invalid input value.  Use escape key to abandon changes. (position 3)\n"
              "ok [1234567_9_] 7 0\n"  // Backspace takes the character before the cursor
              "ok [123456799_] 8 0\n"
              "error: Invalid input value.  Use escape key to abandon changes. (position 9)\n"
              "ok [123456799 ]\n"
              "ok 10\n"
              "ok [_5/_8/1970]\n"
              "ok [ 5/ 8/1970]\n"
              "ok [17/08/1945]\n"
              "ok [_5/_8/1970] 0 0\n"
              "ok 0\n"
              // The plain edit keeps what the old mask reads; an unknown key name is typed.
              "ok [5 81970{Nope}] 13 0\n");
}

}  // namespace

INSTANTIATE_FOR_BOTH_ENGINES(AdminShell);
