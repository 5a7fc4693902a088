// Bookmarks of the record window's rows, as a multi-selecting grid keeps
// them: going back to one, and to one whose record was deleted.
#include "DataModuleFixture.h"

namespace {

using DataSetBookmarks = OnBothEngines<DataModuleFixture>;

TEST_P(DataSetBookmarks, GoingBackToABookmarkMakesItsRecordCurrent)
{
    for (const char* nip : {"0000000001", "0000000002", "0000000003", "0000000004"})
        addEmployee(nip, "Pegawai");
    peg().First();
    peg().Next();
    const std::int64_t second = peg().Bookmark();
    ASSERT_NE(second, 0);
    peg().Last();
    EXPECT_NE(peg().Bookmark(), second);
    EXPECT_TRUE(peg().GotoBookmark(second));
    EXPECT_EQ(current(), "0000000002");
    peg().Next();
    EXPECT_EQ(current(), "0000000003") << "the window goes on from the bookmarked record";
}

TEST_P(DataSetBookmarks, ABookmarkOfADeletedRecordMovesNothing)
{
    for (const char* nip : {"0000000001", "0000000002", "0000000003"})
        addEmployee(nip, "Pegawai");
    peg().First();
    const std::int64_t first = peg().Bookmark();
    peg().Delete();
    peg().Last();
    EXPECT_FALSE(peg().GotoBookmark(first));
    EXPECT_EQ(current(), "0000000003");
    peg().Prior();
    EXPECT_EQ(current(), "0000000002");
    EXPECT_FALSE(peg().GotoBookmark(0));
}

TEST_P(DataSetBookmarks, RowsReadForDrawingHaveTheirOwnBookmarks)
{
    for (const char* nip : {"0000000001", "0000000002"})
        addEmployee(nip, "Pegawai");
    peg().First();
    const std::int64_t top = peg().Bookmark();
    peg().SelectRow(1);
    EXPECT_NE(peg().Bookmark(), top);
    peg().SelectRow(-1);
    EXPECT_EQ(peg().Bookmark(), top);
    peg().Append();
    EXPECT_EQ(peg().Bookmark(), 0) << "a record not yet stored";
}

}  // namespace

INSTANTIATE_FOR_BOTH_ENGINES(DataSetBookmarks);
