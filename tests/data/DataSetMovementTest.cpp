#include "DataModuleFixture.h"
#include "RecordingLink.h"

#include <climits>

namespace {

class DataSetMovementOnFiles : public DataModuleFixture {
protected:
    void SetUp() override
    {
        DataModuleFixture::SetUp();
        addEmployee("1000000003", "siti aminah", {{"Karpeg", "00000002"}});
        addEmployee("1000000001", "Siti Rahma", {{"Karpeg", "00000003"}});
        addEmployee("1000000002", "Bambang", {{"Karpeg", "00000001"}});
        addEmployee("1000000004", "Yusuf", {{"Karpeg", "00000001"}});
    }
};

using DataSetMovement = OnBothEngines<DataSetMovementOnFiles>;

TEST_P(DataSetMovement, EndsSetAndClearBofAndEof)
{
    peg().First();
    EXPECT_TRUE(peg().Bof());
    EXPECT_FALSE(peg().Eof());
    EXPECT_EQ(peg().MoveBy(2), 2);
    EXPECT_FALSE(peg().Bof());
    EXPECT_EQ(current(), "1000000003");
    EXPECT_EQ(peg().MoveBy(5), 1);
    EXPECT_TRUE(peg().Eof());
    EXPECT_EQ(current(), "1000000004");
    EXPECT_EQ(peg().MoveBy(1), 0);  // a second next does nothing at all
    EXPECT_EQ(current(), "1000000004");
    EXPECT_EQ(peg().MoveBy(0), 0);
    EXPECT_EQ(peg().MoveBy(-10), -3);
    EXPECT_TRUE(peg().Bof());
    peg().Last();
    EXPECT_TRUE(peg().Eof());
    EXPECT_FALSE(peg().Bof());
    EXPECT_EQ(current(), "1000000004");
}

// The backward count is negated: at INT_MIN only a wider type holds it.
TEST_P(DataSetMovement, MoveByTheIntLimitsStopsAtTheEnds)
{
    peg().Last();
    EXPECT_EQ(peg().MoveBy(INT_MIN), -3);
    EXPECT_TRUE(peg().Bof());
    EXPECT_EQ(current(), "1000000001");
    EXPECT_EQ(peg().MoveBy(INT_MAX), 3);
    EXPECT_TRUE(peg().Eof());
    EXPECT_EQ(current(), "1000000004");
}

TEST_P(DataSetMovement, EmptyTableHasBothEndsSet)
{
    while (!peg().IsEmpty())
        peg().Delete();
    peg().First();
    EXPECT_TRUE(peg().Bof() && peg().Eof());
    peg().Last();
    EXPECT_TRUE(peg().Bof() && peg().Eof());
    EXPECT_EQ(peg().MoveBy(1), 0);
}

TEST_P(DataSetMovement, OrderingByNameIgnoresCaseAndKeepsTheCurrentRecord)
{
    peg().First();
    peg().Next();  // 1000000002 Bambang
    peg().SetIndexFieldNames("Nama_Pegawai");
    EXPECT_EQ(current(), "1000000002");
    EXPECT_EQ(order("Nama_Pegawai"), (std::vector<std::string>{"Bambang", "siti aminah", "Siti Rahma", "Yusuf"}));
    // Equal keys follow the primary key.
    peg().SetIndexFieldNames("Karpeg");
    EXPECT_EQ(order(), (std::vector<std::string>{"1000000002", "1000000004", "1000000003", "1000000001"}));
    peg().SetIndexFieldNames("");
    EXPECT_EQ(order(), (std::vector<std::string>{"1000000001", "1000000002", "1000000003", "1000000004"}));
}

TEST_P(DataSetMovement, UnknownOrderingFailsAndKeepsThePreviousOne)
{
    peg().SetIndexFieldNames("Nama_Pegawai");
    EXPECT_EQ(DATABASE_ERROR_TEXT(peg().SetIndexFieldNames("Alamat")), "Tdatapeg: No index for fields 'Alamat'");
    EXPECT_EQ(peg().IndexFieldNames(), "Nama_Pegawai");
    EXPECT_EQ(order("Nama_Pegawai").front(), "Bambang");
}

struct NearestCase {
    const char* text;
    const char* expected;  // Nama_Pegawai of the record found
};

class FindNearestOnNames : public DataSetMovementOnFiles,
                           public ::testing::WithParamInterface<std::tuple<TestEngine, NearestCase>> {
protected:
    TestEngine engine() const override { return std::get<0>(GetParam()); }
};

TEST_P(FindNearestOnNames, LandsOnTheFirstKeyNotBelowTheText)
{
    const NearestCase& c = std::get<1>(GetParam());
    peg().SetIndexFieldNames("Nama_Pegawai");
    peg().Last();
    peg().FindNearest({c.text});
    EXPECT_EQ(current("Nama_Pegawai"), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Names, FindNearestOnNames,
    ::testing::Combine(::testing::Values(TestEngine::Files, TestEngine::Server),
                       ::testing::Values(NearestCase{"", "Bambang"}, NearestCase{"Sit", "siti aminah"},
                                         NearestCase{"SITI R", "Siti Rahma"}, NearestCase{"Suk", "Yusuf"},
                                         NearestCase{"Zulkifli", "Yusuf"},  // beyond every key: the last record
                                         NearestCase{"Ba", "Bambang"})));

TEST_P(DataSetMovement, FindKeyMatchesWholeValuesOnly)
{
    peg().First();
    EXPECT_TRUE(peg().FindKey({"1000000003"}));
    EXPECT_EQ(current(), "1000000003");
    EXPECT_FALSE(peg().FindKey({"100000000"}));
    EXPECT_EQ(current(), "1000000003");
    peg().SetIndexFieldNames("Nama_Pegawai");
    EXPECT_FALSE(peg().FindKey({"Siti"}));
    EXPECT_TRUE(peg().FindKey({"Yusuf"}));
    EXPECT_EQ(current(), "1000000004");
}

TEST_P(DataSetMovement, SearchesStoreAPendingEditFirst)
{
    peg().First();
    peg().Edit();
    peg().FieldByName("Nama_Pegawai")->SetText("Agus");
    peg().FindNearest({"1000000004"});
    EXPECT_EQ(peg().State(), TDataSetState::dsBrowse);
    peg().First();
    EXPECT_EQ(current("Nama_Pegawai"), "Agus");
}

TEST_P(DataSetMovement, LocateFindsExactOrCaseInsensitivePrefix)
{
    peg().First();
    EXPECT_TRUE(peg().Locate("Nama_Pegawai", "siti", true));
    EXPECT_EQ(current(), "1000000001");  // first in NIP order
    EXPECT_FALSE(peg().Locate("Nama_Pegawai", "siti", false));
    EXPECT_EQ(current(), "1000000001");
    EXPECT_TRUE(peg().Locate("Nama_Pegawai", "Bambang", false));
    EXPECT_EQ(current(), "1000000002");
    EXPECT_FALSE(peg().Locate("Nama_Pegawai", "Z", true));
    EXPECT_EQ(current(), "1000000002");
}

TEST_P(DataSetMovement, LookupValuesFollowTheCodeAtOnce)
{
    peg().First();
    EXPECT_EQ(current("Agama"), "");
    peg().Edit();
    peg().FieldByName("Kd_Agama")->SetText("02");
    EXPECT_EQ(current("Agama"), "Kristen Protestan");
    peg().FieldByName("Kd_Agama")->SetText("99");
    EXPECT_TRUE(peg().FieldByName("Agama")->IsNull());
    peg().FieldByName("Kd_Agama")->SetText("01");
    peg().FieldByName("Kd_JK")->SetText("PR");
    peg().FieldByName("Kd_Pend")->SetText("08");
    peg().Post();
    EXPECT_EQ(current("Agama"), "Islam");
    EXPECT_EQ(current("Jenis Kelamin"), "Perempuan");
    EXPECT_EQ(current("Pendidikan Formal"), "S1");
}

TEST_P(DataSetMovement, LookupOfANewCodeShowsWhenTheRecordIsNextFetched)
{
    peg().First();
    peg().Edit();
    peg().FieldByName("Kd_JK")->SetText("XX");
    peg().FieldByName("Kd_Pend")->SetText("77");
    peg().Post();
    EXPECT_EQ(current("Jenis Kelamin"), "");
    dm().Tjk.Append();
    dm().Tjk.FieldByName("Kd_JK")->SetText("XX");
    dm().Tjk.FieldByName("JK")->SetText("Lainnya");
    dm().Tjk.Post();
    dm().Tpf.Append();
    dm().Tpf.FieldByName("Kd_Pend")->SetText("77");
    dm().Tpf.FieldByName("Pend_Formal")->SetText("Pendidikan Khusus Lanjut");  // 24 characters
    dm().Tpf.Post();
    peg().Next();
    peg().First();
    EXPECT_EQ(current("Jenis Kelamin"), "Lainnya");
    EXPECT_EQ(current("Pendidikan Formal"), "Pendidikan Khusus La");
    EXPECT_EQ(dm().Tjk.FieldByName("Kd_JK")->AsString(), "XX");  // its own place is untouched
}

// Rows are fetched without their lookup values; each row read shows the text
// of its own code, whichever row is active and in whatever order rows are read.
TEST_P(DataSetMovement, EveryWindowRowShowsTheLookupOfItsOwnCode)
{
    const char* codes[] = {"PR", "LK", "", "PR"};
    peg().First();
    for (const char* code : codes) {
        peg().Edit();
        peg().FieldByName("Kd_JK")->SetText(code);
        peg().Post();
        peg().Next();
    }
    std::vector<std::string> log;
    RecordingLink grid("grid", log, true);
    grid.SetBufferCount(4);
    grid.SetDataSource(&dm().DSdatapeg);
    peg().Last();
    ASSERT_EQ(grid.RecordCount(), 4);
    std::vector<std::string> shown;
    for (int row = 3; row >= 0; --row) {
        int was = peg().SelectRow(row);
        shown.push_back(current("Jenis Kelamin"));
        peg().SelectRow(was);
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"Perempuan", "", "Laki-laki", "Perempuan"}));
    peg().First();
    EXPECT_EQ(current("Jenis Kelamin"), "Perempuan");
    peg().Next();
    EXPECT_EQ(current("Jenis Kelamin"), "Laki-laki");
}

