#include "framework/WinControls.h"

#include <windowsx.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <utility>

#include "framework/Boundary.h"

LRESULT CALLBACK FrameworkWindowProc(HWND window, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    TWinControl* control = nullptr;
    if (Msg == WM_NCCREATE) {
        control = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        if (control) {
            SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
            control->FHandle = window;
        }
    } else {
        control = reinterpret_cast<TWinControl*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    }
    if (!control)
        return DefWindowProcA(window, Msg, wParam, lParam);
    const LRESULT result = CatchAtBoundary(LRESULT{0}, [&] {
        // A copy: a hook may replace WindowProc while the message is handled.
        auto procedure = control->WindowProc;
        return procedure ? procedure(Msg, wParam, lParam) : control->WndProc(Msg, wParam, lParam);
    });
    if (Msg == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        control->FHandle = nullptr;
    }
    return result;
}

std::string FrameworkWindowClass(UINT classStyle, HICON icon)
{
    static std::set<std::pair<UINT, HICON>> registered;
    const std::string name = icon ? Format("QuorvelWindow%X.%p", classStyle, static_cast<void*>(icon))
                                  : Format("QuorvelWindow%X", classStyle);
    if (registered.insert({classStyle, icon}).second) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.style = classStyle;
        wc.lpfnWndProc = FrameworkWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hIcon = icon;
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.lpszClassName = name.c_str();
        if (!RegisterClassExA(&wc)) {
            registered.erase({classStyle, icon});
            RaiseLastOSError("RegisterClassExA");
        }
    }
    return name;
}

std::string FrameworkSystemClass(const std::string& systemClass, WNDPROC& systemProc)
{
    static std::map<std::string, WNDPROC> registered;
    const std::string name = "QuorvelWindow." + systemClass;
    if (const auto found = registered.find(name); found != registered.end()) {
        systemProc = found->second;
        return name;
    }
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    ThrowLastErrorIf(!GetClassInfoExA(nullptr, systemClass.c_str(), &wc), "GetClassInfoExA");
    const WNDPROC native = wc.lpfnWndProc;
    wc.lpfnWndProc = FrameworkWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = name.c_str();
    // The system class may be global; a local class of our own never is.
    wc.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
    ThrowLastErrorIf(!RegisterClassExA(&wc), "RegisterClassExA");
    registered.emplace(name, native);
    systemProc = native;
    return name;
}

TWinControl* FindControl(HWND window)
{
    if (!window || !IsWindow(window))
        return nullptr;
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::string(name).rfind("QuorvelWindow", 0) != 0)
        return nullptr;
    return reinterpret_cast<TWinControl*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner)
{
    WindowProc = [this](UINT Msg, WPARAM wParam, LPARAM lParam) { return WndProc(Msg, wParam, lParam); };
}

TWinControl::~TWinControl()
{
    Destroying();
    DestroyHandle();
    DestroyComponents();
    for (TControl* c : FControls)
        c->FParent = nullptr;
    FControls.clear();
    FTabList.clear();
}

HWND TWinControl::Handle()
{
    if (!FHandle)
        CreateHandle();
    return FHandle;
}

void TWinControl::CreateParams(TCreateParams& Params)
{
    Params.Caption = Caption();
    Params.Style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    if (Visible())
        Params.Style |= WS_VISIBLE;
    if (FTabStop)
        Params.Style |= WS_TABSTOP;
    if (!Enabled())
        Params.Style |= WS_DISABLED;
    Params.X = FLeft;
    Params.Y = FTop;
    Params.Width = FWidth;
    Params.Height = FHeight;
    Params.WndParent = FParent ? FParent->Handle() : nullptr;
}

void TWinControl::CreateHandle()
{
    if (FParent)
        FParent->Handle();
    // Making the parent's window makes its children's windows too.
    if (FHandle)
        return;
    TCreateParams params;
    CreateParams(params);
    if ((params.Style & WS_CHILD) && !params.WndParent)
        throw EInvalidOperation(Format("Control '%s' has no parent window", Name().c_str()));
    WNDPROC systemProc = nullptr;
    const std::string className = params.WinClassName.empty()
                                      ? FrameworkWindowClass(params.WindowClassStyle, params.WindowClassIcon)
                                      : FrameworkSystemClass(params.WinClassName, systemProc);
    // Set before the window exists: the system procedure sees its creation.
    FDefWndProc = systemProc;
    HWND window =
        CreateWindowExA(params.ExStyle, className.c_str(), params.Caption.c_str(), params.Style, params.X, params.Y,
                        params.Width, params.Height, params.WndParent, params.Menu, GetModuleHandleA(nullptr), this);
    ThrowLastErrorIf(!window, "CreateWindowExA");
    HandleCreated();
}

