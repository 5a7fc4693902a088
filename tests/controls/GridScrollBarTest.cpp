// The grid's scroll bar: where the thumb stands and what releasing it does.
#include "GridScrollBar.h"

#include <gtest/gtest.h>

namespace {

using Move = GridScrollBar::Move;

struct ThumbCase {
    int position;
    Move unnumbered;
    Move numbered;  // on 50 records
};

class GridScrollBarThumb : public testing::TestWithParam<ThumbCase> {};

TEST_P(GridScrollBarThumb, ReleaseMoves)
{
    const ThumbCase& c = GetParam();
    EXPECT_EQ(GridScrollBar::thumbUnnumbered(c.position), c.unnumbered);
    EXPECT_EQ(GridScrollBar::thumbNumbered(c.position, 50), c.numbered);
}

INSTANTIATE_TEST_SUITE_P(
    Positions, GridScrollBarThumb,
    testing::Values(ThumbCase{0, Move::First, Move::First}, ThumbCase{1, Move::PageUp, Move::First},
                    ThumbCase{2, Move::None, Move::ToNumber}, ThumbCase{3, Move::PageDown, Move::ToNumber},
                    ThumbCase{4, Move::Last, Move::ToNumber}, ThumbCase{49, Move::None, Move::ToNumber},
                    ThumbCase{50, Move::None, Move::Last}, ThumbCase{59, Move::None, Move::Last}));

TEST(GridScrollBar, FivePositionsFollowTheEnds)
{
    EXPECT_EQ(GridScrollBar::unnumbered(true, false).position, 0);
    EXPECT_EQ(GridScrollBar::unnumbered(false, false).position, 2);
    EXPECT_EQ(GridScrollBar::unnumbered(false, true).position, 4);
    EXPECT_EQ(GridScrollBar::unnumbered(true, true).position, 0) << "an empty table stands at the top";
    const GridScrollBar::Range range = GridScrollBar::numbered(50, 10, 7);
    EXPECT_EQ(range.minimum, 1);
    EXPECT_EQ(range.maximum, 59);
    EXPECT_EQ(range.pageStep, 10);
    EXPECT_EQ(range.position, 7);
}

}  // namespace
