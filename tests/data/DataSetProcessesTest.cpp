#include "DataModuleFixture.h"
#include "TDataLink.h"

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

// Another process deletes the record this one shows. Edit must fail with the
// engine's message and leave the neighbour alone; delete has nothing to do.
class DeletedByAnotherProcess : public DataSetProcesses {
protected:
    void SetUp() override
    {
        DataSetProcesses::SetUp();
        addEmployee("1000000001", "Adi");
        addEmployee("1000000002", "Budi");
        addEmployee("1000000003", "Citra");
        // A window of three rows, as a grid shows: the engine cursor then
        // stands on the last row, not on the current record.
        if (rows() > 1) {
            grid_.SetBufferCount(rows());
            grid_.SetDataSource(&dm().DSdatapeg);
        }
        peg().First();
        ASSERT_EQ(current(), "1000000001");
        ASSERT_EQ(inChild([](TDMarsipstaf& other) {
                      if (!other.Tdatapeg.FindKey({"1000000001"}))
                          return 1;
                      other.Tdatapeg.Delete();
                      return 0;
                  }),
                  0);
    }

    void TearDown() override
    {
        grid_.SetDataSource(nullptr);
        DataSetProcesses::TearDown();
    }

    virtual int rows() const { return 3; }
    int stored() { return peg().RecordCount(); }

    TDataLink grid_;
};

TEST_P(DeletedByAnotherProcess, EditFailsAndTheNeighbourIsNotEdited)
{
    std::string error = DATABASE_ERROR_TEXT(peg().Edit());
    EXPECT_EQ(error.substr(0, error.find('\n')), "Record was deleted by another user.") << error;
    EXPECT_EQ(peg().State(), TDataSetState::dsBrowse);
    EXPECT_EQ(current(), "1000000002");  // the window was re-read
    EXPECT_NE(DATABASE_ERROR_TEXT(peg().FieldByName("Alamat")->SetText("Jl. Salah 1")), "");
    EXPECT_EQ(inChild([](TDMarsipstaf& other) {
                  if (!other.Tdatapeg.FindKey({"1000000002"}))
                      return 1;
                  return other.Tdatapeg.FieldByName("Alamat")->AsString().empty() ? 0 : 2;
              }),
              0);
    // The re-read record is edited as usual.
    peg().Edit();
    peg().FieldByName("Alamat")->SetText("Jl. Benar 2");
    peg().Post();
    ASSERT_TRUE(peg().FindKey({"1000000002"}));
    EXPECT_EQ(current("Alamat"), "Jl. Benar 2");
}

// One row: the engine cursor stands on the current record itself.
class DeletedByAnotherProcessOneRow : public DeletedByAnotherProcess {
protected:
    int rows() const override { return 1; }
};

TEST_P(DeletedByAnotherProcessOneRow, EditFailsToo)
{
    std::string error = DATABASE_ERROR_TEXT(peg().Edit());
    EXPECT_EQ(error.substr(0, error.find('\n')), "Record was deleted by another user.") << error;
    EXPECT_EQ(peg().State(), TDataSetState::dsBrowse);
    EXPECT_EQ(current(), "1000000002");
}

TEST_P(DeletedByAnotherProcess, DeleteDeletesNothingElse)
{
    peg().Delete();
    EXPECT_EQ(stored(), 2);
    EXPECT_EQ(order(), (std::vector<std::string>{"1000000002", "1000000003"}));
}

}  // namespace

INSTANTIATE_FOR_BOTH_ENGINES(DataSetProcesses);

INSTANTIATE_FOR_BOTH_ENGINES(DeletedByAnotherProcess);

INSTANTIATE_FOR_BOTH_ENGINES(DeletedByAnotherProcessOneRow);
