// The program's data module opening on a server that wants a password the
// alias lacks: the real "Enter password" window asks, OK retries, Cancel
// raises the security error.
#include "BothEngines.h"
#include "ClerkRole.h"
#include "DataModuleStartup.h"
#include "EDBEngineError.h"
#include "ModalBoxResponder.h"
#include "TDMarsipstaf.h"

#include <gtest/gtest.h>

namespace {

class ServerPasswordStartup : public ::testing::Test {
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_TEST_SERVER(db);
        clerk.emplace(db, "rahasia");
    }
    void TearDown() override { clerk.reset(); }

    TempDatabase db{TempDatabase::Tables::Default, TestEngine::Server};
    std::optional<ClerkRole> clerk;
    ModalBoxResponder responder;
};

std::vector<ModalBoxResponder::Step> typed(const QString& text, const char* button)
{
    std::vector<ModalBoxResponder::Step> steps;
    for (QChar c : text)
        steps.push_back({ModalBoxResponder::Step::Key, QString(), Qt::Key_A + (c.unicode() - u'a')});
    steps.push_back({ModalBoxResponder::Step::Click, QString::fromUtf8(button)});
    return steps;
}

}  // namespace

TEST_F(ServerPasswordStartup, CancelRaisesTheSecurityError)
{
    responder.steps(typed(QStringLiteral("salah"), "CancelButton"));
    try {
        openDataModule();
        ADD_FAILURE() << "the data module opened without a password";
    } catch (const EDBEngineError& error) {
        EXPECT_EQ(error.code(), EngineCode::PasswordRequired);
    }
    ASSERT_EQ(responder.boxes().size(), 1);
    EXPECT_EQ(responder.last().caption, QStringLiteral("Enter password"));
    EXPECT_TRUE(StorageEngine::defaultSession().passwords().empty());
}

TEST_F(ServerPasswordStartup, AWrongPasswordAsksAgainAndTheRightOneOpensEveryTable)
{
    responder.steps(typed(QStringLiteral("salah"), "OKButton"));
    responder.steps(typed(QStringLiteral("rahasia"), "OKButton"));
    std::unique_ptr<TDMarsipstaf> module = openDataModule();
    EXPECT_EQ(responder.boxes().size(), 2);
    EXPECT_TRUE(module->Tdatapeg.Active());
    EXPECT_TRUE(module->Tstatus.Active());
    // Once given, the session's list serves every further table: no more boxes.
    EXPECT_EQ(responder.pending(), 0);
    EXPECT_EQ(StorageEngine::defaultSession().passwords().entries(), (std::vector<std::string>{"salah", "rahasia"}));
}
