#include "hexview/VxHexPaint.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "tests/HexViewTestSupport.h"

namespace {

using hexviewtest::PatternBytes;
using hexviewtest::TDibCanvas;

constexpr COLORREF Unpainted = RGB(255, 0, 255);
constexpr COLORREF Background = RGB(255, 255, 255);
constexpr COLORREF AddressInk = RGB(255, 0, 0);
constexpr COLORREF HexInk = RGB(0, 160, 0);
constexpr COLORREF CharInk = RGB(0, 0, 255);

class HexPaint : public testing::Test {
protected:
    void SetUp() override
    {
        FFont = ::CreateFontA(-13, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                              NONANTIALIASED_QUALITY, FIXED_PITCH | FF_MODERN, "Courier New");
        ASSERT_NE(FFont, nullptr);
    }
    void TearDown() override { ::DeleteObject(FFont); }

    // Measures the cell as the control does and lays out `size` bytes.
    TVxHexPaintView View(HDC dc, int width, int height, const std::vector<std::uint8_t>& bytes)
    {
        SIZE a{}, d{};
        ::GetTextExtentPoint32A(dc, "A", 1, &a);
        ::GetTextExtentPoint32A(dc, "D", 1, &d);
        TVxHexPaintView view;
        view.Layout.CellHeight = a.cy + 2;
        view.Layout.CellWidth = d.cx + 1;
        view.Data = bytes.empty() ? nullptr : bytes.data();
        view.Size = static_cast<std::int64_t>(bytes.size());
        view.ClientWidth = width;
        view.Background = Background;
        view.Colors[0] = AddressInk;
        view.Colors[1] = HexInk;
        view.Colors[2] = CharInk;
        RecalcLayout(view.Layout, width, height, true, true, view.Size);
        return view;
    }

    void Paint(TDibCanvas& canvas, const TVxHexPaintView& view)
    {
        canvas.Fill(Unpainted);
        HGDIOBJ old = ::SelectObject(canvas.DC(), FFont);
        PaintHexRows(canvas.DC(), view, FAddress, FHex);
        ::SelectObject(canvas.DC(), old);
        ::GdiFlush();
    }

