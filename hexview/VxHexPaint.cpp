#include "hexview/VxHexPaint.h"

namespace {

constexpr UINT OpaqueClipped = ETO_OPAQUE | ETO_CLIPPED;

const std::uint8_t* RowBytes(const TVxHexPaintView& view, std::int32_t row)
{
    return view.Data + RowOffset(view.Layout, row);
}

}  // namespace

void RowAddressText(std::string& text, const TVxHexPaintView& view, std::int32_t row)
{
    if (view.DisplayOffset)
        FormatOffsetAddress(text, static_cast<std::uint32_t>(RowOffset(view.Layout, row)));
    else
        FormatMemoryAddress(text, RowBytes(view, row));
}

void RowHexText(std::string& text, const TVxHexPaintView& view, std::int32_t row)
{
    FormatHexText(text, RowBytes(view, row), RowByteCount(view.Layout, view.Size, row));
}

void PaintHexRows(HDC dc, const TVxHexPaintView& view, std::string& addressText, std::string& hexText)
{
    const TVxHexLayout& layout = view.Layout;
    ::SetBkMode(dc, OPAQUE);
    ::SetBkColor(dc, view.Background);
    const std::int32_t addressWidth = AddressWidth(layout, view.ShowAddress);
    const std::int32_t charLeft = CharColumnLeft(layout, view.ShowAddress);
    RECT r{1, 0, 1 + view.ClientWidth, layout.CellHeight};
    const INT tabStop = 3 * layout.CellWidth;
    ::SetTextColor(dc, view.Colors[1]);

    // Rows wholly outside the area to repaint are skipped: clipped text
    // calls are not free everywhere (under Wine they cost nearly as much as
    // drawn ones), and a one-row scroll repaints a single strip.
    RECT clip{};
    const bool clipKnown = ::GetClipBox(dc, &clip) != ERROR;

    for (std::int32_t i = 0; i < layout.VisibleRows; ++i) {
        const std::int64_t row64 = static_cast<std::int64_t>(view.TopRow) + i;
        r.left = 1;
        if (clipKnown && (r.bottom <= clip.top || r.top >= clip.bottom)) {
            if (row64 < layout.RowCount && view.ShowAddress)
                r.right = view.ClientWidth;
        } else if (row64 < layout.RowCount) {
            const auto row = static_cast<std::int32_t>(row64);
            if (view.ShowAddress) {
                ::SetTextColor(dc, view.Colors[0]);
                r.right = r.left + addressWidth;
                RowAddressText(addressText, view, row);
                ::ExtTextOutA(dc, r.left, r.top, OpaqueClipped, &r, addressText.data(), AddressChars, nullptr);
                r.left = r.right;
                r.right = view.ClientWidth;
            }
            ::SetTextColor(dc, view.Colors[1]);
            RowHexText(hexText, view, row);
            const auto n = static_cast<int>(hexText.size() / 3);
            ::TabbedTextOutA(dc, r.left, r.top, hexText.data(), 3 * n - 1, 1, &tabStop, r.left);
            if (view.ShowCharacters) {
                r.left = charLeft;
                ::SetTextColor(dc, view.Colors[2]);
                ::ExtTextOutA(dc, r.left, r.top, OpaqueClipped, &r, reinterpret_cast<const char*>(RowBytes(view, row)),
                              static_cast<UINT>(n), nullptr);
            }
        } else {
            ::ExtTextOutA(dc, r.left, r.top, OpaqueClipped, &r, "", 0, nullptr);
        }
        ::OffsetRect(&r, 0, layout.CellHeight);
    }
}
