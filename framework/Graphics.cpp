#include "framework/Graphics.h"

#include <cstring>

#include "framework/Exceptions.h"

COLORREF ColorToRGB(TColor color)
{
    if ((color & 0xFF000000u) == 0xFF000000u)
        return GetSysColor(static_cast<int>(color & 0xFFu));
    return color & 0x00FFFFFFu;
}

int ScreenPixelsPerInch()
{
    static const int ppi = [] {
        int value = 0;
        try {
            const TWindowDC screen(nullptr);
            value = GetDeviceCaps(screen.Get(), LOGPIXELSY);
        } catch (const EOSError&) {}
        return value > 0 ? value : 96;
    }();
    return ppi;
}

TFont::TFont() : FName("MS Sans Serif"), FHeight(-11), FCharset(DEFAULT_CHARSET), FColor(clWindowText)
{}

void TFont::Changed()
{
    FHandleStale = true;
    // The old handle stays alive until Handle() is asked again, so whoever
    // has it selected can put it back first (OnChange).
    if (OnChange)
        OnChange(*this);
}

void TFont::SetName(const std::string& Value)
{
    if (Value.empty() || Value == FName)
        return;
    FName = Value.substr(0, LF_FACESIZE - 1);
    Changed();
}

void TFont::SetHeight(int Value)
{
    if (Value == FHeight)
        return;
    FHeight = Value;
    Changed();
}

int TFont::Size() const
{
    return -MulDiv(FHeight, 72, ScreenPixelsPerInch());
}

void TFont::SetSize(int Value)
{
    SetHeight(-MulDiv(Value, ScreenPixelsPerInch(), 72));
}

void TFont::SetStyle(TFontStyles Value)
{
    if (Value == FStyle)
        return;
    FStyle = Value;
    Changed();
}

void TFont::SetCharset(std::uint8_t Value)
{
    if (Value == FCharset)
        return;
    FCharset = Value;
    Changed();
}

void TFont::SetColor(TColor Value)
{
    if (Value == FColor)
        return;
    FColor = Value;
    Changed();
}

void TFont::SetPitch(TFontPitch Value)
{
    if (Value == FPitch)
        return;
    FPitch = Value;
    Changed();
}

void TFont::Assign(const TFont& Source)
{
    if (&Source == this)
        return;
    FName = Source.FName;
    FHeight = Source.FHeight;
    FStyle = Source.FStyle;
    FCharset = Source.FCharset;
    FColor = Source.FColor;
    FPitch = Source.FPitch;
    Changed();
}

void TFont::AssignLogFont(const LOGFONTA& font)
{
    FName.assign(font.lfFaceName, strnlen(font.lfFaceName, LF_FACESIZE));
    FHeight = font.lfHeight;
    FStyle = TFontStyles{};
    if (font.lfWeight >= FW_BOLD)
        FStyle.Include(fsBold);
    if (font.lfItalic)
        FStyle.Include(fsItalic);
    if (font.lfUnderline)
        FStyle.Include(fsUnderline);
    if (font.lfStrikeOut)
        FStyle.Include(fsStrikeOut);
    FCharset = font.lfCharSet;
    switch (font.lfPitchAndFamily & 3) {
    case FIXED_PITCH: FPitch = fpFixed; break;
    case VARIABLE_PITCH: FPitch = fpVariable; break;
    default: FPitch = fpDefault; break;
    }
    Changed();
}

LOGFONTA TFont::LogFont() const
{
    LOGFONTA font{};
    font.lfHeight = FHeight;
    font.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    font.lfItalic = FStyle.Contains(fsItalic);
    font.lfUnderline = FStyle.Contains(fsUnderline);
    font.lfStrikeOut = FStyle.Contains(fsStrikeOut);
    font.lfCharSet = FCharset;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = FPitch == fpFixed ? FIXED_PITCH : FPitch == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH;
    std::memcpy(font.lfFaceName, FName.c_str(), FName.size() + 1);
    return font;
}

HFONT TFont::Handle()
{
    if (FHandle && !FHandleStale)
        return FHandle.Get();
    const LOGFONTA font = LogFont();
    HFONT handle = CreateFontIndirectA(&font);
    ThrowLastErrorIf(!handle, "CreateFontIndirectA");
    FHandle.Reset(handle);
    FHandleStale = false;
    return handle;
}

