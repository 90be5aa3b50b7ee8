#include "hexview/VxHexViewer.h"

#include "framework/ClassTable.h"
#include "framework/Forms.h"
#include "hexview/VxHexNavigation.h"

namespace {

// Longer names name no file. Wine's ANSI conversion keeps the length in 16
// bits, so a name 64 KiB longer than a real file's would reach that file.
constexpr std::size_t MaxFileNameLength = 32767;

// A folder counts as no file at all.
bool FileExists(const std::string& name)
{
    if (name.size() > MaxFileNameLength)
        return false;
    const DWORD attributes = ::GetFileAttributesA(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

RECT ToRect(const TVxPixelRect& r)
{
    return RECT{r.Left, r.Top, r.Right, r.Bottom};
}

TWinControl* ParentFromOwner(TComponent* AOwner)
{
    if (!AOwner)
        return nullptr;
    auto* parent = dynamic_cast<TWinControl*>(AOwner);
    if (!parent)
        RaiseInvalidCast();
    return parent;
}

}  // namespace

void RegisterHexViewer()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterFrameworkClasses();
    RegisterComponentClass<TVxHexViewer, TCustomControl>("TVxHexViewer")
        .Property("FileName", &TVxHexViewer::SetFileName)
        .Property("ShowAddress", &TVxHexViewer::SetShowAddress)
        .Property("ShowCharacters", &TVxHexViewer::SetShowCharacters)
        .Property("AddressColor", &TVxHexViewer::SetAddressColor)
        .Property("HexDataColor", &TVxHexViewer::SetHexDataColor)
        .Property("AnsiCharColor", &TVxHexViewer::SetAnsiCharColor)
        .Property("DisplayOffset", &TVxHexViewer::SetDisplayOffset);
}

TVxHexViewer::TVxHexViewer(TComponent* AOwner) : TCustomControl(AOwner)
{
    // The parent comes first: measuring the font needs the window, and the
    // window needs its parent.
    SetParent(ParentFromOwner(AOwner));
    SetControlStyle(TControlStyle{csCaptureMouse, csClickEvents, csFramed});
    SetColor(clWindow);
    Font().SetName("FixedSys");
    SetTabStop(true);
}

TVxHexViewer::~TVxHexViewer()
{
    FData = nullptr;
    FHasData = false;
    FStream.Clear();
}

void TVxHexViewer::SetFileName(const std::string& Value)
{
    if (Value == FFileName || !FileExists(Value))
        return;
    FFileName = Value;
    // A new file starts at its first row.
    FTopRow = 0;
    FCurrentRow = 0;
    // The pointers go before the buffer they point into.
    SetData(nullptr);
    SetDataSize(0);
    try {
        FStream.LoadFromFile(Value);
    } catch (...) {
        FFileName.clear();
        FStream.Clear();
        throw;
    }
    SetData(FStream.Memory());
    SetDataSize(FStream.Size());
}

void TVxHexViewer::SetShowAddress(bool Value)
{
    if (Value == FShowAddress)
        return;
    FShowAddress = Value;
    Invalidate();
}

void TVxHexViewer::SetShowCharacters(bool Value)
{
    if (Value == FShowCharacters)
        return;
    FShowCharacters = Value;
    Invalidate();
}

void TVxHexViewer::SetDisplayOffset(bool Value)
{
    if (Value == FDisplayOffset)
        return;
    FDisplayOffset = Value;
    Invalidate();
}

TColor TVxHexViewer::GetColumnColor(int Index) const
{
    VX_ASSERT(Index >= 0 && Index <= 2);
    return FColors[Index];
}

void TVxHexViewer::SetColumnColor(int Index, TColor Value)
{
    VX_ASSERT(Index >= 0 && Index <= 2);
    if (FColors[Index] == Value)
        return;
    FColors[Index] = Value;
    Invalidate();
}

void TVxHexViewer::SetData(const std::uint8_t* Value)
{
    FData = Value;
    FHasData = Value != nullptr;
    Invalidate();
}

void TVxHexViewer::SetDataSize(std::int64_t Value)
{
    FSize = Value;
    RecalcLayout();
    Invalidate();
    UpdateScrollRange();
}

void TVxHexViewer::CreateParams(TCreateParams& Params)
{
    TCustomControl::CreateParams(Params);
    Params.Style |= WS_BORDER | WS_VSCROLL;
}

void TVxHexViewer::FontChanged()
{
    TCustomControl::FontChanged();
    // A description sets the font a property at a time: it is measured
    // once, when the viewer is loaded.
    if (IsLoading()) {
        FFontChangedWhileLoading = true;
        return;
    }
    Canvas().Font().Assign(Font());
    FLayout.CellHeight = Canvas().TextHeight("A") + 2;
    FLayout.CellWidth = Canvas().TextWidth("D") + 1;
    RecalcLayout();
    UpdateScrollRange();
    Invalidate();
}

void TVxHexViewer::Loaded()
{
    TCustomControl::Loaded();
    if (FFontChangedWhileLoading) {
        FFontChangedWhileLoading = false;
        FontChanged();
    }
}

void TVxHexViewer::RecalcLayout()
{
    ::RecalcLayout(FLayout, ClientWidth(), ClientHeight(), FShowAddress, FShowCharacters, FSize);
}

void TVxHexViewer::UpdateScrollRange()
{
    if (!HandleAllocated())
        return;
    // With nothing to scroll the bar is disabled rather than hidden, so the
    // client width (and with it the row width) does not follow the data.
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = FLayout.RowCount > 0 ? FLayout.RowCount - 1 : 0;
    info.nPos = FTopRow;
    ::SetScrollInfo(Handle(), SB_VERT, &info, TRUE);
}

TVxHexPaintView TVxHexViewer::PaintView() const
{
    TVxHexPaintView view;
    view.Layout = FLayout;
    view.Data = FData;
    view.Size = FSize;
    view.TopRow = FTopRow;
    view.ClientWidth = ClientWidth();
    view.ShowAddress = FShowAddress;
    view.ShowCharacters = FShowCharacters;
    view.DisplayOffset = FDisplayOffset;
    view.Background = ColorToRGB(Color());
    for (int i = 0; i < 3; ++i)
        view.Colors[i] = ColorToRGB(FColors[i]);
    return view;
}

const std::string& TVxHexViewer::GetAddressText(std::int32_t Row)
{
    RowAddressText(FAddressText, PaintView(), Row);
    return FAddressText;
}

const std::string& TVxHexViewer::GetHexText(std::int32_t Row)
{
    RowHexText(FHexText, PaintView(), Row);
    return FHexText;
}

const std::uint8_t* TVxHexViewer::GetRowBytes(std::int32_t Row) const
{
    return FData + RowOffset(FLayout, Row);
}

void TVxHexViewer::Paint()
{
    Canvas().SetBrushColor(Color());
    PaintHexRows(Canvas().Handle(), PaintView(), FAddressText, FHexText);
}

namespace {

// Moves the bar's position from `from` to `to`, redrawing the bar only when
// its thumb moves. Over many rows most one-row steps leave the thumb on the
// same pixels, and a redraw of the bar costs several times the exposed strip.
void MoveScrollBar(HWND window, std::int32_t from, std::int32_t to)
{
    const auto thumb = [window](SCROLLBARINFO& info) {
        info = {};
        info.cbSize = sizeof info;
        return ::GetScrollBarInfo(window, OBJID_VSCROLL, &info) != FALSE;
    };
    SCROLLBARINFO before;
    SCROLLBARINFO after;
    if (thumb(before)) {
        ::SetScrollPos(window, SB_VERT, to, FALSE);
        if (thumb(after) && before.xyThumbTop == after.xyThumbTop && before.xyThumbBottom == after.xyThumbBottom)
            return;
        ::SetScrollPos(window, SB_VERT, from, FALSE);
    }
    ::SetScrollPos(window, SB_VERT, to, TRUE);
}

}  // namespace

void TVxHexViewer::ScrollTo(std::int64_t Target)
{
    const std::int32_t row = ClampRow(Target, FLayout.RowCount);
    if (row == FTopRow)
        return;
    const std::int64_t delta = static_cast<std::int64_t>(FTopRow) - row;
    const std::int32_t previous = FTopRow;
    FTopRow = row;
    if (!HandleAllocated())
        return;
    HWND window = Handle();
    MoveScrollBar(window, previous, FTopRow);
    const RECT client = ClientRect();
    if (const auto scroll = OneRowScroll(delta, client.right, client.bottom, FLayout.CellHeight)) {
        const RECT moved = ToRect(scroll->Moved);
        ::ScrollWindow(window, 0, scroll->Dy, &moved, &client);
        const RECT exposed = ToRect(scroll->Exposed);
        ::InvalidateRect(window, &exposed, FALSE);
    } else {
        Invalidate();
    }
}

void TVxHexViewer::SetCurrentRow(std::int64_t Target)
{
    const std::int32_t row = ClampRow(Target, FLayout.RowCount);
    if (row == FCurrentRow)
        return;
    FCurrentRow = row;
    EnsureCurrentRowVisible();
}

void TVxHexViewer::EnsureCurrentRowVisible()
{
    if (const auto top = TopRowShowing(FCurrentRow, FTopRow, FLayout.VisibleRows))
        ScrollTo(*top);
}

void TVxHexViewer::KeyDown(WORD& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if (!FHasData)
        return;
    if (const auto target = KeyTarget(Key, FCurrentRow, FLayout.VisibleRows, FLayout.RowCount))
        SetCurrentRow(*target);
}

LRESULT TVxHexViewer::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam)
{
    switch (Msg) {
    case WM_VSCROLL: return OnVScroll(wParam, lParam);
    case WM_SIZE: return OnSize(wParam, lParam);
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    default: return TCustomControl::WndProc(Msg, wParam, lParam);
    }
}

LRESULT TVxHexViewer::OnVScroll(WPARAM wParam, LPARAM lParam)
{
    DefaultHandler(WM_VSCROLL, wParam, lParam);
    const int code = LOWORD(wParam);
    std::int32_t thumb = FTopRow;
    if (code == SB_THUMBPOSITION || code == SB_THUMBTRACK) {
        // The message holds 16 bits of the position; the bar knows all 32.
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        const std::int32_t barPosition = ::GetScrollInfo(Handle(), SB_VERT, &info) ? info.nTrackPos : FTopRow;
        thumb = ThumbRow(HIWORD(wParam), barPosition, FLayout.RowCount);
    }
    ScrollTo(ScrollBarTarget(code, FTopRow, FLayout.VisibleRows, thumb));
    return 0;
}

LRESULT TVxHexViewer::OnSize(WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = TCustomControl::WndProc(WM_SIZE, wParam, lParam);
    RecalcLayout();
    UpdateScrollRange();
    return result;
}