// Answers are kept per key fields and result field: the same code asked for
// another column, or under other key fields, is not taken from another answer.
TEST_P(DataSetMovement, LookupAnswersDifferByResultAndKeyFields)
{
    TTable& jk = dm().Tjk;
    EXPECT_EQ(jk.Lookup("Kd_JK", {"PR"}, "JK"), FieldValue("Perempuan"));
    EXPECT_EQ(jk.Lookup("Kd_JK", {"PR"}, "Kd_JK"), FieldValue("PR"));
    EXPECT_EQ(jk.Lookup("JK", {"PR"}, "JK"), std::nullopt);
    EXPECT_EQ(jk.Lookup("Kd_JK;JK", {"PR", "Perempuan"}, "Kd_JK"), FieldValue("PR"));
    EXPECT_EQ(jk.Lookup("Kd_JK;JK", {"PR", "Laki-laki"}, "Kd_JK"), std::nullopt);
    EXPECT_EQ(jk.Lookup("Kd_JK", {"PR"}, "JK"), FieldValue("Perempuan"));
    EXPECT_EQ(jk.Lookup("Kd_JK", {"LK"}, "JK"), FieldValue("Laki-laki"));
    EXPECT_EQ(jk.Lookup("Kd_JK", {std::nullopt}, "JK"), std::nullopt);
}