TCanvas::TCanvas()
{
    FFont.OnChange = [this](TFont&) { FFontSelector.reset(); };
}

TCanvas::~TCanvas()
{
    DeselectAll();
}

void TCanvas::DeselectAll()
{
    FFontSelector.reset();
    FBrushSelector.reset();
}

void TCanvas::SetHandle(HDC dc)
{
    if (dc == FDC)
        return;
    DeselectAll();
    FDC = dc;
}

void TCanvas::CreateHandle()
{}

HDC TCanvas::Handle()
{
    if (!FDC)
        CreateHandle();
    if (!FDC)
        throw EInvalidOperation("Canvas does not allow drawing");
    SelectFont();
    SelectBrush();
    return FDC;
}

void TCanvas::SelectFont()
{
    if (FFontSelector)
        return;
    HFONT font = FFont.Handle();
    FFontSelector.emplace(FDC, font);
    SetTextColor(FDC, ColorToRGB(FFont.Color()));
}

void TCanvas::SelectBrush()
{
    if (FBrushSelector)
        return;
    if (!FBrush) {
        FBrush.Reset(CreateSolidBrush(ColorToRGB(FBrushColor)));
        ThrowLastErrorIf(!FBrush, "CreateSolidBrush");
    }
    FBrushSelector.emplace(FDC, FBrush.Get());
    SetBkColor(FDC, ColorToRGB(FBrushColor));
}

void TCanvas::SetBrushColor(TColor Value)
{
    if (Value == FBrushColor && FBrush)
        return;
    FBrushSelector.reset();
    FBrush.Reset();
    FBrushColor = Value;
}

SIZE TCanvas::TextExtent(const std::string& text)
{
    SIZE size{};
    ThrowLastErrorIf(!GetTextExtentPoint32A(Handle(), text.c_str(), static_cast<int>(text.size()), &size),
                     "GetTextExtentPoint32A");
    return size;
}

int TCanvas::TextWidth(const std::string& text)
{
    return static_cast<int>(TextExtent(text).cx);
}

int TCanvas::TextHeight(const std::string& text)
{
    return static_cast<int>(TextExtent(text).cy);
}

void TCanvas::TextOut(int x, int y, const std::string& text)
{
    ::TextOutA(Handle(), x, y, text.c_str(), static_cast<int>(text.size()));
}

void TCanvas::FillRect(const RECT& rect)
{
    HDC dc = Handle();
    ::FillRect(dc, &rect, FBrush.Get());
}

void TCanvas::FrameRect(const RECT& rect)
{
    HDC dc = Handle();
    ::FrameRect(dc, &rect, FBrush.Get());
}

void TCanvas::Draw(int x, int y, HICON icon)
{
    ::DrawIconEx(Handle(), x, y, icon, 0, 0, 0, nullptr, DI_NORMAL);
}

void TIcon::SetHandle(HICON icon)
{
    FHandle.Reset(icon);
    if (OnChange)
        OnChange(*this);
}

void TIcon::Assign(const TIcon& Source)
{
    if (&Source == this)
        return;
    HICON copy = nullptr;
    if (Source.Handle()) {
        copy = CopyIcon(Source.Handle());
        ThrowLastErrorIf(!copy, "CopyIcon");
    }
    SetHandle(copy);
}

void TIcon::LoadFromResourceID(HINSTANCE module, int id)
{
    auto* icon = static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    ThrowLastErrorIf(!icon, "LoadImageA");
    SetHandle(icon);
}

namespace {
SIZE IconSize(HICON icon)
{
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info))
        return SIZE{0, 0};
    TBitmapHandle mask(info.hbmMask);
    TBitmapHandle colour(info.hbmColor);
    BITMAP bitmap{};
    GetObjectA(info.hbmMask, sizeof bitmap, &bitmap);
    // A monochrome icon's mask holds the AND and XOR halves one above the other.
    return SIZE{bitmap.bmWidth, colour ? bitmap.bmHeight : bitmap.bmHeight / 2};
}
}  // namespace

int TIcon::Width() const
{
    return static_cast<int>(IconSize(Handle()).cx);
}

int TIcon::Height() const
{
    return static_cast<int>(IconSize(Handle()).cy);
}
