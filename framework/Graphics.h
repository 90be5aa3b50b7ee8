#pragma once

// Colours, fonts that notify their owner, the canvas and icons.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "framework/Handles.h"
#include "framework/Sets.h"

// 0x00BBGGRR, or 0xFF0000nn for system colour nn.
using TColor = std::uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clWindow = 0xFF000005;
constexpr TColor clWindowText = 0xFF000008;
constexpr TColor clBtnFace = 0xFF00000F;
constexpr TColor clHighlight = 0xFF00000D;
constexpr TColor clHighlightText = 0xFF00000E;
constexpr TColor clBtnText = 0xFF000012;
constexpr TColor clGrayText = 0xFF000011;

COLORREF ColorToRGB(TColor color);

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;

enum TFontPitch { fpDefault, fpVariable, fpFixed };

// Screen pixels per inch (vertical), for point sizes.
int ScreenPixelsPerInch();

class TFont {
public:
    TFont();
    TFont(const TFont&) = delete;
    TFont& operator=(const TFont&) = delete;

    const std::string& Name() const { return FName; }
    void SetName(const std::string& Value);
    // Pixels; negative is the character height without internal leading.
    int Height() const { return FHeight; }
    void SetHeight(int Value);
    // Points, from and to Height at the screen's pixels per inch.
    int Size() const;
    void SetSize(int Value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles Value);
    std::uint8_t Charset() const { return FCharset; }
    void SetCharset(std::uint8_t Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch Value);

    // Copies every attribute, with one change notification.
    void Assign(const TFont& Source);
    // Takes face, height, style, character set and pitch from a LOGFONT (the
    // colour stays), with one change notification.
    void AssignLogFont(const LOGFONTA& font);
    LOGFONTA LogFont() const;

    // Called after every change.
    std::function<void(TFont&)> OnChange;

    // Owned; made on demand and remade after a change.
    HFONT Handle();

private:
    void Changed();

    std::string FName;
    int FHeight;
    TFontStyles FStyle;
    std::uint8_t FCharset;
    TColor FColor;
    TFontPitch FPitch = fpDefault;
    TFontHandle FHandle;
    bool FHandleStale = false;
};

// Drawing surface over a device context, with its own font and brush.
// Subclasses supply the DC (a control's canvas takes its window's DC, or the
// paint DC while painting).
class TCanvas {
public:
    TCanvas();
    virtual ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // The DC, with the canvas's font and brush selected.
    HDC Handle();
    bool HandleAllocated() const { return FDC != nullptr; }
    // Uses a DC the caller owns (for example a memory DC); nullptr releases it.
    void SetHandle(HDC dc);

    TFont& Font() { return FFont; }
    TColor BrushColor() const { return FBrushColor; }
    void SetBrushColor(TColor Value);

    int TextWidth(const std::string& text);
    int TextHeight(const std::string& text);
    SIZE TextExtent(const std::string& text);
    void TextOut(int x, int y, const std::string& text);
    void FillRect(const RECT& rect);
    void FrameRect(const RECT& rect);
    void Draw(int x, int y, HICON icon);

protected:
    // Asked for a DC when none is set; the default has none to give.
    virtual void CreateHandle();
    void DeselectAll();

private:
    void SelectFont();
    void SelectBrush();

    HDC FDC = nullptr;
    TFont FFont;
    TColor FBrushColor = 0xFFFFFF;
    TBrushHandle FBrush;
    std::optional<TSelectObject> FFontSelector;
    std::optional<TSelectObject> FBrushSelector;
};

class TIcon {
public:
    TIcon() = default;
    TIcon(const TIcon&) = delete;
    TIcon& operator=(const TIcon&) = delete;

    HICON Handle() const { return FHandle.Get(); }
    bool Empty() const { return !FHandle; }
    // Takes ownership of `icon`.
    void SetHandle(HICON icon);
    // A copy of the other icon's image.
    void Assign(const TIcon& Source);
    // Loads an icon resource of `module` at its default size.
    void LoadFromResourceID(HINSTANCE module, int id);
    int Width() const;
    int Height() const;
    std::function<void(TIcon&)> OnChange;

private:
    TIconHandle FHandle;
};
