#pragma once

// Controls: visual components with a parent, bounds, alignment, font and
// colour. The windowed ones are in WinControls.h.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "framework/Component.h"
#include "framework/Graphics.h"
#include "framework/Sets.h"

class TWinControl;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;

enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem>;
// The modifier keys held now (from GetKeyState).
TShiftState KeyboardShiftState();
// Modifier keys and buttons from a mouse message's wParam.
TShiftState MouseShiftState(WPARAM wParam);

enum TControlStyleItem { csCaptureMouse, csClickEvents, csFramed, csOpaque };
using TControlStyle = TSet<TControlStyleItem>;

using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crArrow = -2;
constexpr TCursor crIBeam = -4;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crHandPoint = -21;

using TKeyEvent = std::function<void(TComponent* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TComponent* Sender, char& Key)>;

class TControl : public TComponent {
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* AParent);
    void SetParentComponent(TComponent* Value) override;

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
    void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
    void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
    void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    virtual int ClientWidth() const { return FWidth; }
    virtual int ClientHeight() const { return FHeight; }
    void SetClientWidth(int Value);
    void SetClientHeight(int Value);
    RECT BoundsRect() const { return RECT{FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign Value);
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors Value) { FAnchors = Value; }
    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool Value);
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    bool ParentBackground() const { return FParentBackground; }
    void SetParentBackground(bool Value);
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value);

    // A change of this font calls FontChanged; setting it clears ParentFont.
    TFont& Font() { return FFont; }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool Value);

    TNotifyEvent OnClick;
    virtual void Click();

    void Invalidate();
    // Invalidates and paints at once.
    void Repaint();
    void Update();

    std::int32_t HelpContext() const { return FHelpContext; }
    void SetHelpContext(std::int32_t Value) { FHelpContext = Value; }
    const std::string& HelpKeyword() const { return FHelpKeyword; }
    void SetHelpKeyword(const std::string& Value) { FHelpKeyword = Value; }
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value) { FCursor = Value; }
    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }

    // The parent's window, or nullptr.
    HWND ParentWindow() const;

protected:
    virtual void FontChanged();
    virtual void ColorChanged();
    virtual void TextChanged();
    virtual void BoundsChanged();
    // The font of the parent changed and this control follows it.
    void ParentFontChanged();
    // Sets the fields only (the window reports its new bounds).
    void UpdateBoundsFields(int ALeft, int ATop, int AWidth, int AHeight);

    TWinControl* FParent = nullptr;
    int FLeft = 0;
    int FTop = 0;
    int FWidth = 0;
    int FHeight = 0;

private:
    friend class TWinControl;
    TAlign FAlign = alNone;
    TAnchors FAnchors{akLeft, akTop};
    bool FVisible = true;
    bool FEnabled = true;
    TColor FColor = clBtnFace;
    bool FParentBackground = false;
    std::string FCaption;
    TFont FFont;
    bool FParentFont = true;
    bool FApplyingParentFont = false;
    std::int32_t FHelpContext = 0;
    std::string FHelpKeyword;
    TCursor FCursor = crDefault;
    TControlStyle FControlStyle;
};
