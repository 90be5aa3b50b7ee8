#pragma once

// The hex viewer's paint routine as a function of a device context, so the
// control, tests (memory bitmaps) and benchmarks draw with the same code.

#include <windows.h>

#include <cstdint>
#include <string>

#include "hexview/VxHexLayout.h"

struct TVxHexPaintView {
    TVxHexLayout Layout;
    const std::uint8_t* Data = nullptr;
    std::int64_t Size = 0;
    std::int32_t TopRow = 0;
    std::int32_t ClientWidth = 0;
    bool ShowAddress = true;
    bool ShowCharacters = true;
    bool DisplayOffset = true;
    COLORREF Background = 0xFFFFFF;
    // Text colours: address, hexadecimal digits, characters.
    COLORREF Colors[3] = {0, 0, 0};
};

// A row's 9-character address text: its offset, or its address in memory.
void RowAddressText(std::string& text, const TVxHexPaintView& view, std::int32_t row);
// A row's digit pairs, each followed by a tab.
void RowHexText(std::string& text, const TVxHexPaintView& view, std::int32_t row);

// Draws the visible rows with the font selected into `dc`; rows wholly
// outside the DC's clip box are left out. Each data row takes at most three
// text calls, each row past the data one fill; the one-pixel left margin is
// never drawn. The row texts are built in the two scratch strings.
void PaintHexRows(HDC dc, const TVxHexPaintView& view, std::string& addressText, std::string& hexText);
