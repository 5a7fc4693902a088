// Column widths and edges kept between actions must follow every change of
// font, caption and column set; a hidden grid catches up when shown.
#include "GridFixture.h"

#include <QScrollBar>

namespace {

using GridMeasures = GridFixture;

int zeroWidth(const QFont& font)
{
    return QFontMetrics(font).horizontalAdvance(QLatin1Char('0'));
}

int titleWidth(const TDBGrid* grid, const char* caption)
{
    return QFontMetrics(grid->TitleFont()).horizontalAdvance(QString::fromUtf8(caption));
}

// Every visible column starts where the one before it ends (plus its line).
void expectColumnsSideBySide(TDBGrid* grid)
{
    int right = -1;
    for (int i = 0; i < grid->ColumnCount(); ++i) {
        const QRect title = grid->TitleRect(i);
        if (title.isEmpty() || title.left() >= grid->viewport()->width())
            continue;
        EXPECT_EQ(title.width(), grid->Column(i)->Width()) << i;
        if (right >= 0) {
            EXPECT_EQ(title.left(), right + 2) << i;  // one pixel of column line
        }
        right = title.right();
    }
}

TEST_F(GridMeasures, WidthsFollowFontsCaptionsAndColumns)
{
    addTransfers(1);
    TDBGrid* grid = makeGrid(GridKind::Transfer);
    EXPECT_EQ(grid->Column(0)->Width(), zeroWidth(grid->font()) * 20 + 4);  // No_SKM, size 20
    expectColumnsSideBySide(grid);

    QFont wide = grid->font();
    wide.setPointSize(wide.pointSize() * 2);
    grid->setFont(wide);
    EXPECT_EQ(grid->Column(0)->Width(), zeroWidth(wide) * 20 + 4);
    expectColumnsSideBySide(grid);

    // A caption longer than the date, then a larger title font for it.
    const char* caption = "Terhitung Mulai Tanggal";
    grid->Column(8)->Title.Caption = caption;
    const int before = titleWidth(grid, caption);
    EXPECT_EQ(grid->Column(8)->Width(), std::max(zeroWidth(wide) * 10, before) + 4);
    QFont big = grid->TitleFont();
    big.setPixelSize(40);
    grid->SetTitleFont(big);
    ASSERT_GT(titleWidth(grid, caption), before);
    EXPECT_EQ(grid->Column(8)->Width(), std::max(zeroWidth(wide) * 10, titleWidth(grid, caption)) + 4);
    expectColumnsSideBySide(grid);

    // Another column set: no width stays behind from the old one.
    grid->ClearColumns();
    grid->AddColumn("TMT");
    grid->AddColumn("No_SKM");
    EXPECT_EQ(grid->Column(0)->Width(), std::max(zeroWidth(wide) * 10, titleWidth(grid, "TMT")) + 4);
    EXPECT_EQ(grid->Column(1)->Width(), std::max(zeroWidth(wide) * 20, titleWidth(grid, "No_SKM")) + 4);
    grid->Column(1)->Visible = false;
    grid->Column(0)->SetWidth(50);
    EXPECT_EQ(grid->TitleRect(0).width(), 50);
    EXPECT_TRUE(grid->TitleRect(1).isEmpty());
    EXPECT_TRUE(errors().empty());
}

TEST_F(GridMeasures, AHiddenGridCatchesUpWhenShown)
{
    addEmployees(30);
    TDBGrid* grid = makeGrid(GridKind::Employee);
    QScrollBar* bar = grid->verticalScrollBar();
    ASSERT_EQ(bar->value(), 0);
    window->hide();
    peg().Last();
    EXPECT_EQ(bar->value(), 0) << "a hidden grid does not follow each change";
    show();
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_EQ(grid->DataLink().ActiveRecord(), grid->DataLink().RecordCount() - 1);

    EXPECT_TRUE(errors().empty());
}

TEST_F(GridMeasures, AHiddenGridEditorShowsTheCurrentRecordWhenShown)
{
    addTransfers(3);
    TDBGrid* grid = makeGrid(GridKind::Transfer);
    grid->SetOptions(TDBGridOptions::defaults(true));
    press(Qt::Key_F2);
    ASSERT_TRUE(grid->EditorVisible());
    EXPECT_EQ(grid->InplaceEditor()->text(), QStringLiteral("A-0001-AB.01.01-2000"));
    window->hide();
    mut().Last();
    show();
    ASSERT_TRUE(grid->EditorVisible());
    EXPECT_EQ(grid->InplaceEditor()->text(), QStringLiteral("A-0003-AB.01.01-2000"));
    EXPECT_TRUE(errors().empty());
}

}  // namespace
