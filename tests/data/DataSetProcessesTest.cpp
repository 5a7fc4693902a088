#include "DataModuleFixture.h"

#include <sys/wait.h>
#include <unistd.h>

namespace {

using DataSetProcesses = OnBothEngines<DataModuleFixture>;

// Runs check in a child process with a data module of its own; the
// child's exit code says what it saw (0: as expected).
int inChild(const std::function<int(TDMarsipstaf&)>& check)
{
    pid_t child = fork();
    if (child == 0) {
        int code = 3;
        try {
            TDMarsipstaf module;
            module.Loaded();
            code = check(module);
        } catch (...) {
            code = 4;
        }
        _exit(code);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 5;
}

TEST_P(DataSetProcesses, APostedRecordIsVisibleToAnotherProcess)
{
    addEmployee("1000000007", "Dewi", {{"Kd_Agama", "04"}});
    int seen = inChild([](TDMarsipstaf& other) {
        TTable& table = other.Tdatapeg;
        if (!table.FindKey({"1000000007"}))
            return 1;
        return table.FieldByName("Agama")->AsString() == "Hindu" ? 0 : 2;
    });
    EXPECT_EQ(seen, 0);
}

TEST_P(DataSetProcesses, AnEditedRecordIsLockedForAnotherProcessUntilPosted)
{
    addEmployee("1000000007", "Dewi");
    peg().Edit();
    auto tryEdit = [](TDMarsipstaf& other) {
        try {
            other.Tdatapeg.Edit();
        } catch (const EDatabaseError&) {
            return 1;
        }
        other.Tdatapeg.Cancel();
        return 0;
    };
    EXPECT_EQ(inChild(tryEdit), 1);
    peg().FieldByName("Nama_Pegawai")->SetText("Dewi Sartika");
    peg().Post();
    EXPECT_EQ(inChild(tryEdit), 0);
    EXPECT_EQ(inChild([](TDMarsipstaf& other) {
                  return other.Tdatapeg.FieldByName("Nama_Pegawai")->AsString() == "Dewi Sartika" ? 0 : 1;
              }),
              0);
}

} // namespace

INSTANTIATE_FOR_BOTH_ENGINES(DataSetProcesses);