TEST_P(DataSetMovement, AWindowOfRowsScrollsWithTheActiveRecord)
{
    std::vector<std::string> log;
    RecordingLink grid("grid", log, true);
    grid.SetBufferCount(3);
    grid.SetDataSource(&dm().DSdatapeg);
    peg().First();
    EXPECT_EQ(grid.RecordCount(), 3);
    EXPECT_EQ(grid.ActiveRecord(), 0);
    peg().Next();
    peg().Next();
    EXPECT_EQ(grid.ActiveRecord(), 2);
    EXPECT_EQ(grid.scrolled, 0);
    peg().Next();
    EXPECT_EQ(grid.scrolled, 1);
    EXPECT_EQ(grid.ActiveRecord(), 2);
    grid.SetActiveRecord(0);
    EXPECT_EQ(current(), "1000000002");
    grid.SetActiveRecord(2);
    EXPECT_EQ(current(), "1000000004");
    peg().Prior();
    peg().Prior();
    peg().Prior();
    EXPECT_EQ(grid.scrolled, 0);
    EXPECT_EQ(current(), "1000000001");
    EXPECT_EQ(grid.ActiveRecord(), 0);
}

TEST_P(DataSetMovement, SearchesPlaceTheRecordInTheMiddleRow)
{
    std::vector<std::string> log;
    RecordingLink grid("grid", log, true);
    grid.SetBufferCount(3);
    grid.SetDataSource(&dm().DSdatapeg);
    peg().First();
    peg().FindKey({"1000000003"});
    EXPECT_EQ(grid.ActiveRecord(), 1);
    peg().Delete();
    EXPECT_EQ(current(), "1000000004");
    // Nothing follows it: the rows it lacks below come from above.
    EXPECT_EQ(grid.ActiveRecord(), 2);
    EXPECT_EQ(grid.RecordCount(), 3);
    grid.SetActiveRecord(0);
    EXPECT_EQ(current(), "1000000001");
}