    HFONT FFont = nullptr;
    std::string FAddress;
    std::string FHex;
};

TEST_F(HexPaint, ColumnsTakeTheirColoursAndPlaces)
{
    const int width = 600, height = 260;
    TDibCanvas canvas(width, height + 40);
    const auto bytes = PatternBytes(100);
    HGDIOBJ old = ::SelectObject(canvas.DC(), FFont);
    const TVxHexPaintView view = View(canvas.DC(), width, height, bytes);
    ::SelectObject(canvas.DC(), old);
    Paint(canvas, view);

    const TVxHexLayout& l = view.Layout;
    ASSERT_GT(l.CellWidth, 2);
    const int a = AddressWidth(l, true);
    const int charLeft = CharColumnLeft(l, true);
    const int charRight = charLeft + l.BytesPerRow * l.CellWidth;
    ASSERT_LT(charRight, width);
    for (int i = 0; i < l.VisibleRows; ++i) {
        const int top = i * l.CellHeight, bottom = top + l.CellHeight;
        SCOPED_TRACE("row " + std::to_string(i));
        // The left margin is never drawn.
        EXPECT_TRUE(canvas.All(Unpainted, 0, top, 1, bottom));
        if (i < l.RowCount) {
            EXPECT_GT(canvas.Count(AddressInk, 1, top, 1 + a, bottom), 0);
            EXPECT_EQ(canvas.Count(HexInk, 1, top, 1 + a, bottom) + canvas.Count(CharInk, 1, top, 1 + a, bottom), 0);
            EXPECT_GT(canvas.Count(HexInk, 1 + a, top, charLeft, bottom), 0);
            EXPECT_EQ(canvas.Count(AddressInk, 1 + a, top, width, bottom), 0);
            EXPECT_EQ(canvas.Count(CharInk, 1 + a, top, charLeft, bottom), 0);
            EXPECT_EQ(canvas.Count(HexInk, charLeft, top, width, bottom), 0);
            // The character column is filled from its own left edge, which
            // has no margin: the pixel before it is left alone.
            EXPECT_EQ(canvas.Pixel(charLeft - 1, top), Unpainted);
            EXPECT_NE(canvas.Pixel(charLeft, top), Unpainted);
            EXPECT_NE(canvas.Pixel(width - 1, top), Unpainted);
            EXPECT_EQ(canvas.Pixel(1, top), Background);
        } else {
            // Below the data: blank from the margin to the right edge.
            EXPECT_TRUE(canvas.All(Background, 1, top, width, bottom));
        }
    }
    // Nothing below the visible rows.
    EXPECT_TRUE(canvas.All(Unpainted, 0, l.VisibleRows * l.CellHeight, width, canvas.Height()));
}

TEST_F(HexPaint, DigitPairsSitOnTheTabGridAndTheLastRowIsShort)
{
    const int width = 600;
    TDibCanvas canvas(width, 200);
    const auto bytes = PatternBytes(3 * 14 + 5);
    HGDIOBJ old = ::SelectObject(canvas.DC(), FFont);
    const TVxHexPaintView view = View(canvas.DC(), width, 200, bytes);
    ::SelectObject(canvas.DC(), old);
    Paint(canvas, view);

    const TVxHexLayout& l = view.Layout;
    const int n = l.BytesPerRow;
    ASSERT_EQ(l.RowCount, static_cast<int>(bytes.size() + n - 1) / n);
    const int hexLeft = 1 + AddressWidth(l, true);
    const int t = 3 * l.CellWidth;
    const int charLeft = CharColumnLeft(l, true);
    for (int row = 0; row < l.RowCount; ++row) {
        const int top = row * l.CellHeight, bottom = top + l.CellHeight;
        const int count = RowByteCount(l, view.Size, row);
        for (int k = 0; k < n; ++k) {
            SCOPED_TRACE("row " + std::to_string(row) + " byte " + std::to_string(k));
            const int x = hexLeft + k * t;
            const int digits = canvas.Count(HexInk, x, top, x + 2 * l.CellWidth, bottom);
            // The separating cell holds no ink.
            EXPECT_EQ(canvas.Count(HexInk, x + 2 * l.CellWidth + 1, top, x + t, bottom), 0);
            if (k < count)
                EXPECT_GT(digits, 0);
            else
                EXPECT_EQ(digits, 0);
        }
        // Characters only for the row's own bytes (glyphs at the font's
        // advance, one pixel narrower than a cell).
        EXPECT_EQ(canvas.Count(CharInk, charLeft + count * (l.CellWidth - 1) + 1, top, width, bottom), 0);
    }
}

TEST_F(HexPaint, CharacterColumnDrawsTheRowsBytes)
{
    const int width = 600;
    TDibCanvas canvas(width, 100);
    std::vector<std::uint8_t> bytes(28, ' ');
    std::fill(bytes.begin() + 14, bytes.end(), static_cast<std::uint8_t>('#'));
    HGDIOBJ old = ::SelectObject(canvas.DC(), FFont);
    const TVxHexPaintView view = View(canvas.DC(), width, 100, bytes);
    ::SelectObject(canvas.DC(), old);
    ASSERT_EQ(view.Layout.BytesPerRow, 14);
    Paint(canvas, view);
    const int h = view.Layout.CellHeight;
    const int charLeft = CharColumnLeft(view.Layout, true);
    // Spaces: an opaque fill, no ink.
    EXPECT_EQ(canvas.Count(CharInk, charLeft, 0, width, h), 0);
    EXPECT_TRUE(canvas.All(Background, charLeft, 0, width, h));
    EXPECT_GT(canvas.Count(CharInk, charLeft, h, width, 2 * h), 14);
}

TEST_F(HexPaint, RowsFollowTheTopRow)
{
    const int width = 600, height = 120;
    TDibCanvas first(width, height), scrolled(width, height);
    const auto bytes = PatternBytes(14 * 40);
    HGDIOBJ old = ::SelectObject(first.DC(), FFont);
    TVxHexPaintView view = View(first.DC(), width, height, bytes);
    ::SelectObject(first.DC(), old);
    Paint(first, view);
    view.TopRow = 3;
    Paint(scrolled, view);
    const int h = view.Layout.CellHeight;
    EXPECT_EQ(scrolled.Block(0, 0, width, h), first.Block(0, 3 * h, width, 4 * h));
    EXPECT_NE(scrolled.Block(0, 0, width, h), first.Block(0, 0, width, h));
}

TEST_F(HexPaint, HiddenColumnsAreNotDrawn)
{
    const int width = 600;
    TDibCanvas canvas(width, 60);
    const auto bytes = PatternBytes(40);
    HGDIOBJ old = ::SelectObject(canvas.DC(), FFont);
    TVxHexPaintView view = View(canvas.DC(), width, 60, bytes);
    ::SelectObject(canvas.DC(), old);
    view.ShowAddress = false;
    view.ShowCharacters = false;
    RecalcLayout(view.Layout, width, 60, false, false, view.Size);
    Paint(canvas, view);
    const int h = view.Layout.CellHeight;
    EXPECT_EQ(canvas.Count(AddressInk, 0, 0, width, canvas.Height()), 0);
    EXPECT_EQ(canvas.Count(CharInk, 0, 0, width, canvas.Height()), 0);
    // Digits start right after the margin.
    EXPECT_GT(canvas.Count(HexInk, 1, 0, 1 + 2 * view.Layout.CellWidth, h), 0);
}

TEST_F(HexPaint, ClippedPaintDrawsTheSamePixelsInsideTheClipOnly)
{
    const int width = 600, height = 200;
    TDibCanvas whole(width, height), part(width, height);
    const auto bytes = PatternBytes(14 * 8 + 5);
    HGDIOBJ old = ::SelectObject(whole.DC(), FFont);
    const TVxHexPaintView view = View(whole.DC(), width, height, bytes);
    ::SelectObject(whole.DC(), old);
    Paint(whole, view);
    // A strip across row boundaries, touching data rows and blank ones.
    const int h = view.Layout.CellHeight;
    const int top = 7 * h + h / 2, bottom = 10 * h - 3;
    part.Fill(Unpainted);
    HRGN strip = ::CreateRectRgn(0, top, width, bottom);
    ::SelectClipRgn(part.DC(), strip);
    ::DeleteObject(strip);
    old = ::SelectObject(part.DC(), FFont);
    PaintHexRows(part.DC(), view, FAddress, FHex);
    ::SelectObject(part.DC(), old);
    ::SelectClipRgn(part.DC(), nullptr);
    ::GdiFlush();
    EXPECT_EQ(part.Block(0, top, width, bottom), whole.Block(0, top, width, bottom));
    EXPECT_TRUE(part.All(Unpainted, 0, 0, width, top));
    EXPECT_TRUE(part.All(Unpainted, 0, bottom, width, height));
}

TEST(HexPaintText, RowTextsOfAView)
{
    const auto bytes = PatternBytes(50);
    TVxHexPaintView view;
    view.Layout.BytesPerRow = 16;
    view.Layout.RowCount = 4;
    view.Data = bytes.data();
    view.Size = 50;
    std::string text;
    RowAddressText(text, view, 2);
    EXPECT_EQ(text, "00000020:");
    view.DisplayOffset = false;
    RowAddressText(text, view, 2);
    char expected[16];
    std::snprintf(expected, sizeof expected,
                  "%08X:", static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(bytes.data() + 32) & 0xFFFFFFFFu));
    EXPECT_EQ(text, expected);
    RowHexText(text, view, 3);
    EXPECT_EQ(text.size(), 6u);
    char last[8];
    std::snprintf(last, sizeof last, "%02X\t%02X\t", bytes[48], bytes[49]);
    EXPECT_EQ(text, last);
}

}  // namespace
