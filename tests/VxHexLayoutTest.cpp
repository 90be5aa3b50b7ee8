#include "hexview/VxHexLayout.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

namespace {

TVxHexLayout Cell(std::int32_t width, std::int32_t height)
{
    TVxHexLayout layout;
    layout.CellWidth = width;
    layout.CellHeight = height;
    return layout;
}

struct LayoutCase {
    const char* Name;
    std::int32_t CellWidth, CellHeight, ClientWidth, ClientHeight;
    bool ShowAddress, ShowCharacters;
    std::int64_t Size;
    std::int32_t BytesPerRow, VisibleRows, RowCount;
};

class RecalcLayoutTable : public testing::TestWithParam<LayoutCase> {};

TEST_P(RecalcLayoutTable, GivesRowsAndColumns)
{
    const LayoutCase& c = GetParam();
    TVxHexLayout layout = Cell(c.CellWidth, c.CellHeight);
    RecalcLayout(layout, c.ClientWidth, c.ClientHeight, c.ShowAddress, c.ShowCharacters, c.Size);
    EXPECT_EQ(layout.BytesPerRow, c.BytesPerRow);
    EXPECT_EQ(layout.VisibleRows, c.VisibleRows);
    EXPECT_EQ(layout.RowCount, c.RowCount);
}

INSTANTIATE_TEST_SUITE_P(
    HexLayout, RecalcLayoutTable,
    testing::Values(
        // 600 / 9 = 66 cells, -10 = 56, / 4 = 14; 1000 bytes = 71 rows + 6.
        LayoutCase{"Width600Height260", 9, 16, 600, 260, true, true, 1000, 14, 17, 72},
        LayoutCase{"HeightDividesExactly", 9, 16, 600, 256, true, true, 1000, 14, 17, 72},
        LayoutCase{"WithoutCharactersThreeCellsPerByte", 9, 16, 600, 260, true, false, 1000, 18, 17, 56},
        LayoutCase{"WithoutAddress", 9, 16, 600, 260, false, true, 1000, 16, 17, 63},
        LayoutCase{"MultipleOfRowGivesFullLastRow", 9, 16, 600, 260, true, true, 14 * 5, 14, 17, 5},
        LayoutCase{"ShorterThanOneRow", 9, 16, 600, 260, true, true, 3, 14, 17, 1},
        LayoutCase{"EmptyData", 9, 16, 600, 260, true, true, 0, 14, 17, 0},
        LayoutCase{"TooNarrowStillOneByte", 9, 16, 50, 260, true, true, 10, 1, 17, 10},
        LayoutCase{"NegativeWidthStillOneByte", 9, 16, -20, 0, true, true, 10, 1, 1, 10},
        LayoutCase{"WideClampsTo32", 9, 16, 5000, 260, true, true, 100, 32, 17, 4},
        // 2 GiB - 1 bytes at one byte per row needs the 64-bit division.
        LayoutCase{"LargestDataOneBytePerRow", 9, 16, 10, 10, true, true, 0x7FFFFFFF, 1, 1, 0x7FFFFFFF},
        LayoutCase{"LargeDataRemainder", 9, 16, 5000, 10, true, true, 0x7FFFFFFF, 32, 1, 0x4000000}),
    [](const testing::TestParamInfo<LayoutCase>& p) { return std::string(p.param.Name); });

TEST(HexLayout, NothingChangesBeforeAFontIsMeasured)
{
    TVxHexLayout layout;
    RecalcLayout(layout, 600, 260, true, true, 1000);
    EXPECT_EQ(layout.BytesPerRow, 0);
    EXPECT_EQ(layout.VisibleRows, 0);
    EXPECT_EQ(layout.RowCount, 0);
}

TEST(HexLayout, ColumnEdgesAndRowBytes)
{
    TVxHexLayout layout = Cell(9, 16);
    RecalcLayout(layout, 600, 260, true, true, 1000);
    EXPECT_EQ(AddressWidth(layout, true), 90);
    EXPECT_EQ(AddressWidth(layout, false), 0);
    // No one-pixel margin before the character column.
    EXPECT_EQ(CharColumnLeft(layout, true), 90 + 3 * 9 * 14);
    EXPECT_EQ(CharColumnLeft(layout, false), 3 * 9 * 14);
    EXPECT_EQ(RowByteCount(layout, 1000, 0), 14);
    EXPECT_EQ(RowByteCount(layout, 1000, 70), 14);
    EXPECT_EQ(RowByteCount(layout, 1000, 71), 6);
    EXPECT_EQ(RowByteCount(layout, 1000, 72), 0);
    EXPECT_EQ(RowByteCount(layout, 14 * 72, 71), 14);
    EXPECT_EQ(RowOffset(layout, 71), 994);
}

TEST(HexLayout, RowOffsetDoesNotOverflowNearTheLastRow)
{
    TVxHexLayout layout = Cell(9, 16);
    RecalcLayout(layout, 5000, 10, true, true, 0x7FFFFFFF);
    EXPECT_EQ(RowOffset(layout, layout.RowCount - 1), 0x7FFFFFE0);
    EXPECT_EQ(RowByteCount(layout, 0x7FFFFFFF, layout.RowCount - 1), 31);
}

TEST(HexLayout, OffsetAddressIsEightUpperCaseDigitsAndColon)
{
    std::string text = "left over";
    const std::array<std::pair<std::uint32_t, const char*>, 5> cases{{
        {0, "00000000:"},
        {255, "000000FF:"},
        {4096, "00001000:"},
        {0xABCDEF12u, "ABCDEF12:"},
        {0xFFFFFFFFu, "FFFFFFFF:"},
    }};
    for (const auto& [offset, expected] : cases) {
        FormatOffsetAddress(text, offset);
        EXPECT_EQ(text, expected) << offset;
    }
}

TEST(HexLayout, MemoryAddressKeepsLow32BitsInNineCharacters)
{
    std::string text;
    FormatMemoryAddress(text, reinterpret_cast<const void*>(std::uintptr_t{0x1A2B3C}));
    EXPECT_EQ(text, "001A2B3C:");
    if constexpr (sizeof(void*) > 4) {
        const std::uint64_t wide = 0x00007FF6DEADBEEFull;
        FormatMemoryAddress(text, reinterpret_cast<const void*>(static_cast<std::uintptr_t>(wide)));
        EXPECT_EQ(text, "DEADBEEF:");
    }
    const std::uint8_t byte = 0;
    FormatMemoryAddress(text, &byte);
    EXPECT_EQ(text.size(), 9u);
    EXPECT_EQ(text.back(), ':');
}

TEST(HexLayout, HexTextIsDigitPairsEachFollowedByATab)
{
    const std::uint8_t bytes[] = {0x00, 0x4A, 0xFF, 0x09};
    std::string text = "stale";
    FormatHexText(text, bytes, 3);
    EXPECT_EQ(text, "00\t4A\tFF\t");
    FormatHexText(text, bytes + 3, 1);
    EXPECT_EQ(text, "09\t");
    FormatHexText(text, bytes, 0);
    EXPECT_EQ(text, "");
}

TEST(HexLayout, HexTextReadsOnlyTheRowsOwnBytes)
{
    // A heap block of exactly the row's size: reading past it trips ASan.
    auto bytes = std::make_unique<std::uint8_t[]>(6);
    std::memcpy(bytes.get(), "\x10\x20\x30\x40\x50\x60", 6);
    std::string text;
    FormatHexText(text, bytes.get(), 6);
    EXPECT_EQ(text.size(), 18u);
    EXPECT_EQ(text.substr(15), "60\t");
}

}  // namespace