TEST_P(DataSetMovement, InsertTakesTheActiveRowAndPushesTheRestDown)
{
    std::vector<std::string> log;
    RecordingLink grid("grid", log, true);
    grid.SetBufferCount(4);
    grid.SetDataSource(&dm().DSdatapeg);
    peg().First();
    peg().Next();
    peg().Insert();
    EXPECT_EQ(grid.ActiveRecord(), 1);
    grid.SetActiveRecord(2);
    EXPECT_EQ(current(), "1000000002");
    grid.SetActiveRecord(3);
    EXPECT_EQ(current(), "1000000003");
    grid.SetActiveRecord(1);
    EXPECT_EQ(current(), "");
}

}  // namespace

namespace {

// Rows of a five-row window after a search, as NIP suffixes; "*" marks the current one.
class WindowAfterSearchOnFiles : public DataModuleFixture {
protected:
    void SetUp() override
    {
        DataModuleFixture::SetUp();
        for (int i = 1; i <= 9; ++i)
            addEmployee("100000000" + std::to_string(i), "N" + std::to_string(i));
        grid_.SetBufferCount(5);
        grid_.SetDataSource(&dm().DSdatapeg);
    }

    std::string rows()
    {
        std::string text;
        int active = grid_.ActiveRecord();
        for (int row = 0; row < grid_.RecordCount(); ++row) {
            grid_.SetActiveRecord(row);
            text += current().substr(9) + (row == active ? "*" : "") + " ";
        }
        grid_.SetActiveRecord(active);
        return text;
    }

