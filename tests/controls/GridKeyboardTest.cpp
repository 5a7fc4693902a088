// The grid's keyboard table, key by key, in an editable cell grid (the
// transfer grid) and a row-select grid (the employee grid), on 20 records
// with the fifth current and the fourth column selected.
#include "GridFixture.h"

#include <algorithm>
#include <ostream>

namespace {

constexpr int recordCount = 20;
constexpr int startRecord = 5;
constexpr int startColumn = 3;

// A record number as base + pages * visible rows, held to the table.
struct Where {
    int base;
    int pages = 0;
    int resolve(int rows) const { return std::clamp(base + pages * rows, 1, recordCount); }
};

enum class Then { Browse, Insert, Editor, FocusLeft };

struct KeyCase {
    const char* name;
    bool rowSelect;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    Where record;
    int column;
    Then then = Then::Browse;
    bool rightToLeft = false;
};

std::ostream& operator<<(std::ostream& out, const KeyCase& c)
{
    return out << c.name;
}

constexpr auto none = Qt::NoModifier;
constexpr auto ctrl = Qt::ControlModifier;
constexpr auto shift = Qt::ShiftModifier;

// The window starts at the first record, so the top visible row holds
// record 1 and the bottom one record "rows".
const KeyCase cases[] = {
    {"Up", false, Qt::Key_Up, none, {4}, 3},
    {"Down", false, Qt::Key_Down, none, {6}, 3},
    {"LeftColumn", false, Qt::Key_Left, none, {5}, 2},
    {"RightColumn", false, Qt::Key_Right, none, {5}, 4},
    {"HomeFirstColumn", false, Qt::Key_Home, none, {5}, 0},
    {"EndLastColumn", false, Qt::Key_End, none, {5}, 8},
    {"PageUp", false, Qt::Key_PageUp, none, {5, -1}, 3},
    {"PageDown", false, Qt::Key_PageDown, none, {5, 1}, 3},
    {"CtrlUpTopRow", false, Qt::Key_Up, ctrl, {1}, 3},
    {"CtrlPageUpTopRow", false, Qt::Key_PageUp, ctrl, {1}, 3},
    {"CtrlDownBottomRow", false, Qt::Key_Down, ctrl, {0, 1}, 3},
    {"CtrlPageDownBottomRow", false, Qt::Key_PageDown, ctrl, {0, 1}, 3},
    {"CtrlHomeFirstRecord", false, Qt::Key_Home, ctrl, {1}, 3},
    {"CtrlEndLastRecord", false, Qt::Key_End, ctrl, {20}, 3},
    {"CtrlLeftFirstColumn", false, Qt::Key_Left, ctrl, {5}, 0},
    {"CtrlRightLastColumn", false, Qt::Key_Right, ctrl, {5}, 8},
    {"InsertStartsNewRecord", false, Qt::Key_Insert, none, {0}, 3, Then::Insert},
    {"TabNextColumn", false, Qt::Key_Tab, none, {5}, 4},
    {"ShiftTabPriorColumn", false, Qt::Key_Backtab, shift, {5}, 2},
    {"CtrlTabLeavesGrid", false, Qt::Key_Tab, ctrl, {5}, 3, Then::FocusLeft},
    {"CtrlShiftTabLeavesGrid", false, Qt::Key_Backtab, ctrl | shift, {5}, 3, Then::FocusLeft},
    {"F2OpensEditor", false, Qt::Key_F2, none, {5}, 3, Then::Editor},
    {"EnterOpensEditor", false, Qt::Key_Return, none, {5}, 3, Then::Editor},
    {"EscapeInBrowseChangesNothing", false, Qt::Key_Escape, none, {5}, 3},
    {"RightToLeftSwapsLeft", false, Qt::Key_Left, none, {5}, 4, Then::Browse, true},
    {"RightToLeftSwapsRight", false, Qt::Key_Right, none, {5}, 2, Then::Browse, true},
    {"RowSelectLeftIsUp", true, Qt::Key_Left, none, {4}, 3},
    {"RowSelectRightIsDown", true, Qt::Key_Right, none, {6}, 3},
    {"RowSelectHomeFirstRecord", true, Qt::Key_Home, none, {1}, 3},
    {"RowSelectEndLastRecord", true, Qt::Key_End, none, {20}, 3},
    {"RowSelectPageDown", true, Qt::Key_PageDown, none, {5, 1}, 3},
    {"RowSelectInsertDoesNothing", true, Qt::Key_Insert, none, {5}, 3},
    {"RowSelectF2NoEditor", true, Qt::Key_F2, none, {5}, 3},
    {"RowSelectTabLeavesGrid", true, Qt::Key_Tab, none, {5}, 3, Then::FocusLeft},
    {"RowSelectCtrlRightLastColumn", true, Qt::Key_Right, ctrl, {5}, 13},
    {"RowSelectCtrlTabLeavesGrid", true, Qt::Key_Tab, ctrl, {5}, 3, Then::FocusLeft},
};

class GridKeys : public GridFixture, public testing::WithParamInterface<KeyCase> {};

int currentNumber(GridFixture& fixture, bool rowSelect, TDataSet& set)
{
    (void)fixture;
    if (set.State() == TDataSetState::dsInsert)
        return 0;
    const std::string text = set.FieldByName(rowSelect ? "NIP" : "No_SKM")->AsString();
    return std::stoi(rowSelect ? text : text.substr(2, 4));
}

TEST_P(GridKeys, MovesAsTheTableSays)
{
    const KeyCase& c = GetParam();
    TDataSet* set = nullptr;
    if (c.rowSelect) {
        addEmployees(recordCount);
        set = &peg();
    } else {
        addTransfers(recordCount);
        set = &mut();
    }
    TDBGrid* grid = makeGrid(c.rowSelect ? GridKind::Employee : GridKind::Transfer);
    if (c.rightToLeft)
        grid->setLayoutDirection(Qt::RightToLeft);
    ASSERT_GT(grid->VisibleRowCount(), startRecord);
    ASSERT_LT(grid->VisibleRowCount(), recordCount - startRecord);
    set->MoveBy(startRecord - 1);
    grid->SetSelectedIndex(startColumn);

    press(c.key, c.modifiers);

    const int expected = c.record.base == 0 && c.record.pages == 0 ? 0 : c.record.resolve(grid->VisibleRowCount());
    EXPECT_EQ(currentNumber(*this, c.rowSelect, *set), expected);
    EXPECT_EQ(grid->SelectedIndex(), c.column);
    EXPECT_EQ(set->State(), c.then == Then::Insert ? TDataSetState::dsInsert : TDataSetState::dsBrowse);
    EXPECT_EQ(grid->EditorVisible(), c.then == Then::Editor);
    const bool inGrid = QApplication::focusWidget() == grid || QApplication::focusWidget() == grid->InplaceEditor();
    EXPECT_EQ(inGrid, c.then != Then::FocusLeft);
    EXPECT_TRUE(errors().empty());
}

INSTANTIATE_TEST_SUITE_P(Table, GridKeys, testing::ValuesIn(cases),
                         [](const testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

// Keys typed into the open editor that act as the grid's keys.
TEST_F(GridFixture, EditorPassesMovementKeysToTheGrid)
{
    addTransfers(recordCount);
    TDBGrid* grid = makeGrid(GridKind::Transfer);
    grid->SetSelectedIndex(2);
    press(Qt::Key_F2);
    type(QStringLiteral("Baru"));
    press(Qt::Key_Down);  // writes, posts and moves
    EXPECT_EQ(mut().FieldByName("No_SKM")->AsString(), "A-0002-AB.01.01-2000");
    press(Qt::Key_F2);
    press(Qt::Key_Left);  // inside the text: the editor's own key
    EXPECT_EQ(grid->SelectedIndex(), 2);
    press(Qt::Key_Tab);
    EXPECT_EQ(grid->SelectedIndex(), 3);
    press(Qt::Key_Up);
    EXPECT_EQ(mut().FieldByName("Nama_Pegawai")->AsString(), "Baru");
    EXPECT_EQ(mut().State(), TDataSetState::dsBrowse);
}

TEST_F(GridFixture, UpFromAnInsertedRecordCancelsOnlyAtTheEnd)
{
    addTransfers(3);
    TDBGrid* grid = makeGrid(GridKind::Transfer);
    mut().Next();
    press(Qt::Key_Insert);
    EXPECT_EQ(mut().State(), TDataSetState::dsInsert);
    EXPECT_EQ(grid->ShownRowCount(), 4);
    press(Qt::Key_Down);  // not at the end: the untouched insert is cancelled, no move
    EXPECT_EQ(mut().State(), TDataSetState::dsBrowse);
    EXPECT_EQ(mut().FieldByName("No_SKM")->AsString(), "A-0002-AB.01.01-2000");
    EXPECT_EQ(grid->ShownRowCount(), 3);
}

}  // namespace