void TWinControl::HandleCreated()
{
    WindowMoved();
    for (TWinControl* child : FTabList)
        child->Handle();
    UpdateTabOrderZ();
    Realign();
}

void TWinControl::DestroyHandle()
{
    if (FHandle)
        DestroyWindow(FHandle);
    FHandle = nullptr;
}

LRESULT TWinControl::DefaultHandler(UINT Msg, WPARAM wParam, LPARAM lParam)
{
    // A reflected notification the control left: the parent's own default.
    if (Msg >= CN_BASE + WM_DRAWITEM && Msg <= CN_BASE + WM_CTLCOLORSTATIC)
        return FParent && FParent->FHandle ? FParent->DefaultHandler(Msg - CN_BASE, wParam, lParam) : 0;
    if (FDefWndProc)
        return CallWindowProcA(FDefWndProc, FHandle, Msg, wParam, lParam);
    return DefWindowProcA(FHandle, Msg, wParam, lParam);
}

LRESULT TWinControl::Perform(UINT Msg, WPARAM wParam, LPARAM lParam)
{
    auto procedure = WindowProc;
    return procedure ? procedure(Msg, wParam, lParam) : WndProc(Msg, wParam, lParam);
}

TWinControl* TWinControl::NotifyingChild(UINT Msg, LPARAM lParam) const
{
    HWND from = nullptr;
    switch (Msg) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: from = reinterpret_cast<HWND>(lParam); break;
    case WM_NOTIFY: from = lParam ? reinterpret_cast<const NMHDR*>(lParam)->hwndFrom : nullptr; break;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item && item->CtlType != ODT_MENU)
            from = item->hwndItem;
        break;
    }
    default: return nullptr;
    }
    TWinControl* child = from && from != FHandle ? FindControl(from) : nullptr;
    return child && child->FParent == this ? child : nullptr;
}

LRESULT TWinControl::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (TWinControl* child = NotifyingChild(Msg, lParam))
        return child->Perform(CN_BASE + Msg, wParam, lParam);
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    switch (Msg) {
    case WM_ERASEBKGND: return EraseBackground(reinterpret_cast<HDC>(wParam)) ? 1 : DefaultHandler(Msg, wParam, lParam);
    case WM_SIZE:
        WindowMoved();
        Realign();
        return 0;
    case WM_MOVE: WindowMoved(); return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: return DoKeyDown(wParam, lParam, Msg);
    case WM_CHAR: {
        char key = static_cast<char>(wParam);
        KeyPress(key);
        return key ? DefaultHandler(Msg, static_cast<WPARAM>(static_cast<unsigned char>(key)), lParam) : 0;
    }
    case WM_SETFOCUS:
        if (FParent)
            FParent->ChildFocused(this);
        return DefaultHandler(Msg, wParam, lParam);
    case WM_LBUTTONDOWN: MouseDown(0, MouseShiftState(wParam), x, y); return 0;
    case WM_RBUTTONDOWN: MouseDown(1, MouseShiftState(wParam), x, y); return 0;
    case WM_LBUTTONUP: MouseUp(0, MouseShiftState(wParam), x, y); return 0;
    case WM_RBUTTONUP: MouseUp(1, MouseShiftState(wParam), x, y); return DefaultHandler(Msg, wParam, lParam);
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && SetCursorShape())
            return TRUE;
        return DefaultHandler(Msg, wParam, lParam);
    default: return DefaultHandler(Msg, wParam, lParam);
    }
}

LRESULT TWinControl::DoKeyDown(WPARAM wParam, LPARAM lParam, UINT Msg)
{
    WORD key = static_cast<WORD>(wParam);
    KeyDown(key, KeyboardShiftState());
    if (key == 0)
        return 0;
    return DefaultHandler(Msg, key, lParam);
}

