#include "RecordWindowFixture.h"
#include "TDBGrid.h"

// The transfer grid keeps Tab for its cells, but never traps the clerk:
// Ctrl+Tab and Ctrl+Shift+Tab leave it from any cell, Tab past its last
// cell leaves it unless the clerk typed in the row, and the window opens
// on the control where the work starts.
namespace {

class TransferGridTab : public RecordWindowFixture {
protected:
    void SetUp() override
    {
        RecordWindowFixture::SetUp();
        showAndActivate(*form3);
    }

    TDBGrid* grid() { return form3->DBGrid1; }

    void focusCell(int column)
    {
        grid()->setFocus(Qt::TabFocusReason);
        grid()->SetSelectedIndex(column);
    }
};

TEST_F(TransferGridTab, CtrlTabAndCtrlShiftTabLeaveTheGridFromEveryCell)
{
    click(form3->Button5);  // Rubah: the search box before the grid takes the focus
    ASSERT_EQ(grid()->ColumnCount(), 9);
    for (int column = 0; column < grid()->ColumnCount(); ++column) {
        focusCell(column);
        QTest::keyClick(grid(), Qt::Key_Tab, Qt::ControlModifier);
        EXPECT_EQ(QApplication::focusWidget(), form3->Button1) << column;
        focusCell(column);
        QTest::keyClick(grid(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(QApplication::focusWidget(), form3->Edit1) << column;
    }
    // From the open cell editor too.
    focusCell(6);
    QTest::keyClick(grid(), Qt::Key_F2);
    QWidget* editor = QApplication::focusWidget();
    ASSERT_NE(editor, grid());
    QTest::keyClick(editor, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), form3->Button1);
    EXPECT_EQ(mut().State(), TDataSetState::dsBrowse);
    EXPECT_TRUE(errors().empty());
}

TEST_F(TransferGridTab, TabWalksTheCellsAndShiftTabBeforeTheFirstCellLeaves)
{
    mut().First();
    focusCell(0);
    QTest::keyClick(grid(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), grid());
    EXPECT_EQ(grid()->SelectedIndex(), 1);
    mut().Next();
    focusCell(0);
    QTest::keyClick(grid(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), grid());  // to the last cell of the row above
    EXPECT_EQ(grid()->SelectedIndex(), 8);
    EXPECT_EQ(mut().FieldByName("No_SKM")->AsString(), "A-1234-BC.01.02-2001");
    QTest::keyClick(grid(), Qt::Key_Home);
    QTest::keyClick(grid(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_NE(QApplication::focusWidget(), grid());
}

TEST_F(TransferGridTab, TheWindowOpensOnTambahWhileTheEntriesAreLockedAndTheFirstTabStaysOutOfTheGrid)
{
    EXPECT_EQ(QApplication::focusWidget(), form3->Button1);
    QTest::keyClick(form3->Button1, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), form3->Button2);
    EXPECT_EQ(form2->focusWidget(), nullptr);  // not yet shown: nothing chosen for it
    showAndActivate(*form2);
    EXPECT_EQ(QApplication::focusWidget(), form2->DBEdit1);
}

// Past the last cell of the last row: a new row only after typing.
class TransferGridTabEnd : public OnBothEngines<TransferGridTab> {};

TEST_P(TransferGridTabEnd, AppendsOnlyAfterTypingInTheRow)
{
    const int before = transferCount();
    mut().Last();
    focusCell(8);
    QTest::keyClick(grid(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), form3->Button1);
    EXPECT_EQ(mut().State(), TDataSetState::dsBrowse);
    EXPECT_EQ(transferCount(), before);

    focusCell(7);  // Pindah_Ke
    QTest::keyClicks(grid(), QStringLiteral("Bogor"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), grid());
    EXPECT_EQ(mut().State(), TDataSetState::dsInsert);  // the new row
    EXPECT_EQ(grid()->SelectedIndex(), 0);
    QTest::keyClick(grid(), Qt::Key_Up);  // leaves the untouched new row
    EXPECT_EQ(mut().State(), TDataSetState::dsBrowse);
    EXPECT_EQ(transferCount(), before);
    ASSERT_TRUE(mut().FindKey({"B-2000-CD.01.02-2002"}));
    EXPECT_EQ(mut().FieldByName("Pindah_Ke")->AsString(), "Bogor");
    EXPECT_TRUE(errors().empty());
}

INSTANTIATE_FOR_BOTH_ENGINES(TransferGridTabEnd);

}  // namespace
