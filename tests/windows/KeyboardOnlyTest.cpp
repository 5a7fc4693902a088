#include "ModalBoxResponder.h"
#include "RecordWindowFixture.h"
#include "TDBGrid.h"

// The employee window's functions with keys alone, as the table in
// docs/record-windows.md lists them; the stored table read back after
// each one.
namespace {

QWidget* focused()
{
    return QApplication::focusWidget();
}

void key(int k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(focused(), Qt::Key(k), modifiers);
}

class KeyboardOnly : public OnBothEngines<RecordWindowFixture> {
protected:
    // Tab on until the focus reaches target (the walk is the window's own).
    void tabTo(QWidget* target)
    {
        for (int i = 0; i < 40 && focused() != target; ++i)
            key(Qt::Key_Tab);
        ASSERT_EQ(focused(), target) << target->objectName().toStdString();
    }

    void press(QPushButton* button)
    {
        tabTo(button);
        key(Qt::Key_Return);
    }

    // After a box: the window is active again, its focus where it was.
    void backTo(QWidget& window)
    {
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
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

INSTANTIATE_FOR_BOTH_ENGINES(KeyboardOnly);

}  // namespace