void TWinControl::KeyDown(WORD& Key, TShiftState Shift)
{
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyPress(char& Key)
{
    if (OnKeyPress)
        OnKeyPress(this, Key);
}

void TWinControl::MouseDown(int button, TShiftState, int, int)
{
    if (button != 0)
        return;
    if (FTabStop && CanFocus() && !Focused())
        SetFocus();
    if (ControlStyle().Contains(csCaptureMouse))
        SetCapture(FHandle);
    FClicking = ControlStyle().Contains(csClickEvents);
}

void TWinControl::MouseUp(int button, TShiftState, int x, int y)
{
    if (button != 0)
        return;
    if (GetCapture() == FHandle)
        ReleaseCapture();
    const bool click = FClicking;
    FClicking = false;
    const RECT client = ClientRect();
    const POINT p{x, y};
    if (click && PtInRect(&client, p))
        Click();
}

bool TWinControl::SetCursorShape()
{
    LPCSTR shape = nullptr;
    switch (Cursor()) {
    case crArrow: shape = reinterpret_cast<LPCSTR>(IDC_ARROW); break;
    case crIBeam: shape = reinterpret_cast<LPCSTR>(IDC_IBEAM); break;
    case crHourGlass: shape = reinterpret_cast<LPCSTR>(IDC_WAIT); break;
    case crHandPoint: shape = reinterpret_cast<LPCSTR>(IDC_HAND); break;
    default: return false;
    }
    ::SetCursor(LoadCursorA(nullptr, shape));
    return true;
}

bool TWinControl::EraseBackground(HDC dc)
{
    if (ControlStyle().Contains(csOpaque))
        return true;
    const TColor color = ParentBackground() && FParent ? FParent->Color() : Color();
    TBrushHandle brush(CreateSolidBrush(ColorToRGB(color)));
    RECT client{};
    GetClientRect(FHandle, &client);
    ::FillRect(dc, &client, brush.Get());
    return true;
}

void TWinControl::WindowMoved()
{
    if (!FHandle)
        return;
    RECT r{};
    GetWindowRect(FHandle, &r);
    HWND parent = (GetWindowLongA(FHandle, GWL_STYLE) & WS_CHILD) ? GetParent(FHandle) : nullptr;
    if (parent)
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    UpdateBoundsFields(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void TWinControl::SetParent(TWinControl* AParent)
{
    if (AParent == FParent)
        return;
    // The window belongs under the old parent; a new one is made on demand.
    DestroyHandle();
    TControl::SetParent(AParent);
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (FHandle) {
        SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
        WindowMoved();
        if (FParent && Align() != alNone)
            FParent->Realign();
    } else {
        TControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    }
}

void TWinControl::SetVisible(bool Value)
{
    TControl::SetVisible(Value);
    if (FHandle)
        ShowWindow(FHandle, Value ? SW_SHOW : SW_HIDE);
}

void TWinControl::SetEnabled(bool Value)
{
    TControl::SetEnabled(Value);
    if (FHandle)
        EnableWindow(FHandle, Value);
}

int TWinControl::ClientWidth() const
{
    return static_cast<int>(ClientRect().right);
}

int TWinControl::ClientHeight() const
{
    return static_cast<int>(ClientRect().bottom);
}

RECT TWinControl::ClientRect() const
{
    RECT r{0, 0, FWidth, FHeight};
    if (FHandle)
        GetClientRect(FHandle, &r);
    return r;
}

void TWinControl::Realign()
{
    if (FAligning || !FHandle)
        return;
    FAligning = true;
    RECT space = ClientRect();
    for (TAlign kind : {alTop, alBottom, alLeft, alRight, alClient}) {
        for (TControl* c : FControls) {
            if (c->Align() != kind || !c->Visible())
                continue;
            const int w = c->Width();
            const int h = c->Height();
            switch (kind) {
            case alTop:
                c->SetBounds(space.left, space.top, space.right - space.left, h);
                space.top += h;
                break;
            case alBottom:
                c->SetBounds(space.left, space.bottom - h, space.right - space.left, h);
                space.bottom -= h;
                break;
            case alLeft:
                c->SetBounds(space.left, space.top, w, space.bottom - space.top);
                space.left += w;
                break;
            case alRight:
                c->SetBounds(space.right - w, space.top, w, space.bottom - space.top);
                space.right -= w;
                break;
            default: c->SetBounds(space.left, space.top, space.right - space.left, space.bottom - space.top); break;
            }
        }
    }
    FAligning = false;
}

void TWinControl::InsertControl(TControl* c)
{
    FControls.push_back(c);
    c->FParent = this;
    if (auto* windowed = dynamic_cast<TWinControl*>(c)) {
        FTabList.push_back(windowed);
        if (FHandle && !windowed->FHandle)
            windowed->Handle();
    }
    c->ParentFontChanged();
    Realign();
}

void TWinControl::RemoveControl(TControl* c)
{
    std::erase(FControls, c);
    std::erase_if(FTabList, [c](TWinControl* w) { return static_cast<TControl*>(w) == c; });
    c->FParent = nullptr;
    Realign();
}

void TWinControl::SetTabStop(bool Value)
{
    if (Value == FTabStop)
        return;
    FTabStop = Value;
    if (FHandle) {
        const LONG style = GetWindowLongA(FHandle, GWL_STYLE);
        SetWindowLongA(FHandle, GWL_STYLE, Value ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
    }
}

int TWinControl::TabOrder() const
{
    if (!FParent)
        return -1;
    const auto& list = FParent->FTabList;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int Value)
{
    if (!FParent)
        return;
    auto& list = FParent->FTabList;
    std::erase(list, this);
    const auto index = static_cast<std::size_t>(std::clamp(Value, 0, static_cast<int>(list.size())));
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(index), this);
    FParent->UpdateTabOrderZ();
}

// The dialog manager walks windows in z order, so the z order follows the
// tab order.
void TWinControl::UpdateTabOrderZ()
{
    HWND previous = HWND_TOP;
    for (TWinControl* c : FTabList) {
        if (!c->FHandle)
            continue;
        SetWindowPos(c->FHandle, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = c->FHandle;
    }
}

bool TWinControl::CanFocus() const
{
    return FHandle && IsWindowVisible(FHandle) && IsWindowEnabled(FHandle);
}

void TWinControl::SetFocus()
{
    if (CanFocus())
        ::SetFocus(FHandle);
    else if (FParent)
        FParent->ChildFocused(this);
}

bool TWinControl::Focused() const
{
    return FHandle && GetFocus() == FHandle;
}

void TWinControl::ChildFocused(TWinControl* Control)
{
    if (FParent)
        FParent->ChildFocused(Control);
}

void TWinControl::TextChanged()
{
    if (FHandle)
        SetWindowTextA(FHandle, Caption().c_str());
}

void TWinControl::ColorChanged()
{
    Invalidate();
}

void TWinControl::FontChanged()
{
    for (TControl* c : FControls)
        c->ParentFontChanged();
    Invalidate();
}

bool TWinControl::DialogKey(WORD)
{
    return false;
}

class TCustomControl::TControlCanvas : public TCanvas {
public:
    explicit TControlCanvas(TCustomControl* control) : FControl(control) {}
    ~TControlCanvas() override { Release(); }
    void Release()
    {
        SetHandle(nullptr);
        FWindowDC.reset();
    }

protected:
    void CreateHandle() override
    {
        FWindowDC.emplace(FControl->Handle());
        SetHandle(FWindowDC->Get());
    }

private:
    TCustomControl* FControl;
    std::optional<TWindowDC> FWindowDC;
};

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner), FCanvas(std::make_unique<TControlCanvas>(this))
{}

TCustomControl::~TCustomControl()
{
    FCanvas->Release();
}

TCanvas& TCustomControl::Canvas()
{
    return *FCanvas;
}

void TCustomControl::Paint()
{
    Canvas().SetBrushColor(Color());
    Canvas().FillRect(ClientRect());
}

void TCustomControl::PaintTo(HDC dc)
{
    FCanvas->Release();
    FCanvas->SetHandle(dc);
    try {
        Paint();
    } catch (...) {
        FCanvas->Release();
        throw;
    }
    FCanvas->Release();
}

LRESULT TCustomControl::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam)
{
    switch (Msg) {
    case WM_PAINT: {
        TPaintDC dc(Handle());
        PaintTo(dc.Get());
        return 0;
    }
    case WM_PRINTCLIENT: PaintTo(reinterpret_cast<HDC>(wParam)); return 0;
    case WM_DESTROY: FCanvas->Release(); return TWinControl::WndProc(Msg, wParam, lParam);
    default: return TWinControl::WndProc(Msg, wParam, lParam);
    }
}
