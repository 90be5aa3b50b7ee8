#pragma once

// Windowed controls with their own window, focus, tab order and key
// dispatch; custom controls that paint on a canvas; the framework's window
// classes.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Controls.h"
#include "framework/Graphics.h"

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
    // Borrowed; the class's icon, so the window has it from the start.
    HICON WindowClassIcon = nullptr;
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

    // Borrowed, not a TWindowHandle: the system destroys a child window with
    // its parent, and WM_NCDESTROY clears it, so only DestroyHandle may call
    // DestroyWindow, and only while the window still exists.
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
std::string FrameworkWindowClass(UINT classStyle, HICON icon = nullptr);
// The framework's window class built on a system class: the system class's
// styles with the framework's procedure. `systemProc` receives the system
// class's own procedure.
std::string FrameworkSystemClass(const std::string& systemClass, WNDPROC& systemProc);
// The control whose window this is, or nullptr.
TWinControl* FindControl(HWND window);
