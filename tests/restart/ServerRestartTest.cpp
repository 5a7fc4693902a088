// The test server's cluster restarted (and stopped a while) under a running
// admin shell and under an open record window: the work goes on afterwards,
// and a record being edited across the restart is stored only after the
// clerk was told once.
#include "../windows/RecordWindowFixture.h"
#include "ModalBoxResponder.h"
#include "ShellCommand.h"
#include "TDBNavigator.h"
#include "TNavButton.h"
#include "TestServerRestart.h"

#include <sstream>

namespace {

#define SKIP_WITHOUT_RESTARTABLE_SERVER()                                                                              \
    do {                                                                                                               \
        if (!TestServerRestart::available()) {                                                                         \
            if (std::getenv("CI"))                                                                                     \
                FAIL() << "no restartable test server: run the tests with tools/with-test-server.sh";                  \
            GTEST_SKIP() << "no restartable test server: run the tests with tools/with-test-server.sh";                \
        }                                                                                                              \
    } while (false)

class ShellAcrossRestart : public DataModuleFixture {
protected:
    TestEngine engine() const override { return TestEngine::Server; }
    void SetUp() override
    {
        DataModuleFixture::SetUp();
        if (IsSkipped())
            return;
        SKIP_WITHOUT_RESTARTABLE_SERVER();
        for (const char* nip : {"1000000001", "1000000002", "1000000003"})
            addEmployee(nip, "Pegawai " + std::string(nip).substr(9));
        shell_ = std::make_unique<ShellCommand>(dm(), out_);
    }

    // The shell's answers to lines, one string.
    std::string run(const std::vector<std::string>& lines)
    {
        out_.str("");
        for (const std::string& line : lines)
            shell_->execute(line);
        return out_.str();
    }

    std::ostringstream out_;
    std::unique_ptr<ShellCommand> shell_;
};

TEST_F(ShellAcrossRestart, MovesEditsAndPostsGoOn)
{
    ASSERT_EQ(run({"use Tdatapeg", "first"}), "ok\nok\n");
    ASSERT_TRUE(TestServerRestart::cluster("restart"));
    EXPECT_EQ(run({"next", "count", "edit", "set Nama_Pegawai \"Sesudah Restart\"", "post"}), "ok\nok 3\nok\nok\nok\n");
    // The server away: told, and nothing answered from memory.
    ASSERT_TRUE(TestServerRestart::cluster("stop"));
    std::string answer = run({"count"});
    EXPECT_EQ(answer.rfind("error: ", 0), 0u) << answer;
    EXPECT_NE(answer.find("Cannot connect to the database server"), std::string::npos) << answer;
    ASSERT_TRUE(TestServerRestart::cluster("start"));
    answer = run({"findkey 1000000002", "show"});
    EXPECT_EQ(answer.substr(0, 9), "ok found\n") << answer;
    EXPECT_NE(answer.find("Nama_Pegawai=Sesudah Restart"), std::string::npos) << answer;
}

TEST_F(ShellAcrossRestart, ARecordEditedAcrossARestartIsToldOnceThenStored)
{
    ASSERT_EQ(run({"use Tdatapeg", "findkey 1000000003", "edit", "set Nama_Pegawai Diubah"}), "ok\nok found\nok\nok\n");
    ASSERT_TRUE(TestServerRestart::cluster("restart"));
    std::string answer = run({"post"});
    EXPECT_EQ(answer.rfind("error: ", 0), 0u) << answer;
    EXPECT_NE(answer.find("lost while the record was edited"), std::string::npos) << answer;
    EXPECT_EQ(run({"show"}).substr(0, 20), "ok state=edit bof=0 ");
    EXPECT_NE(out_.str().find("Nama_Pegawai=Diubah"), std::string::npos);  // nothing typed is lost
    EXPECT_EQ(run({"post", "cancel", "findkey 1000000003"}), "ok\nok\nok found\n");
    EXPECT_NE(run({"show"}).find("Nama_Pegawai=Diubah"), std::string::npos) << out_.str();
}

class RecordWindowAcrossRestart : public RecordWindowFixture {
protected:
    TestEngine engine() const override { return TestEngine::Server; }
    void SetUp() override
    {
        RecordWindowFixture::SetUp();
        if (IsSkipped())
            return;
        SKIP_WITHOUT_RESTARTABLE_SERVER();
        showAndActivate(*form2);
    }

    // The name stored for nip, read through a data module of its own.
    std::string storedName(const std::string& nip)
    {
        TDMarsipstaf other;
        other.Loaded();
        return other.Tdatapeg.FindKey({nip}) ? other.Tdatapeg.FieldByName("Nama_Pegawai")->AsString() : "";
    }

    // Simpan, answering the one box it may show; returns its text or "".
    QString simpan()
    {
        ModalBoxResponder responder;
        responder.click(QStringLiteral("OK"));
        click(form2->Button3);
        return responder.boxes().isEmpty() ? QString() : responder.last().text;
    }
};

TEST_F(RecordWindowAcrossRestart, MoveEditAndSimpanGoOn)
{
    peg().First();
    ASSERT_TRUE(TestServerRestart::cluster("restart"));
    QTest::mouseClick(form2->DBNavigator1->button(nbNext), Qt::LeftButton);
    EXPECT_EQ(current(), "1960020202");
    click(form2->Button5);  // Rubah
    typeInto(form2->entry(3), QStringLiteral("Budi Restart"));
    EXPECT_EQ(simpan(), QString());
    EXPECT_TRUE(errors().empty());
    EXPECT_EQ(peg().State(), TDataSetState::dsBrowse);
    EXPECT_EQ(storedName("1960020202"), "Budi Restart");
}

TEST_F(RecordWindowAcrossRestart, ARecordEditedAcrossARestartIsToldOnceThenStored)
{
    peg().First();
    click(form2->Button5);  // Rubah
    typeInto(form2->entry(3), QStringLiteral("Ahmad Restart"));
    ASSERT_TRUE(TestServerRestart::cluster("restart"));
    QString told = simpan();
    EXPECT_TRUE(told.contains(QStringLiteral("lost while the record was edited"))) << told.toStdString();
    EXPECT_EQ(peg().State(), TDataSetState::dsEdit);
    EXPECT_EQ(form2->entry(3)->text(), QStringLiteral("Ahmad Restart"));
    EXPECT_EQ(storedName("1957010101"), "Ahmad Yani");
    EXPECT_EQ(simpan(), QString());
    EXPECT_EQ(peg().State(), TDataSetState::dsBrowse);
    EXPECT_EQ(storedName("1957010101"), "Ahmad Restart");
}

}  // namespace
