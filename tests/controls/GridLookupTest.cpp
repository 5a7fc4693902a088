// Lookup columns of the transfer grid: typing is refused, the drop-down
// lists the code table's texts and writes the chosen code at once.
#include "GridFixture.h"
#include "TPopupDataList.h"

namespace {

class GridLookup : public GridFixture {
protected:
    TDBGrid* openGolongan(const char* code)
    {
        addTransfers(2);
        mut().Edit();
        mut().FieldByName("Kd_Golongan")->SetText(code);
        mut().Post();
        mut().First();
        TDBGrid* grid = makeGrid(GridKind::Transfer);
        grid->SetSelectedIndex(3);
        press(Qt::Key_F2);
        return grid;
    }
    std::string code() { return mut().FieldByName("Kd_Golongan")->AsString(); }
};

TEST_F(GridLookup, ChoosingARowWritesTheCodeAtOnce)
{
    TDBGrid* grid = openGolongan("3B");
    ASSERT_TRUE(grid->EditorVisible());
    ASSERT_TRUE(grid->InplaceEditor()->HasButton());
    press(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(grid->DropDownVisible());
    EXPECT_EQ(grid->PopupList()->rowCount(), 7) << "17 grades, 7 rows";
    press(Qt::Key_Down);
    EXPECT_EQ(code(), "3B") << "moving in the list writes nothing";
    press(Qt::Key_Return);
    EXPECT_FALSE(grid->DropDownVisible());
    EXPECT_EQ(mut().State(), TDataSetState::dsEdit);
    EXPECT_EQ(code(), "3C");
    EXPECT_EQ(mut().FieldByName("Golongan")->AsString(), "III/c");
    EXPECT_EQ(grid->InplaceEditor()->text(), QStringLiteral("III/c"));
    press(Qt::Key_Down);  // posts and moves on
    mut().First();
    EXPECT_EQ(code(), "3C");
}

TEST_F(GridLookup, EscapeClosesWithoutChange)
{
    TDBGrid* grid = openGolongan("3B");
    press(Qt::Key_Down, Qt::AltModifier);
    press(Qt::Key_Down);
    press(Qt::Key_Escape);
    EXPECT_FALSE(grid->DropDownVisible());
    EXPECT_TRUE(grid->EditorVisible());
    EXPECT_EQ(code(), "3B");
    EXPECT_EQ(mut().State(), TDataSetState::dsBrowse);
}

TEST_F(GridLookup, ClickingTheButtonOpensAndLeavingCloses)
{
    TDBGrid* grid = openGolongan("1A");
    TInplaceEdit* editor = grid->InplaceEditor();
    QTest::mouseClick(editor, Qt::LeftButton, Qt::NoModifier, editor->ButtonRect().center());
    ASSERT_TRUE(grid->DropDownVisible());
    EXPECT_EQ(grid->PopupList()->highlightedRow(), 0);
    other->setFocus();
    EXPECT_FALSE(grid->DropDownVisible());
    EXPECT_EQ(code(), "1A");
}

TEST_F(GridLookup, PressOnTheButtonDragIntoTheListAndReleaseChooses)
{
    TDBGrid* grid = openGolongan("3B");
    TInplaceEdit* editor = grid->InplaceEditor();
    QTest::mousePress(editor, Qt::LeftButton, Qt::NoModifier, editor->ButtonRect().center());
    ASSERT_TRUE(grid->DropDownVisible());
    TPopupDataList* list = grid->PopupList();
    const std::vector<std::string> rows = list->rowTexts();
    ASSERT_GE(rows.size(), 3u);
    const int rowHeight = list->rowHeight();
    const QPoint inList = list->mapToGlobal(QPoint(list->width() / 3, 1 + 2 * rowHeight + rowHeight / 2));
    QTest::mouseMove(editor, editor->mapFromGlobal(inList));
    QTest::mouseRelease(editor, Qt::LeftButton, Qt::NoModifier, editor->mapFromGlobal(inList));
    EXPECT_FALSE(grid->DropDownVisible());
    EXPECT_EQ(mut().FieldByName("Golongan")->AsString(), rows[2]);
    EXPECT_NE(code(), "3B");
}

TEST_F(GridLookup, AGridClosedWithItsListOpenLeavesTheTablesUsable)
{
    TDBGrid* grid = openGolongan("2A");
    press(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(grid->DropDownVisible());
    type(QStringLiteral("I"));
    delete grid;
    EXPECT_EQ(code(), "2A");
    dm().Tgol.First();
    dm().Tgol.Last();
    mut().Next();
    EXPECT_EQ(currentTransfer(), "A-0002-AB.01.01-2000");
    EXPECT_TRUE(errors().empty());
}

TEST_F(GridLookup, ReadOnlyGridOffersNoDropDown)
{
    addEmployees(1);
    TDBGrid* grid = makeGrid(GridKind::ReadOnlyEmployee);
    grid->SetSelectedIndex(6);  // Agama
    press(Qt::Key_F2);
    ASSERT_TRUE(grid->EditorVisible());
    EXPECT_FALSE(grid->InplaceEditor()->HasButton());
    press(Qt::Key_Down, Qt::AltModifier);
    EXPECT_FALSE(grid->DropDownVisible());
}

}  // namespace
