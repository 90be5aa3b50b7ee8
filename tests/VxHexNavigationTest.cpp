#include "hexview/VxHexNavigation.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(HexNavigation, ClampKeepsRowsInRangeAndNeverNegative)
{
    EXPECT_EQ(ClampRow(-5, 72), 0);
    EXPECT_EQ(ClampRow(71, 72), 71);
    EXPECT_EQ(ClampRow(72, 72), 71);
    EXPECT_EQ(ClampRow(std::int64_t{INT_MAX} + 10, 72), 71);
    EXPECT_EQ(ClampRow(std::int64_t{INT_MIN} - 10, 72), 0);
    // No rows: there is no valid row, and 0 is the only safe answer.
    EXPECT_EQ(ClampRow(0, 0), 0);
    EXPECT_EQ(ClampRow(5, 0), 0);
    EXPECT_EQ(ClampRow(-1, 0), 0);
}

TEST(HexNavigation, ScrollBarTargets)
{
    struct Case {
        int Code;
        std::int64_t Target;
    };
    // Top row 20, 11 visible rows (10 fully visible), thumb at 500.
    const Case cases[] = {
        {scLineUp, 19},      {scLineDown, 21},  {scPageUp, 10},       {scPageDown, 30},         {scThumbPosition, 500},
        {scThumbTrack, 500}, {6 /* top */, 20}, {7 /* bottom */, 20}, {8 /* end scroll */, 20}, {99, 20},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScrollBarTarget(c.Code, 20, 11, 500), c.Target) << c.Code;
}

TEST(HexNavigation, ScrollBarPageDownFromTopShowsThePartRowOnTop)
{
    EXPECT_EQ(ClampRow(ScrollBarTarget(scPageDown, 0, 11, 0), 100), 10);
}

TEST(HexNavigation, ScrollTargetsDoNotOverflowAtTheEndOfTheRange)
{
    EXPECT_EQ(ClampRow(ScrollBarTarget(scPageDown, INT_MAX - 1, 600, 0), INT_MAX), INT_MAX - 1);
    EXPECT_EQ(ClampRow(*KeyTarget(nkPageDown, INT_MAX - 1, 600, INT_MAX), INT_MAX), INT_MAX - 1);
}