    std::vector<std::string> log_;
    RecordingLink grid_{"grid", log_, true};
};

using WindowAfterSearch = OnBothEngines<WindowAfterSearchOnFiles>;

TEST_P(WindowAfterSearch, TopMiddleAndBottom)
{
    peg().FindKey({"1000000001"});
    EXPECT_EQ(rows(), "1* 2 3 4 5 ");
    peg().FindKey({"1000000005"});
    EXPECT_EQ(rows(), "3 4 5* 6 7 ");
    peg().FindKey({"1000000009"});
    EXPECT_EQ(rows(), "7 8 9* ");
    peg().FindNearest({"2"});
    EXPECT_EQ(rows(), "7 8 9* ");
    peg().Last();
    EXPECT_EQ(rows(), "5 6 7 8 9* ");
    peg().First();
    EXPECT_EQ(rows(), "1* 2 3 4 5 ");
}

// The found record is centred, the window filled below it at the top, and
// moves go on from it; a miss changes nothing.
TEST_P(WindowAfterSearch, LocateCentresItsRecordAndMovesOnFromIt)
{
    for (const char* order : {"NIP", "Nama_Pegawai"}) {
        SCOPED_TRACE(order);
        peg().SetIndexFieldNames(order);
        ASSERT_TRUE(peg().Locate("Nama_Pegawai", "n1", true));
        EXPECT_EQ(rows(), "1* 2 3 4 5 ");
        ASSERT_TRUE(peg().Locate("Nama_Pegawai", "N5", true));
        EXPECT_EQ(rows(), "3 4 5* 6 7 ");
        peg().Next();
        EXPECT_EQ(rows(), "3 4 5 6* 7 ");
        ASSERT_TRUE(peg().Locate("Nama_Pegawai", "n9", true));
        EXPECT_EQ(rows(), "7 8 9* ");
        peg().Prior();
        EXPECT_EQ(rows(), "7 8* 9 ");
        EXPECT_FALSE(peg().Locate("Nama_Pegawai", "n0", true));
        EXPECT_EQ(rows(), "7 8* 9 ");
        ASSERT_TRUE(peg().Locate("Nama_Pegawai", "N2", false));
        EXPECT_EQ(rows(), "1 2* 3 4 5 ");
        peg().Prior();
        peg().Prior();
        EXPECT_TRUE(peg().Bof());
        EXPECT_EQ(rows(), "1* 2 3 4 5 ");
    }
}

TEST_P(WindowAfterSearch, PlainReReadKeepsTheRow)
{
    peg().First();
    peg().MoveBy(3);
    EXPECT_EQ(rows(), "1 2 3 4* 5 ");
    peg().Edit();
    peg().FieldByName("Nama_Pegawai")->SetText("changed");
    peg().Post();
    EXPECT_EQ(rows(), "1 2 3 4* 5 ");
    peg().SetIndexFieldNames("Nama_Pegawai");
    // "changed" now sorts first: nothing stands above it, so it moves up to row 0.
    EXPECT_EQ(rows(), "4* 1 2 3 5 ");
}

}  // namespace

namespace {

using GrowingWindow = WindowAfterSearch;

TEST_P(GrowingWindow, AWiderWindowFetchesBelowThenAbove)
{
    grid_.SetBufferCount(3);
    peg().FindKey({"1000000008"});
    EXPECT_EQ(rows(), "7 8* 9 ");
    grid_.SetBufferCount(6);
    EXPECT_EQ(rows(), "4 5 6 7 8* 9 ");
    grid_.SetBufferCount(20);
    EXPECT_EQ(rows(), "1 2 3 4 5 6 7 8* 9 ");
    peg().Next();
    EXPECT_EQ(current(), "1000000009");
    EXPECT_EQ(peg().MoveBy(1), 0);
    EXPECT_TRUE(peg().Eof());
    peg().First();
    peg().Next();
    peg().Next();
    EXPECT_EQ(rows(), "1 2 3* 4 5 6 7 8 9 ");
}

TEST_P(GrowingWindow, AWiderWindowAtTheTopKeepsItsRows)
{
    peg().First();
    grid_.SetBufferCount(8);  // nothing above the first row to fetch
    EXPECT_EQ(rows(), "1* 2 3 4 5 6 7 8 ");
    peg().Last();
    grid_.SetBufferCount(12);
    EXPECT_EQ(rows(), "1 2 3 4 5 6 7 8 9* ");
}

INSTANTIATE_FOR_BOTH_ENGINES(GrowingWindow);

}  // namespace

INSTANTIATE_FOR_BOTH_ENGINES(DataSetMovement);
INSTANTIATE_FOR_BOTH_ENGINES(WindowAfterSearch);
