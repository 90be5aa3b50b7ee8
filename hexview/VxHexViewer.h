#pragma once

// The read-only hex viewer control: one whole file in memory, shown as rows
// of an address, the bytes in hexadecimal and the same bytes as characters.

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/WinControls.h"
#include "hexview/VxHexLayout.h"
#include "hexview/VxHexPaint.h"
#include "hexview/VxMemoryStream.h"

class TVxHexViewer : public TCustomControl {
public:
    // The owner must be a windowed control; it becomes the parent.
    explicit TVxHexViewer(TComponent* AOwner);
    ~TVxHexViewer() override;

    const std::string& FileName() const { return FFileName; }
    // Loads the named file; the same name, a missing file or a folder
    // changes nothing. A failed load empties the view and re-raises.
    void SetFileName(const std::string& Value);
    bool ShowAddress() const { return FShowAddress; }
    void SetShowAddress(bool Value);
    bool ShowCharacters() const { return FShowCharacters; }
    void SetShowCharacters(bool Value);
    bool DisplayOffset() const { return FDisplayOffset; }
    void SetDisplayOffset(bool Value);
    // Text colours by column: 0 address, 1 hexadecimal data, 2 characters.
    TColor GetColumnColor(int Index) const;
    void SetColumnColor(int Index, TColor Value);
    TColor AddressColor() const { return GetColumnColor(0); }
    void SetAddressColor(TColor Value) { SetColumnColor(0, Value); }
    TColor HexDataColor() const { return GetColumnColor(1); }
    void SetHexDataColor(TColor Value) { SetColumnColor(1, Value); }
    TColor AnsiCharColor() const { return GetColumnColor(2); }
    void SetAnsiCharColor(TColor Value) { SetColumnColor(2, Value); }

    bool HasData() const { return FHasData; }
    const std::uint8_t* Data() const { return FData; }
    std::int64_t Size() const { return FSize; }
    std::int32_t CellWidth() const { return FLayout.CellWidth; }
    std::int32_t CellHeight() const { return FLayout.CellHeight; }
    std::int32_t BytesPerRow() const { return FLayout.BytesPerRow; }
    std::int32_t VisibleRows() const { return FLayout.VisibleRows; }
    std::int32_t RowCount() const { return FLayout.RowCount; }
    std::int32_t TopRow() const { return FTopRow; }
    std::int32_t CurrentRow() const { return FCurrentRow; }

    // The row texts, kept in AddressText and HexText until the next call.
    const std::string& GetAddressText(std::int32_t Row);
    const std::string& GetHexText(std::int32_t Row);
    const std::string& AddressText() const { return FAddressText; }
    const std::string& HexText() const { return FHexText; }
    const std::uint8_t* GetRowBytes(std::int32_t Row) const;

    // Moves the top row (clamped into the rows); a one-row move shifts the
    // pixels and repaints only the exposed strip.
    void ScrollTo(std::int64_t Target);
    // Moves the current row (clamped) and scrolls it into full view.
    void SetCurrentRow(std::int64_t Target);

    void CreateParams(TCreateParams& Params) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void Paint() override;
    void Loaded() override;

protected:
    LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;
    void FontChanged() override;

    void SetData(const std::uint8_t* Value);
    void SetDataSize(std::int64_t Value);
    void RecalcLayout();
    void UpdateScrollRange();
    void EnsureCurrentRowVisible();

private:
    LRESULT OnVScroll(WPARAM wParam, LPARAM lParam);
    LRESULT OnSize(WPARAM wParam, LPARAM lParam);
    TVxHexPaintView PaintView() const;

    bool FHasData = false;
    bool FFontChangedWhileLoading = false;
    bool FShowCharacters = true;
    bool FShowAddress = true;
    bool FDisplayOffset = true;
    TColor FColors[3] = {0, 0, 0};
    std::string FFileName;
    TVxMemoryStream FStream;
    std::int64_t FSize = 0;
    const std::uint8_t* FData = nullptr;
    TVxHexLayout FLayout;
    std::int32_t FTopRow = 0;
    std::string FAddressText;
    std::string FHexText;
    std::int32_t FCurrentRow = 0;
};

// Registers the viewer's class table and those it stands on; idempotent.
void RegisterHexViewer();
