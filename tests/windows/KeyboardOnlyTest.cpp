#include "KeyWalk.h"
#include "ModalBoxResponder.h"
#include "RecordWindowFixture.h"

// Both record windows' functions with keys alone, as the table in
// docs/record-windows.md lists them; the stored table read back after
// each one.
namespace {

class KeyboardOnly : public OnBothEngines<RecordWindowFixture> {
protected:
    // After a box: the window is active again, its focus where it was.
    void backTo(QWidget& window)
    {
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    std::string transfer(const std::string& field) { return mut().FieldByName(field)->AsString(); }
};

TEST_P(KeyboardOnly, EveryEmployeeWindowFunctionWithKeysAlone)
{
    showAndActivate(*form2);
    ASSERT_EQ(focused(), form2->DBEdit1);  // opened on the first entry

    // Add, fill the entries, pick a lookup value, store.
    press(form2->Button1);
    ASSERT_EQ(focused(), form2->DBEdit1);
    const QStringList texts{"1970050505", "44444444", "Dewi Sartika", "Bogor", "05051970"};
    for (const QString& text : texts) {
        QTest::keyClicks(focused(), text);
        key(Qt::Key_Tab);
    }
    ASSERT_EQ(focused(), form2->DBLookupComboBox1);
    key(Qt::Key_Down);  // the first code of the code table
    tabTo(form2->DBEdit6);
    QTest::keyClicks(focused(), QStringLiteral("Jl. Dago 5"));
    tabTo(form2->DBEdit7);
    QTest::keyClicks(focused(), QStringLiteral("Prajab"));
    press(form2->Button3);
    EXPECT_EQ(peg().State(), TDataSetState::dsBrowse);
    ASSERT_TRUE(peg().FindKey({"1970050505"}));
    EXPECT_EQ(current("Pendidikan_Diklat"), "Prajab");
    EXPECT_FALSE(current("Kd_JK").empty());
    EXPECT_EQ(employeeCount(), 4);

    // Change: Rubah, an entry, store.
    press(form2->Button5);
    tabTo(form2->DBEdit4);
    key(Qt::Key_End);
    QTest::keyClicks(focused(), QStringLiteral(" Barat"));
    press(form2->Button3);
    ASSERT_TRUE(peg().FindKey({"1970050505"}));
    EXPECT_EQ(current("Tempat_Lahir"), "Bogor Barat");

    // Ordering by name with the arrows, then a search by name.
    tabTo(form2->RadioGroup1->button(0));
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    EXPECT_EQ(peg().IndexFieldNames(), "Nama_Pegawai");
    tabTo(form2->Edit1);
    QTest::keyClicks(focused(), QStringLiteral("Cit"));
    EXPECT_EQ(current("Nama_Pegawai"), "Citra Dewi");
    // Back to NIP order and a search by NIP.
    tabTo(form2->RadioGroup1->button(2));
    key(Qt::Key_Up);
    key(Qt::Key_Up);
    EXPECT_EQ(peg().IndexFieldNames(), "NIP");
    tabTo(form2->Edit1);
    key(Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(focused(), QStringLiteral("1960"));
    EXPECT_EQ(current(), "1960020202");

    // Move in the grid.
    tabTo(form2->DBGrid1);
    key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(current(), "1957010101");
    key(Qt::Key_Down);
    EXPECT_EQ(current(), "1960020202");

    // Delete with the confirmation: No keeps, Yes deletes.
    {
        ModalBoxResponder responder;
        responder.key(Qt::Key_N).key(Qt::Key_Return);
        press(form2->Button4);
        ASSERT_EQ(responder.boxes().size(), 1);
        backTo(*form2);
        EXPECT_EQ(employeeCount(), 4);
        press(form2->Button4);
        backTo(*form2);
        EXPECT_EQ(responder.boxes().size(), 2);
    }
    EXPECT_EQ(employeeCount(), 3);
    EXPECT_FALSE(peg().FindKey({"1960020202"}));

    // Add and cancel.
    press(form2->Button1);
    QTest::keyClicks(focused(), QStringLiteral("1999090909"));
    press(form2->Button2);
    EXPECT_EQ(peg().State(), TDataSetState::dsBrowse);
    EXPECT_FALSE(peg().FindKey({"1999090909"}));

    // The search window opens with Cari and closes with its Tutup.
    press(form2->Button6);
    ASSERT_TRUE(QTest::qWaitForWindowActive(form6.get()));
    press(form6->Button1);
    EXPECT_FALSE(form6->isVisible());
    form2->activateWindow();
    backTo(*form2);
    press(form2->Button7);
    EXPECT_FALSE(form2->isVisible());
    EXPECT_TRUE(errors().empty());
}

TEST_P(KeyboardOnly, EveryTransferWindowFunctionWithKeysAlone)
{
    showAndActivate(*form3);
    ASSERT_EQ(focused(), form3->Button1);  // the entries are locked

    // Add, fill the entries, pick a lookup value, store; Enter answers the reminder.
    press(form3->Button1);
    ASSERT_EQ(focused(), form3->DBEdit1);
    for (const QString& text :
         {QStringLiteral("C3000DE01022003"), QStringLiteral("19650303033"), QStringLiteral("Citra Dewi")}) {
        QTest::keyClicks(focused(), text);
        key(Qt::Key_Tab);
    }
    ASSERT_EQ(focused(), form3->DBLookupComboBox1);
    key(Qt::Key_Down);  // the first code of the code table
    tabTo(form3->DBEdit4);
    for (const QString& text : {QStringLiteral("Sindara"), QStringLiteral("Bandung")}) {
        QTest::keyClicks(focused(), text);
        key(Qt::Key_Tab);
    }
    QTest::keyClicks(focused(), QStringLiteral("010203"));
    {
        ModalBoxResponder responder;
        responder.key(Qt::Key_Return);
        press(form3->Button3);
        ASSERT_EQ(responder.boxes().size(), 1);
    }
    EXPECT_TRUE(QTest::qWaitForWindowActive(form2.get()));  // brought forward by the reminder
    backTo(*form3);
    EXPECT_EQ(mut().State(), TDataSetState::dsBrowse);
    EXPECT_EQ(transferCount(), 3);
    ASSERT_TRUE(mut().FindKey({"C-3000-DE.01.02-2003"}));
    EXPECT_EQ(transfer("NIP"), "19650303033");
    EXPECT_FALSE(transfer("Kd_Golongan").empty());
    EXPECT_EQ(mut().FieldByName("TMT")->DisplayText(), "01/02/2003");

    // Change: Rubah, an entry, store; Escape answers the reminder.
    press(form3->Button5);
    tabTo(form3->DBEdit5);
    key(Qt::Key_End);
    QTest::keyClicks(focused(), QStringLiteral(" Barat"));
    {
        ModalBoxResponder responder;
        responder.key(Qt::Key_Escape);
        press(form3->Button3);
        ASSERT_EQ(responder.boxes().size(), 1);
    }
    backTo(*form3);
    EXPECT_EQ(transferCount(), 3);
    ASSERT_TRUE(mut().FindKey({"C-3000-DE.01.02-2003"}));
    EXPECT_EQ(transfer("Pindah_Ke"), "Bandung Barat");

    // Ordering by name with the arrows, Rubah for the search box, a search by name.
    tabTo(form3->RadioGroup1->button(0));
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    EXPECT_EQ(mut().IndexFieldNames(), "Nama_Pegawai");
    press(form3->Button5);
    tabTo(form3->Edit1);
    QTest::keyClicks(focused(), QStringLiteral("Bud"));
    EXPECT_EQ(transfer("Nama_Pegawai"), "Budi Santoso");
    // Back to the number's order and a search by number.
    tabTo(form3->RadioGroup1->button(2));
    key(Qt::Key_Up);
    key(Qt::Key_Up);
    EXPECT_EQ(mut().IndexFieldNames(), "No_SKM");
    tabTo(form3->Edit1);
    key(Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(focused(), QStringLiteral("C"));
    EXPECT_EQ(transfer("No_SKM"), "C-3000-DE.01.02-2003");

    // Move in the grid, leave it by Ctrl+Tab.
    key(Qt::Key_Tab);
    ASSERT_EQ(focused(), form3->DBGrid1);
    key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(transfer("No_SKM"), "A-1234-BC.01.02-2001");
    key(Qt::Key_Down);
    EXPECT_EQ(transfer("No_SKM"), "B-2000-CD.01.02-2002");
    key(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(focused(), form3->Button1);

    // Delete with the confirmation: No keeps, Yes deletes.
    {
        ModalBoxResponder responder;
        responder.key(Qt::Key_Escape).key(Qt::Key_Y);
        press(form3->Button4);
        ASSERT_EQ(responder.boxes().size(), 1);
        backTo(*form3);
        EXPECT_EQ(transferCount(), 3);
        press(form3->Button4);
        backTo(*form3);
        EXPECT_EQ(responder.boxes().size(), 2);
    }
    EXPECT_EQ(transferCount(), 2);
    EXPECT_FALSE(mut().FindKey({"B-2000-CD.01.02-2002"}));

    // Add and cancel.
    press(form3->Button1);
    QTest::keyClicks(focused(), QStringLiteral("D4000EF01022004"));
    press(form3->Button2);
    EXPECT_EQ(mut().State(), TDataSetState::dsBrowse);
    EXPECT_EQ(transferCount(), 2);
    EXPECT_FALSE(mut().FindKey({"D-4000-EF.01.02-2004"}));

    // The search window opens with Cari and closes with its Tutup.
    press(form3->Button6);
    ASSERT_TRUE(QTest::qWaitForWindowActive(form7.get()));
    press(form7->Button1);
    EXPECT_FALSE(form7->isVisible());
    backTo(*form3);
    press(form3->Button7);
    EXPECT_FALSE(form3->isVisible());
    EXPECT_TRUE(errors().empty());
}

INSTANTIATE_FOR_BOTH_ENGINES(KeyboardOnly);

}  // namespace