TEST(HexNavigation, KeyTargets)
{
    struct Case {
        unsigned Key;
        std::optional<std::int64_t> Target;
    };
    // Current row 20, 11 visible rows, 72 rows.
    const Case cases[] = {
        {nkPageUp, 9},
        {nkPageDown, 31},
        {nkEnd, 71},
        {nkHome, 0},
        {nkUp, 19},
        {nkDown, 21},
        {37 /* left */, std::nullopt},
        {39 /* right */, std::nullopt},
        {0, std::nullopt},
        {13, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeyTarget(c.Key, 20, 11, 72), c.Target) << c.Key;
}

TEST(HexNavigation, UpAtFirstAndDownAtLastRowClampToTheSameRow)
{
    EXPECT_EQ(ClampRow(*KeyTarget(nkUp, 0, 11, 72), 72), 0);
    EXPECT_EQ(ClampRow(*KeyTarget(nkDown, 71, 11, 72), 72), 71);
}

TEST(HexNavigation, PageDownMakesRowElevenCurrentAndRowTwoTheTop)
{
    const std::int32_t current = ClampRow(*KeyTarget(nkPageDown, 0, 11, 100), 100);
    EXPECT_EQ(current, 11);
    EXPECT_EQ(TopRowShowing(current, 0, 11), 2);
}

TEST(HexNavigation, TopRowShowingKeepsTheCurrentRowFullyVisible)
{
    // Top 10, 11 visible rows: rows 10 .. 19 are fully visible.
    EXPECT_EQ(TopRowShowing(9, 10, 11), 9);
    EXPECT_EQ(TopRowShowing(0, 10, 11), 0);
    EXPECT_EQ(TopRowShowing(10, 10, 11), std::nullopt);
    EXPECT_EQ(TopRowShowing(19, 10, 11), std::nullopt);
    EXPECT_EQ(TopRowShowing(20, 10, 11), 11);
    EXPECT_EQ(TopRowShowing(500, 10, 11), 491);
}

TEST(HexNavigation, EndWhenAllRowsFitDoesNotMoveTheView)
{
    const std::int32_t current = ClampRow(*KeyTarget(nkEnd, 0, 17, 5), 5);
    EXPECT_EQ(current, 4);
    EXPECT_EQ(TopRowShowing(current, 0, 17), std::nullopt);
}

TEST(HexNavigation, ViewWithoutAFullRowKeepsTheCurrentRowOnTop)
{
    // One partly visible row, or none measured yet: the current row must
    // stay in view rather than scroll past it.
    EXPECT_EQ(TopRowShowing(6, 5, 1), 6);
    EXPECT_EQ(TopRowShowing(5, 5, 1), std::nullopt);
    EXPECT_EQ(TopRowShowing(6, 5, 0), 6);
    EXPECT_EQ(TopRowShowing(6, 5, 2), 6);
}

TEST(HexNavigation, ThumbRowUsesTheBarsPositionForTheHighBits)
{
    const std::int32_t rows = 5'000'000;
    // While dragging, the bar's tracking position and the message agree.
    for (const std::int32_t row : {0, 1, 32767, 32768, 65535, 65536, 1'234'567, rows - 1}) {
        const auto low = static_cast<std::uint16_t>(row & 0xFFFF);
        EXPECT_EQ(ThumbRow(low, row, rows), row) << row;
    }
    // A position the bar does not know: the nearest row with those low bits.
    EXPECT_EQ(ThumbRow(0x0010, 0x2FFF0, rows), 0x30010);
    EXPECT_EQ(ThumbRow(0xFFF0, 0x30010, rows), 0x2FFF0);
    // Never past the last row, never negative.
    EXPECT_EQ(ThumbRow(0xFFFF, rows - 1, rows), rows - 1 - ((rows - 1) & 0xFFFF) - 1);
    EXPECT_EQ(ThumbRow(0xFFFF, 0, rows), 0xFFFF);
}

TEST(HexNavigation, ThumbRowIsExactForUpTo65536Rows)
{
    // Whatever the bar's position, the low 16 bits name one row.
    for (const std::int32_t bar : {0, 100, 40000, 65535})
        for (const std::int32_t row : {0, 7, 32767, 32768, 40000, 65535})
            EXPECT_EQ(ThumbRow(static_cast<std::uint16_t>(row), bar, 65536), row) << bar << " " << row;
    EXPECT_EQ(ThumbRow(50000, 10, 1000), 999);
    EXPECT_EQ(ThumbRow(0, 0, 0), 0);
    EXPECT_EQ(ThumbRow(12, 0, 0), 0);
}

TEST(HexNavigation, OneRowScrollExposesExactlyOneStrip)
{
    const auto down = OneRowScroll(-1, 600, 260, 16);
    ASSERT_TRUE(down);
    EXPECT_EQ(down->Dy, -16);
    EXPECT_EQ(down->Moved, (TVxPixelRect{0, 16, 600, 260}));
    EXPECT_EQ(down->Exposed, (TVxPixelRect{0, 244, 600, 260}));

    const auto up = OneRowScroll(1, 600, 260, 16);
    ASSERT_TRUE(up);
    EXPECT_EQ(up->Dy, 16);
    EXPECT_EQ(up->Moved, (TVxPixelRect{0, 0, 600, 244}));
    EXPECT_EQ(up->Exposed, (TVxPixelRect{0, 0, 600, 16}));

    // The moved pixels and the exposed strip tile the client area.
    for (const auto& s : {*down, *up}) {
        const std::int32_t movedTo = s.Moved.Top + s.Dy;
        const std::int32_t movedEnd = s.Moved.Bottom + s.Dy;
        EXPECT_TRUE((movedTo == s.Exposed.Bottom && movedEnd == 260) || (movedTo == 0 && movedEnd == s.Exposed.Top));
    }
}

TEST(HexNavigation, OneRowScrollDoesNotApplyToOtherMoves)
{
    EXPECT_FALSE(OneRowScroll(0, 600, 260, 16));
    EXPECT_FALSE(OneRowScroll(2, 600, 260, 16));
    EXPECT_FALSE(OneRowScroll(-10, 600, 260, 16));
    EXPECT_FALSE(OneRowScroll(std::int64_t{1} << 32 | 1, 600, 260, 16));
    // Nothing to keep when the client area is at most one row high.
    EXPECT_FALSE(OneRowScroll(1, 600, 16, 16));
    EXPECT_FALSE(OneRowScroll(-1, 600, 10, 16));
    EXPECT_FALSE(OneRowScroll(1, 600, 260, 0));
}

}  // namespace
