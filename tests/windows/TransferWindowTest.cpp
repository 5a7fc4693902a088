#include "ModalBoxResponder.h"
#include "RecordWindowFixture.h"

namespace {

class TransferWindow : public RecordWindowFixture {
protected:
    void SetUp() override
    {
        RecordWindowFixture::SetUp();
        showAndActivate(*form3);
    }

    // Tambah, then DBEdit1 to DBEdit6 of a new transfer; entry skip is left empty.
    void enterTransfer(int skip = 0)
    {
        click(form3->Button1);
        const QStringList texts{QStringLiteral("C3000DE01022003"), QStringLiteral("19650303033"),
                                QStringLiteral("Citra Dewi"),      QStringLiteral("Sindara"),
                                QStringLiteral("Bandung"),         QStringLiteral("010203")};
        for (int n = 1; n <= 6; ++n)
            if (n != skip)
                typeInto(form3->entry(n), texts[n - 1]);
    }

    std::string transfer(const std::string& field) { return mut().FieldByName(field)->AsString(); }
};

TEST_F(TransferWindow, EntriesTakeNoTypingUntilTambahOrRubah)
{
    QTest::keyClicks(form3->DBEdit3, QStringLiteral("xyz"));
    EXPECT_EQ(mut().State(), TDataSetState::dsBrowse);
    EXPECT_EQ(form3->DBEdit3->text(), QStringLiteral("Ahmad Yani"));
    click(form3->Button5);
    typeInto(form3->DBEdit3, QStringLiteral("Ahmad Y."));
    EXPECT_EQ(mut().State(), TDataSetState::dsEdit);
}

TEST_F(TransferWindow, ACompleteTransferIsStoredThenRemindsAndBringsTheEmployeeWindowForward)
{
    enterTransfer();
    {
        ModalBoxResponder responder;
        responder.click(QStringLiteral("Yes"));
        click(form3->Button3);
        ASSERT_EQ(responder.boxes().size(), 1);
        const ModalBoxRecord& box = responder.last();
        EXPECT_EQ(box.text, QStringLiteral("jangan lupa hapus data pegawai ...!"));
        EXPECT_EQ(box.caption, QStringLiteral("Warning"));
        EXPECT_TRUE(box.hasIcon);
        EXPECT_EQ(box.buttons, QStringList{QStringLiteral("Yes")});
    }
    EXPECT_TRUE(errors().empty());
    EXPECT_TRUE(form2->isVisible());
    EXPECT_TRUE(QTest::qWaitForWindowActive(form2.get()));
    EXPECT_EQ(mut().State(), TDataSetState::dsBrowse);
    EXPECT_EQ(transferCount(), 3);
    ASSERT_TRUE(mut().FindKey({"C-3000-DE.01.02-2003"}));
    EXPECT_EQ(transfer("NIP"), "19650303033");
    EXPECT_EQ(transfer("Pindah_Ke"), "Bandung");
    EXPECT_EQ(mut().FieldByName("TMT")->DisplayText(), "01/02/2003");
    for (int n = 1; n <= 6; ++n)
        EXPECT_FALSE(form3->entry(n)->isEnabled()) << n;
    EXPECT_FALSE(form3->Edit1->isEnabled());
    EXPECT_FALSE(form3->Button3->isEnabled());
}

// Any empty entry complains, a masked one holding only its literals and
// blanks included; nothing is stored and the clerk stays in this window.
class TransferEmptyEntry : public TransferWindow, public ::testing::WithParamInterface<int> {};

TEST_P(TransferEmptyEntry, AnyEmptyEntryComplainsAndNothingIsStored)
{
    enterTransfer(GetParam());
    ModalBoxResponder responder;
    responder.click(QStringLiteral("OK"));
    click(form3->Button3);
    ASSERT_EQ(responder.boxes().size(), 1);
    EXPECT_EQ(responder.last().text, QStringLiteral("Maaf data yang anda masukkan belum lengkap !"));
    EXPECT_FALSE(form2->isVisible());
    EXPECT_TRUE(form3->DBEdit1->isEnabled());
    EXPECT_TRUE(form3->Button3->isEnabled());
    EXPECT_EQ(form3->focusWidget(), form3->entry(GetParam()));
    EXPECT_EQ(mut().State(), TDataSetState::dsInsert);
    EXPECT_EQ(transferCount(), 2);
    EXPECT_TRUE(errors().empty());
}

INSTANTIATE_TEST_SUITE_P(Entries, TransferEmptyEntry, ::testing::Range(1, 7),
                         [](const auto& info) { return "DBEdit" + std::to_string(info.param); });

TEST_F(TransferWindow, AChangedTransferIsStoredWithoutAddingOne)
{
    click(form3->Button5);
    typeInto(form3->DBEdit5, QStringLiteral("Surabaya"));
    ModalBoxResponder responder;
    responder.click(QStringLiteral("Yes"));
    click(form3->Button3);
    EXPECT_EQ(transferCount(), 2);
    ASSERT_TRUE(mut().FindKey({"A-1234-BC.01.02-2001"}));
    EXPECT_EQ(transfer("Pindah_Ke"), "Surabaya");
}

TEST_F(TransferWindow, OrderingItemsSetTheTransferTablesOrdering)
{
    const char* expected[] = {"No_SKM", "NIP", "Nama_Pegawai"};
    for (int item : {1, 2, 0}) {
        choose(form3->RadioGroup1, item);
        EXPECT_EQ(mut().IndexFieldNames(), expected[item]);
    }
}

TEST_F(TransferWindow, SearchFindsTheNearestNumberAndStopsAtTwentyCharacters)
{
    click(form3->Button5);
    QTest::keyClicks(form3->Edit1, QStringLiteral("B"));
    EXPECT_EQ(transfer("No_SKM"), "B-2000-CD.01.02-2002");
    typeInto(form3->Edit1, QStringLiteral("A-1234-BC.01.02-2001-extra"));
    EXPECT_EQ(form3->Edit1->text(), QStringLiteral("A-1234-BC.01.02-2001"));
    EXPECT_EQ(transfer("No_SKM"), "A-1234-BC.01.02-2001");
}

TEST_F(TransferWindow, BatalAfterTambahDropsTheNewTransfer)
{
    choose(form3->RadioGroup1, 2);
    enterTransfer();
    click(form3->Button2);
    EXPECT_EQ(transferCount(), 2);
    EXPECT_EQ(transfer("Nama_Pegawai"), "Ahmad Yani");
    EXPECT_FALSE(form3->DBEdit1->isEnabled());
}

TEST_F(TransferWindow, HapusDeletesTheCurrentTransferOnYes)
{
    mut().Last();
    ModalBoxResponder responder;
    responder.click(QStringLiteral("Yes"));
    click(form3->Button4);
    EXPECT_EQ(responder.last().text, QStringLiteral("Apakah Benar Data Ini Ingin Dihapus ?"));
    EXPECT_EQ(transferCount(), 1);
    EXPECT_FALSE(mut().FindKey({"B-2000-CD.01.02-2002"}));
}

TEST_F(TransferWindow, CariShowsTheTransferSearchWindow)
{
    click(form3->Button6);
    EXPECT_TRUE(Form7->isVisible());
    EXPECT_FALSE(Form6->isVisible());
}

}  // namespace
