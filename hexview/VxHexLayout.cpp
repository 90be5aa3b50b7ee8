#include "hexview/VxHexLayout.h"

void RecalcLayout(TVxHexLayout& layout, std::int32_t clientWidth, std::int32_t clientHeight, bool showAddress,
                  bool showCharacters, std::int64_t size)
{
    if (layout.CellHeight < 1)
        return;
    layout.VisibleRows = clientHeight / layout.CellHeight + 1;

    // A font with no measurable width still lays out one byte per row.
    std::int32_t cells = layout.CellWidth > 0 ? clientWidth / layout.CellWidth : 0;
    if (showAddress)
        cells -= AddressCells;
    std::int32_t bytes = cells / CellsPerByte[showCharacters ? 1 : 0];
    if (bytes < 1)
        bytes = 1;
    else if (bytes > MaxBytesPerRow)
        bytes = MaxBytesPerRow;
    layout.BytesPerRow = bytes;

    const std::int64_t rows = size / bytes + (size % bytes != 0 ? 1 : 0);
    layout.RowCount = static_cast<std::int32_t>(rows);
}

std::int32_t AddressWidth(const TVxHexLayout& layout, bool showAddress)
{
    return showAddress ? AddressCells * layout.CellWidth : 0;
}

std::int32_t CharColumnLeft(const TVxHexLayout& layout, bool showAddress)
{
    return AddressWidth(layout, showAddress) + 3 * layout.CellWidth * layout.BytesPerRow;
}

std::int32_t RowByteCount(const TVxHexLayout& layout, std::int64_t size, std::int32_t row)
{
    const std::int64_t left = size - RowOffset(layout, row);
    if (left <= 0)
        return 0;
    return left < layout.BytesPerRow ? static_cast<std::int32_t>(left) : layout.BytesPerRow;
}

std::int64_t RowOffset(const TVxHexLayout& layout, std::int32_t row)
{
    return static_cast<std::int64_t>(row) * layout.BytesPerRow;
}

namespace {

void AppendHex32(std::string& text, std::uint32_t value)
{
    for (int shift = 28; shift >= 0; shift -= 4)
        text.push_back(HexDigits[(value >> shift) & 0xF]);
    text.push_back(':');
}

}  // namespace

void FormatOffsetAddress(std::string& text, std::uint32_t offset)
{
    text.clear();
    AppendHex32(text, offset);
}

void FormatMemoryAddress(std::string& text, const void* address)
{
    text.clear();
    const auto value = reinterpret_cast<std::uintptr_t>(address);
    AppendHex32(text, static_cast<std::uint32_t>(value & 0xFFFFFFFFu));
}

void FormatHexText(std::string& text, const std::uint8_t* bytes, std::int32_t count)
{
    text.clear();
    for (std::int32_t i = 0; i < count; ++i) {
        text.push_back(HexDigits[bytes[i] >> 4]);
        text.push_back(HexDigits[bytes[i] & 0xF]);
        text.push_back('\t');
    }
}
