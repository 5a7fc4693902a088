#include "TApplication.h"

#include <gtest/gtest.h>

struct ErrorTextCase {
    const char* message;
    const char* shown;
};

class ErrorBoxTextTest : public ::testing::TestWithParam<ErrorTextCase> {};

TEST_P(ErrorBoxTextTest, FullStopOnlyAfterCharactersSortingAfterIt)
{
    EXPECT_EQ(TApplication::errorBoxText(QString::fromUtf8(GetParam().message)).toStdString(), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ErrorBoxTextTest,
    ::testing::Values(ErrorTextCase{"Field 'NIP' must have a value", "Field 'NIP' must have a value."},
                      ErrorTextCase{"Delete record?", "Delete record?."},
                      ErrorTextCase{"Key violation 42", "Key violation 42."},
                      ErrorTextCase{"Invalid input value.  Use escape key to abandon changes",
                                    "Invalid input value.  Use escape key to abandon changes."},
                      ErrorTextCase{"Stop!", "Stop!"}, ErrorTextCase{"Already ended.", "Already ended."},
                      ErrorTextCase{"in brackets)", "in brackets)"},
                      ErrorTextCase{"trailing blank ", "trailing blank "}, ErrorTextCase{"path/", "path/."},
                      ErrorTextCase{"", ""}));

TEST(ApplicationErrorText, NamesClassModuleAndAddress)
{
    EXPECT_EQ(TApplication::applicationErrorText(QStringLiteral("int"), QStringLiteral("arsipstaf"),
                                                 reinterpret_cast<const void*>(0x4a2bcU))
                  .toStdString(),
              "Exception int in module arsipstaf at 0004A2BC.\n");
}
