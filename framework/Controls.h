#pragma once

// Controls: visual components with a parent, bounds, alignment, font and
// colour; windowed controls with their own window, focus, tab order and key
// dispatch; custom controls that paint on a canvas.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

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

// What a native child control tells its parent window comes back to the
// child's object as CN_BASE + the message; what the child leaves goes to the
// parent's default handling.
constexpr UINT CN_BASE = WM_APP + 0x3C00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;

struct TCreateParams {
    std::string Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
    HWND WndParent = nullptr;
    HMENU Menu = nullptr;
    UINT WindowClassStyle = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    // A system window class (such as "BUTTON") the control is built on; its
    // procedure then handles what the object leaves. Empty: the framework's.
    std::string WinClassName;
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    // The window, made on first use (the parent's first).
    HWND Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }
    void DestroyHandle();

    virtual void CreateParams(TCreateParams& Params);
    // The object's own message handling; what it leaves goes to DefaultHandler.
    virtual LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultHandler(UINT Msg, WPARAM wParam, LPARAM lParam);
    // What the window procedure calls first; a component may put its own
    // procedure in front and chain to the one it replaced.
    std::function<LRESULT(UINT Msg, WPARAM wParam, LPARAM lParam)> WindowProc;
    // Sends a message through WindowProc without the system.
    LRESULT Perform(UINT Msg, WPARAM wParam, LPARAM lParam);

    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int i) const { return FControls.at(static_cast<std::size_t>(i)); }
    void InsertControl(TControl* c);
    void RemoveControl(TControl* c);

    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool Value);
    int TabOrder() const;
    void SetTabOrder(int Value);
    // Windowed children in tab order.
    std::vector<TWinControl*> TabList() const { return FTabList; }
    bool CanFocus() const;
    virtual void SetFocus();
    bool Focused() const;

    // Calls OnKeyDown first; a handler that sets Key to 0 consumes the key.
    virtual void KeyDown(WORD& Key, TShiftState Shift);
    virtual void KeyPress(char& Key);
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;

    int ClientWidth() const override;
    int ClientHeight() const override;
    RECT ClientRect() const;
    void SetParent(TWinControl* AParent) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void SetVisible(bool Value) override;
    void SetEnabled(bool Value) override;
    // Lays out the aligned children in the client area.
    virtual void Realign();

    // A windowed descendant received the focus.
    virtual void ChildFocused(TWinControl* Control);
    // Enter (VK_RETURN) or Escape (VK_ESCAPE) pressed on a modal form: a
    // default or cancel button acts and returns true.
    virtual bool DialogKey(WORD Key);

protected:
    virtual void CreateHandle();
    // After the window was made: creates the children's windows.
    virtual void HandleCreated();
    void TextChanged() override;
    void ColorChanged() override;
    void FontChanged() override;

    virtual bool EraseBackground(HDC dc);
    virtual void MouseDown(int button, TShiftState Shift, int x, int y);
    virtual void MouseUp(int button, TShiftState Shift, int x, int y);
    virtual bool SetCursorShape();

private:
    friend LRESULT CALLBACK FrameworkWindowProc(HWND, UINT, WPARAM, LPARAM);
    void WindowMoved();
    LRESULT DoKeyDown(WPARAM wParam, LPARAM lParam, UINT Msg);
    // The child control a notification of this window is about, or nullptr.
    TWinControl* NotifyingChild(UINT Msg, LPARAM lParam) const;
    void UpdateTabOrderZ();

    HWND FHandle = nullptr;
    WNDPROC FDefWndProc = nullptr;  // the system class's procedure, if built on one
    HFONT FWindowFont = nullptr;
    bool FTabStop = false;
    bool FClicking = false;
    bool FAligning = false;
    std::vector<TControl*> FControls;
    std::vector<TWinControl*> FTabList;
};

// Windowed control with a canvas, painted by Paint.
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;

    // The paint DC while painting, otherwise the window's DC.
    TCanvas& Canvas();
    virtual void Paint();
    // Paints into a DC the caller owns (a memory bitmap, for example).
    void PaintTo(HDC dc);

protected:
    LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

private:
    class TControlCanvas;
    std::unique_ptr<TControlCanvas> FCanvas;
};

// The window class name of the framework's windows for a class style.
std::string FrameworkWindowClass(UINT classStyle);
// The framework's window class built on a system class: the system class's
// styles with the framework's procedure. `systemProc` receives the system
// class's own procedure.
std::string FrameworkSystemClass(const std::string& systemClass, WNDPROC& systemProc);
// The control whose window this is, or nullptr.
TWinControl* FindControl(HWND window);
