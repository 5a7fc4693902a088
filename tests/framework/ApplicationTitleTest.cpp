#include "ApplicationTitle.h"
#include "TApplication.h"

#include <gtest/gtest.h>

struct TitleCase {
    const char* path;
    const char* title;
};

class ApplicationTitleTest : public ::testing::TestWithParam<TitleCase> {};

TEST_P(ApplicationTitleTest, DerivesFromProgramFileName)
{
    EXPECT_EQ(ApplicationTitle::fromProgramPath(QString::fromUtf8(GetParam().path)).toStdString(), GetParam().title);
}

INSTANTIATE_TEST_SUITE_P(Paths, ApplicationTitleTest,
                         ::testing::Values(TitleCase{"/usr/local/bin/arsipstaf", "arsipstaf"},
                                           TitleCase{"arsipstaf", "arsipstaf"},
                                           TitleCase{"C:\\Program\\ARSIPSTAF.EXE", "Arsipstaf"},
                                           TitleCase{"/opt/x.y/Arsip.Staf.bin", "Arsip"}, TitleCase{"/bin/.hidden", ""},
                                           TitleCase{"/bin/Q", "Q"}));

TEST(ApplicationTitle, RunningProgramIsNamedAfterItsExecutable)
{
    EXPECT_EQ(ApplicationTitle::current().toStdString(), "test_framework");
}
