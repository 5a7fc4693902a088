#include "ModalBoxResponder.h"
#include "RecordWindowFixture.h"
#include "TDBNavigator.h"
#include "TNavButton.h"

namespace {

class EmployeeWindow : public RecordWindowFixture {
protected:
    void SetUp() override
    {
        RecordWindowFixture::SetUp();
        showAndActivate(*form2);
    }

    // Texts for DBEdit1 to DBEdit7 of a complete new record.
    static QStringList completeEntry()
    {
        return {QStringLiteral("1970050505"), QStringLiteral("44444444"), QStringLiteral("Dewi Sartika"),
                QStringLiteral("Bogor"),      QStringLiteral("05051970"), QStringLiteral("Jl. Dago 5"),
                QStringLiteral("Prajab")};
    }

    // Types texts[n-1] into DBEditn, skipping the entry numbered skip.
    void fillEntries(const QStringList& texts, int skip = 0)
    {
        for (int n = 1; n <= 7; ++n)
            if (n != skip)
                typeInto(form2->entry(n), texts[n - 1]);
    }
};

TEST_F(EmployeeWindow, TambahAndSimpanStoreACompleteRecordOnceAndLockTheEntries)
{
    click(form2->Button1);
    EXPECT_EQ(peg().State(), TDataSetState::dsInsert);
    EXPECT_EQ(QApplication::focusWidget(), form2->DBEdit1);
    fillEntries(completeEntry());
    form2->DBLookupComboBox2->setFocus();
    QTest::keyClick(form2->DBLookupComboBox2, Qt::Key_Down);  // the first religion, written at once
    {
        ModalBoxResponder responder;
        click(form2->Button3);
        EXPECT_TRUE(responder.boxes().isEmpty());
    }
    EXPECT_TRUE(errors().empty());
    EXPECT_EQ(peg().State(), TDataSetState::dsBrowse);
    EXPECT_EQ(order(), (std::vector<std::string>{"1957010101", "1960020202", "1965030303", "1970050505"}));
    ASSERT_TRUE(peg().FindKey({"1970050505"}));
    EXPECT_EQ(current("Karpeg"), "44444444");
    EXPECT_EQ(current("Nama_Pegawai"), "Dewi Sartika");
    EXPECT_EQ(peg().FieldByName("Tanggal_Lahir")->DisplayText(), "05/05/1970");
    EXPECT_EQ(current("Pendidikan_Diklat"), "Prajab");
    EXPECT_EQ(current("Agama"), "Islam");
    EXPECT_FALSE(form2->DBEdit1->isEnabled());
    EXPECT_FALSE(form2->Button3->isEnabled());
}

// Each case leaves one entry of a new record empty. A masked entry left
// with only its literals and blanks is empty too: every case complains,
// and nothing is stored.
class EmployeeEmptyEntry : public EmployeeWindow, public ::testing::WithParamInterface<int> {};

TEST_P(EmployeeEmptyEntry, AnyEmptyEntryComplainsAndNothingIsStored)
{
    const int empty = GetParam();
    click(form2->Button1);
    fillEntries(completeEntry(), empty);
    ModalBoxResponder responder;
    responder.click(QStringLiteral("OK"));
    click(form2->Button3);

    ASSERT_EQ(responder.boxes().size(), 1);
    const ModalBoxRecord& box = responder.last();
    EXPECT_EQ(box.text, QStringLiteral("Maaf data yang anda masukkan belum lengkap !"));
    EXPECT_EQ(box.caption, QStringLiteral("kesalahan"));
    EXPECT_FALSE(box.hasIcon);
    EXPECT_EQ(box.buttons, QStringList{QStringLiteral("OK")});
    EXPECT_TRUE(form2->DBEdit1->isEnabled());
    EXPECT_EQ(form2->focusWidget(), form2->entry(empty));
    EXPECT_TRUE(form2->Button3->isEnabled());
    EXPECT_EQ(peg().State(), TDataSetState::dsInsert);
    EXPECT_EQ(employeeCount(), 3);
    peg().Cancel();
    EXPECT_FALSE(peg().FindKey({"1970050505"}));
}

INSTANTIATE_TEST_SUITE_P(Entries, EmployeeEmptyEntry, ::testing::Range(1, 8),
                         [](const auto& info) { return "DBEdit" + std::to_string(info.param); });

TEST_F(EmployeeWindow, SimpanAfterRubahWithoutTypingOnAnIncompleteRecordLocksWithoutComplaint)
{
    peg().Last();  // Citra Dewi has no place of birth
    click(form2->Button5);
    ModalBoxResponder responder;
    click(form2->Button3);
    EXPECT_TRUE(responder.boxes().isEmpty());
    EXPECT_FALSE(form2->DBEdit1->isEnabled());
    EXPECT_FALSE(form2->Button3->isEnabled());
    EXPECT_EQ(employeeCount(), 3);
}

TEST_F(EmployeeWindow, SimpanAfterRubahWithoutTypingOnACompleteRecordFindsNothingToStore)
{
    click(form2->Button5);
    ModalBoxResponder responder;
    click(form2->Button3);
    EXPECT_TRUE(responder.boxes().isEmpty());
    EXPECT_EQ(peg().State(), TDataSetState::dsBrowse);
    EXPECT_FALSE(form2->DBEdit1->isEnabled());
    EXPECT_TRUE(form2->Edit1->isEnabled());
    EXPECT_EQ(employeeCount(), 3);
}

TEST_F(EmployeeWindow, SimpanAfterRubahStoresTheChangedRecordWithoutAddingOne)
{
    peg().Next();
    click(form2->Button5);
    typeInto(form2->DBEdit6, QStringLiteral("Jl. Baru 9"));
    click(form2->Button3);
    EXPECT_TRUE(errors().empty());
    EXPECT_EQ(employeeCount(), 3);
    ASSERT_TRUE(peg().FindKey({"1960020202"}));
    EXPECT_EQ(current("Alamat"), "Jl. Baru 9");
}

TEST_F(EmployeeWindow, BatalAfterTambahDropsTheNewRecordAndStandsOnTheFirstOfTheOrdering)
{
    choose(form2->RadioGroup1, 1);  // Kartu Pegawai: Budi comes first
    peg().Last();
    click(form2->Button1);
    EXPECT_EQ(peg().State(), TDataSetState::dsInsert);
    click(form2->Button2);  // the search box was empty already: it still searches
    EXPECT_EQ(peg().State(), TDataSetState::dsBrowse);
    EXPECT_EQ(employeeCount(), 3);
    EXPECT_EQ(current("Nama_Pegawai"), "Budi Santoso");
    EXPECT_TRUE(form2->Edit1->text().isEmpty());
    EXPECT_TRUE(errors().empty());
}

TEST_F(EmployeeWindow, BatalDiscardsAChangeAndEmptiesTheSearchBox)
{
    click(form2->Button5);
    QTest::keyClicks(form2->Edit1, QStringLiteral("1965"));
    typeInto(form2->DBEdit3, QStringLiteral("Citra Lestari"));
    click(form2->Button2);
    EXPECT_TRUE(form2->Edit1->text().isEmpty());
    ASSERT_TRUE(peg().FindKey({"1965030303"}));
    EXPECT_EQ(current("Nama_Pegawai"), "Citra Dewi");
}

struct DeleteCase {
    const char* answer;
    int remaining;
};

class EmployeeHapus : public EmployeeWindow, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(EmployeeHapus, AsksFirstAndDeletesOnlyOnYes)
{
    ModalBoxResponder responder;
    responder.click(QString::fromLatin1(GetParam().answer));
    click(form2->Button4);
    ASSERT_EQ(responder.boxes().size(), 1);
    EXPECT_EQ(responder.last().text, QStringLiteral("Apakah Benar Data Ini Ingin Dihapus ?"));
    EXPECT_EQ(responder.last().caption, QStringLiteral("Confirm"));
    EXPECT_TRUE(responder.last().hasIcon);
    EXPECT_EQ(responder.last().buttons, (QStringList{QStringLiteral("Yes"), QStringLiteral("No")}));
    EXPECT_EQ(employeeCount(), GetParam().remaining);
    EXPECT_EQ(peg().FindKey({"1957010101"}), GetParam().remaining == 3);
    EXPECT_TRUE(form2->DBEdit1->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Answers, EmployeeHapus, ::testing::Values(DeleteCase{"Yes", 2}, DeleteCase{"No", 3}),
                         [](const auto& info) { return std::string(info.param.answer); });

TEST_F(EmployeeWindow, HapusOnANewRecordDropsItAndDeletesNothing)
{
    click(form2->Button1);
    typeInto(form2->DBEdit3, QStringLiteral("Baru"));
    ModalBoxResponder responder;
    responder.click(QStringLiteral("Yes"));
    click(form2->Button4);
    EXPECT_EQ(peg().State(), TDataSetState::dsBrowse);
    EXPECT_EQ(employeeCount(), 3);
}

TEST_F(EmployeeWindow, HapusOnAnEmptyTableReportsTheEmptyDataset)
{
    while (!peg().IsEmpty())
        peg().Delete();
    ModalBoxResponder responder;
    responder.click(QStringLiteral("Yes")).click(QStringLiteral("OK"));
    click(form2->Button4);
    ASSERT_EQ(responder.boxes().size(), 2);
    EXPECT_EQ(responder.boxes()[1].text,
              QStringLiteral("Tdatapeg: Cannot perform this operation on an empty dataset."));
}

struct OrderingCase {
    int item;
    const char* indexFieldNames;
    std::vector<std::string> names;  // first to last
};

class EmployeeOrdering : public EmployeeWindow, public ::testing::WithParamInterface<OrderingCase> {};

TEST_P(EmployeeOrdering, TheChosenItemOrdersTheSharedTable)
{
    EXPECT_EQ(form2->RadioGroup1->ItemIndex(), -1);
    choose(form2->RadioGroup1, GetParam().item);
    EXPECT_EQ(peg().IndexFieldNames(), GetParam().indexFieldNames);
    EXPECT_EQ(order("Nama_Pegawai"), GetParam().names);
}

INSTANTIATE_TEST_SUITE_P(Items, EmployeeOrdering,
                         ::testing::Values(OrderingCase{0, "NIP", {"Ahmad Yani", "Budi Santoso", "Citra Dewi"}},
                                           OrderingCase{1, "Karpeg", {"Budi Santoso", "Citra Dewi", "Ahmad Yani"}},
                                           OrderingCase{
                                               2, "Nama_Pegawai", {"Ahmad Yani", "Budi Santoso", "Citra Dewi"}}),
                         [](const auto& info) { return std::string(info.param.indexFieldNames); });

TEST_F(EmployeeWindow, ArrowKeysChangeTheOrderingAndTheSameItemAgainDoesNothing)
{
    choose(form2->RadioGroup1, 0);
    QTest::keyClick(form2->RadioGroup1->button(0), Qt::Key_Down);
    EXPECT_EQ(form2->RadioGroup1->ItemIndex(), 1);
    EXPECT_EQ(peg().IndexFieldNames(), "Karpeg");

    peg().SetIndexFieldNames("Nama_Pegawai");  // as another window would
    choose(form2->RadioGroup1, 1);
    EXPECT_EQ(peg().IndexFieldNames(), "Nama_Pegawai");
}

TEST_F(EmployeeWindow, SearchBoxFindsTheNearestKeyOfTheCurrentOrdering)
{
    click(form2->Button5);
    EXPECT_EQ(QApplication::focusWidget(), form2->Edit1);
    QTest::keyClicks(form2->Edit1, QStringLiteral("196"));
    EXPECT_EQ(current(), "1960020202");
    QTest::keyClicks(form2->Edit1, QStringLiteral("5"));
    EXPECT_EQ(current(), "1965030303");
    QTest::keyClicks(form2->Edit1, QStringLiteral("9"));  // beyond every key: the last record
    EXPECT_EQ(current(), "1965030303");

    choose(form2->RadioGroup1, 2);
    typeInto(form2->Edit1, QStringLiteral("b"));
    EXPECT_EQ(current("Nama_Pegawai"), "Budi Santoso");
    EXPECT_TRUE(errors().empty());
}

TEST_F(EmployeeWindow, SearchTextStopsAtTenCharacters)
{
    click(form2->Button5);
    QTest::keyClicks(form2->Edit1, QStringLiteral("196003030399999"));
    EXPECT_EQ(form2->Edit1->text(), QStringLiteral("1960030303"));
}

TEST_F(EmployeeWindow, TypingInTheSearchBoxStoresAPendingChangeFirst)
{
    click(form2->Button5);
    typeInto(form2->DBEdit3, QStringLiteral("Ahmad Yani Jr"));
    EXPECT_EQ(peg().State(), TDataSetState::dsEdit);
    form2->Edit1->setFocus();
    QTest::keyClicks(form2->Edit1, QStringLiteral("1965"));
    EXPECT_EQ(peg().State(), TDataSetState::dsBrowse);
    EXPECT_EQ(current(), "1965030303");
    ASSERT_TRUE(peg().FindKey({"1957010101"}));
    EXPECT_EQ(current("Nama_Pegawai"), "Ahmad Yani Jr");
}

TEST_F(EmployeeWindow, EntriesEditRightAfterStartAndTheNavigatorStoresTheChange)
{
    typeInto(form2->DBEdit4, QStringLiteral("Cimahi"));
    EXPECT_EQ(peg().State(), TDataSetState::dsEdit);
    QTest::mouseClick(form2->DBNavigator1->button(nbNext), Qt::LeftButton);
    EXPECT_EQ(current(), "1960020202");
    ASSERT_TRUE(peg().FindKey({"1957010101"}));
    EXPECT_EQ(current("Tempat_Lahir"), "Cimahi");
}

TEST_F(EmployeeWindow, NavigatorShowsOnlyTheFourMovingButtons)
{
    for (int b = 0; b < navigateButtonCount; ++b) {
        const bool moving = b == nbFirst || b == nbPrior || b == nbNext || b == nbLast;
        EXPECT_EQ(form2->DBNavigator1->button(TNavigateBtn(b))->isVisibleTo(form2.get()), moving) << b;
    }
    EXPECT_EQ(form2->DBNavigator1->geometry(), QRect(12, 428, 640, 25));
}

TEST_F(EmployeeWindow, CariShowsTheSearchWindowAndTutupHidesWithThePendingRecordKept)
{
    click(form2->Button6);
    EXPECT_TRUE(Form6->isVisible());
    showAndActivate(*form2);
    click(form2->Button1);
    typeInto(form2->DBEdit3, QStringLiteral("Baru"));
    click(form2->Button7);
    EXPECT_FALSE(form2->isVisible());
    EXPECT_EQ(peg().State(), TDataSetState::dsInsert);
    form2->Show();
    EXPECT_EQ(form2->DBEdit3->text(), QStringLiteral("Baru"));
    EXPECT_TRUE(form2->Button3->isEnabled());
}

}  // namespace

namespace {

TEST_F(EmployeeWindow, ANumberThatExistsEndsSimpanWithTheErrorAndKeepsTheRecordBeingEntered)
{
    click(form2->Button1);
    fillEntries(completeEntry());
    typeInto(form2->DBEdit1, QStringLiteral("1960020202"));  // Budi's number
    ModalBoxResponder responder;
    responder.click(QStringLiteral("OK"));
    click(form2->Button3);
    ASSERT_EQ(responder.boxes().size(), 1);
    EXPECT_TRUE(responder.last().text.contains(QStringLiteral("Key violation"))) << responder.last().text.toStdString();
    EXPECT_EQ(peg().State(), TDataSetState::dsInsert);
    EXPECT_TRUE(form2->DBEdit1->isEnabled());  // unlocked again for the correction
    EXPECT_EQ(form2->focusWidget(), form2->DBEdit1);
    EXPECT_EQ(employeeCount(), 3);
    peg().Cancel();
    ASSERT_TRUE(peg().FindKey({"1960020202"}));
    EXPECT_EQ(current("Nama_Pegawai"), "Budi Santoso");
}

}  // namespace
