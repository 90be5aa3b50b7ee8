#pragma once

// Window-free layout arithmetic and row texts of the hex viewer: the client
// area and the measured character cell become rows and columns.

#include <cstdint>
#include <string>

// Cells one byte takes: two digits and a gap, plus its character when the
// character column is shown. Indexed by ShowCharacters.
inline constexpr std::int32_t CellsPerByte[2] = {3, 4};
// The address column: 9 characters of text and one cell of space.
inline constexpr std::int32_t AddressCells = 10;
inline constexpr std::int32_t AddressChars = 9;
inline constexpr std::int32_t MaxBytesPerRow = 32;
inline constexpr char HexDigits[] = "0123456789ABCDEF";

struct TVxHexLayout {
    std::int32_t CellWidth = 0;
    std::int32_t CellHeight = 0;
    std::int32_t BytesPerRow = 0;
    std::int32_t VisibleRows = 0;
    std::int32_t RowCount = 0;
};

// Recomputes VisibleRows, BytesPerRow and RowCount. Does nothing until a
// font has been measured (CellHeight below 1).
void RecalcLayout(TVxHexLayout& layout, std::int32_t clientWidth, std::int32_t clientHeight, bool showAddress,
                  bool showCharacters, std::int64_t size);

// Width in pixels of the address column (0 when hidden).
std::int32_t AddressWidth(const TVxHexLayout& layout, bool showAddress);

// Left edge of the character column. It has no one-pixel margin.
std::int32_t CharColumnLeft(const TVxHexLayout& layout, bool showAddress);

// Bytes held by a data row: BytesPerRow, or the remainder on a short last row.
std::int32_t RowByteCount(const TVxHexLayout& layout, std::int64_t size, std::int32_t row);

// Offset of a row's first byte in the data.
std::int64_t RowOffset(const TVxHexLayout& layout, std::int32_t row);

// "0000ABCD:" for an offset: 8 upper-case digits and a colon.
void FormatOffsetAddress(std::string& text, std::uint32_t offset);

// The same 9-character form for a memory address. Wider addresses keep
// their low 32 bits, so the column has one width in every build.
void FormatMemoryAddress(std::string& text, const void* address);

// Each byte's two upper-case digits followed by a tab: 3 x count characters.
void FormatHexText(std::string& text, const std::uint8_t* bytes, std::int32_t count);
