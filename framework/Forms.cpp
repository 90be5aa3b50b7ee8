#include "framework/Forms.h"

#include <algorithm>

#include "framework/Application.h"
#include "framework/Boundary.h"
#include "framework/FormReader.h"
#include "framework/Menus.h"

namespace {
// Posted to a form that asked to be destroyed once its message is handled.
constexpr UINT FM_RELEASE = WM_APP + 0x3F00;

struct TEnabledWindows {
    HWND Keep;
    std::vector<HWND>* Windows;
};

BOOL CALLBACK CollectEnabledWindow(HWND window, LPARAM state)
{
    return CatchAtBoundary(FALSE, [&] {
        const auto& s = *reinterpret_cast<const TEnabledWindows*>(state);
        if (window != s.Keep && IsWindowVisible(window) && IsWindowEnabled(window))
            s.Windows->push_back(window);
        return TRUE;
    });
}
}  // namespace

TDisabledThreadWindows::TDisabledThreadWindows(HWND keep)
{
    TEnabledWindows state{keep, &FWindows};
    EnumThreadWindows(GetCurrentThreadId(), CollectEnabledWindow, reinterpret_cast<LPARAM>(&state));
    for (HWND window : FWindows)
        EnableWindow(window, FALSE);
}

void TDisabledThreadWindows::Restore() noexcept
{
    for (HWND window : FWindows)
        if (IsWindow(window))
            EnableWindow(window, TRUE);
    FWindows.clear();
}

TForm* GetParentForm(TControl* Control)
{
    while (Control && Control->Parent())
        Control = Control->Parent();
    return dynamic_cast<TForm*>(Control);
}

std::int32_t FindHelpContext(TControl* Control)
{
    for (; Control; Control = Control->Parent())
        if (Control->HelpContext() != 0)
            return Control->HelpContext();
    return 0;
}

TForm::TForm(TComponent* AOwner) : TWinControl(AOwner)
{
    TControl::SetVisible(false);
    UpdateBoundsFields(0, 0, 320, 240);
    Screen->FForms.push_back(this);
}

TForm::~TForm()
{
    std::erase(Screen->FForms, this);
    if (Screen->FActiveForm == this)
        Screen->FActiveForm = nullptr;
    if (Application && Application->MainForm() == this)
        Application->SetMainForm(nullptr);
    // The window goes while the form and its components are whole, so the
    // components see WM_DESTROY through their hooks.
    Destroying();
    DestroyHandle();
    DestroyComponents();
}

void TForm::ReadDescription(const std::string& resourceName)
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceA(module, resourceName.c_str(), MAKEINTRESOURCEA(10));
    if (!resource)
        throw EReadError(Format("Resource %s not found", resourceName.c_str()));
    HGLOBAL data = LoadResource(module, resource);
    const void* bytes = data ? LockResource(data) : nullptr;
    ThrowLastErrorIf(!bytes, "LoadResource");
    const std::string text(static_cast<const char*>(bytes), SizeofResource(module, resource));
    ReadComponentDescription(this, text);
    if (OnCreate)
        OnCreate(this);
}

void TForm::Loaded()
{
    TWinControl::Loaded();
    if (FMenu && HandleAllocated())
        FMenu->SetWindow(Handle());
    ApplyClientSize();
}

void TForm::SetClientWidth(int Value)
{
    FWantedClientWidth = Value;
    ApplyClientSize();
}

void TForm::SetClientHeight(int Value)
{
    FWantedClientHeight = Value;
    ApplyClientSize();
}

void TForm::ApplyClientSize()
{
    if (FWantedClientWidth < 0 && FWantedClientHeight < 0)
        return;
    int width = Width();
    int height = Height();
    if (FWantedClientWidth >= 0)
        width = FWantedClientWidth + (Width() - ClientWidth());
    if (FWantedClientHeight >= 0)
        height = FWantedClientHeight + (Height() - ClientHeight());
    SetBounds(Left(), Top(), width, height);
}

void TForm::SetMenu(TMainMenu* Value)
{
    if (Value == FMenu)
        return;
    if (FMenu) {
        FMenu->SetWindow(nullptr);
        FMenu->RemoveFreeNotification(this);
    }
    FMenu = Value;
    if (FMenu) {
        FMenu->FreeNotification(this);
        // A form being read attaches its menu once, when it is loaded.
        if (HandleAllocated() && !IsLoading())
            FMenu->SetWindow(Handle());
    }
}

void TForm::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FMenu)
        FMenu = nullptr;
    if (AComponent == FActiveControl)
        FActiveControl = nullptr;
}

void TForm::SetBorderStyle(TFormBorderStyle Value)
{
    FBorderStyle = Value;
    if (Value == bsDialog)
        FBorderIcons.Exclude(biMinimize).Exclude(biMaximize);
}

void TForm::SetBorderIcons(TBorderIcons Value)
{
    FBorderIcons = Value;
}

void TForm::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_CAPTION;
    switch (FBorderStyle) {
    case bsNone: Params.Style = WS_POPUP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS; break;
    case bsSizeable:
    case bsSizeToolWin: Params.Style |= WS_THICKFRAME; break;
    case bsDialog:
        Params.Style |= WS_POPUP;
        Params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
        break;
    default: break;
    }
    if (FBorderStyle == bsToolWindow || FBorderStyle == bsSizeToolWin)
        Params.ExStyle |= WS_EX_TOOLWINDOW;
    if (FBorderStyle != bsNone && FBorderIcons.Contains(biSystemMenu)) {
        Params.Style |= WS_SYSMENU;
        if (FBorderStyle != bsDialog && FBorderStyle != bsToolWindow && FBorderStyle != bsSizeToolWin) {
            if (FBorderIcons.Contains(biMinimize))
                Params.Style |= WS_MINIMIZEBOX;
            if (FBorderIcons.Contains(biMaximize))
                Params.Style |= WS_MAXIMIZEBOX;
        }
        if (FBorderIcons.Contains(biHelp) && !(Params.Style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)))
            Params.ExStyle |= WS_EX_CONTEXTHELP;
    }
    if (!Enabled())
        Params.Style |= WS_DISABLED;
    // The main form has no owner, so it has the taskbar button; other forms
    // stay above the form that was active when they were made.
    Params.WndParent = nullptr;
    if (Application->MainForm() && Application->MainForm() != this && Application->MainForm()->HandleAllocated())
        Params.WndParent = Application->MainForm()->Handle();
    if (Screen->ActiveForm() && Screen->ActiveForm() != this && Screen->ActiveForm()->HandleAllocated())
        Params.WndParent = Screen->ActiveForm()->Handle();
    switch (FPosition) {
    case poDefault:
        Params.X = Params.Y = CW_USEDEFAULT;
        Params.Width = Params.Height = CW_USEDEFAULT;
        break;
    case poDefaultPosOnly: Params.X = Params.Y = CW_USEDEFAULT; break;
    case poDefaultSizeOnly: Params.Width = Params.Height = CW_USEDEFAULT; break;
    case poScreenCenter:
    case poMainFormCenter: {
        RECT area{};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
        TForm* main = Application->MainForm();
        if (FPosition == poMainFormCenter && main && main != this && main->HandleAllocated())
            GetWindowRect(main->Handle(), &area);
        Params.X = area.left + (area.right - area.left - FWidth) / 2;
        Params.Y = area.top + (area.bottom - area.top - FHeight) / 2;
        break;
    }
    default: break;
    }
    // Made with its menu, so the frame is laid out once, and with the
    // application's icon in its class: setting it afterwards costs a redraw.
    if (FMenu)
        Params.Menu = FMenu->Handle();
    Params.WindowClassIcon = Application->Icon().Handle();
    // CW_USEDEFAULT only works for overlapped windows.
    if ((Params.Style & WS_POPUP) && Params.X == static_cast<int>(CW_USEDEFAULT))
        Params.X = Params.Y = 0;
}

void TForm::HandleCreated()
{
    TWinControl::HandleCreated();
    if (FMenu)
        FMenu->SetWindow(Handle());
    ApplyClientSize();
    Realign();
}

RECT TForm::NonClientSize() const
{
    RECT r{0, 0, 0, 0};
    TCreateParams params;
    const_cast<TForm*>(this)->CreateParams(params);
    AdjustWindowRectEx(&r, params.Style, FMenu != nullptr, params.ExStyle);
    return r;
}

int TForm::ClientWidth() const
{
    if (HandleAllocated())
        return TWinControl::ClientWidth();
    const RECT r = NonClientSize();
    return Width() - (r.right - r.left);
}

int TForm::ClientHeight() const
{
    if (HandleAllocated())
        return TWinControl::ClientHeight();
    const RECT r = NonClientSize();
    return Height() - (r.bottom - r.top);
}

TWindowState TForm::WindowState() const
{
    if (HandleAllocated() && IsWindowVisible(const_cast<TForm*>(this)->Handle())) {
        HWND h = const_cast<TForm*>(this)->Handle();
        return IsZoomed(h) ? wsMaximized : IsIconic(h) ? wsMinimized : wsNormal;
    }
    return FWindowState;
}

void TForm::SetWindowState(TWindowState Value)
{
    FWindowState = Value;
    if (HandleAllocated() && IsWindowVisible(Handle()))
        ShowWindow(Handle(), Value == wsMaximized ? SW_MAXIMIZE : Value == wsMinimized ? SW_MINIMIZE : SW_RESTORE);
}

void TForm::SetVisible(bool Value)
{
    TControl::SetVisible(Value);
    if (IsLoading() && Value)
        return;
    if (Value) {
        HWND h = Handle();
        ShowWindow(h, FWindowState == wsMaximized   ? SW_SHOWMAXIMIZED
                      : FWindowState == wsMinimized ? SW_SHOWMINIMIZED
                                                    : SW_SHOWNORMAL);
        SetForegroundWindow(h);
    } else if (HandleAllocated()) {
        FWindowState = WindowState();
        ShowWindow(Handle(), SW_HIDE);
    }
}

void TForm::Show()
{
    SetVisible(true);
    BringWindowToTop(Handle());
}

void TForm::Hide()
{
    SetVisible(false);
}

void TForm::Close()
{
    if (FModal) {
        FModalResult = mrCancel;
        return;
    }
    TCloseAction action = caHide;
    if (OnClose)
        OnClose(this, action);
    if (action == caNone)
        return;
    if (Application->MainForm() == this)
        Application->Terminate();
    else if (action == caHide)
        Hide();
    else if (action == caMinimize)
        SetWindowState(wsMinimized);
    else
        Release();
}

void TForm::Release()
{
    PostMessageA(Handle(), FM_RELEASE, 0, 0);
}

TModalResult TForm::ShowModal()
{
    if (Visible() || FModal)
        throw EInvalidOperation("Cannot make a visible window modal");
    HWND previous = GetActiveWindow();
    // Every other window of the thread stays disabled while this one runs.
    TDisabledThreadWindows disabled;
    FModal = true;
    FModalResult = mrNone;
    Application->FModalForms.push_back(this);
    auto finish = [&] {
        std::erase(Application->FModalForms, this);
        // Enabled before this one hides, so the activation can go back.
        disabled.Restore();
        if (HandleAllocated())
            Hide();
        FModal = false;
        if (previous && IsWindow(previous))
            SetActiveWindow(previous);
    };
    try {
        Show();
        for (;;) {
            MSG msg;
            const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
            if (got == 0) {
                // Leave the quit request to the outer loop.
                PostQuitMessage(static_cast<int>(msg.wParam));
                FModalResult = mrCancel;
                break;
            }
            if (got == -1)
                RaiseLastOSError("GetMessageA");
            // An error of one message is reported; the loop goes on, and a
            // close whose OnClose failed is abandoned.
            const bool done = CatchAtBoundary(false, [&] {
                Application->Dispatch(msg);
                if (FModalResult == mrNone)
                    return false;
                TCloseAction action = caHide;
                if (OnClose)
                    OnClose(this, action);
                return action != caNone;
            });
            if (done)
                break;
            FModalResult = mrNone;
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
    return FModalResult;
}

void TForm::SetActiveControl(TWinControl* Value)
{
    FActiveControl = Value;
    if (Value && HandleAllocated() && IsWindowVisible(Handle()) && Value->CanFocus())
        ::SetFocus(Value->Handle());
}

void TForm::ChildFocused(TWinControl* Control)
{
    FActiveControl = Control;
}

void TForm::FocusFirstControl()
{
    if (FActiveControl && FActiveControl->CanFocus()) {
        ::SetFocus(FActiveControl->Handle());
        return;
    }
    std::vector<TWinControl*> pending = TabList();
    while (!pending.empty()) {
        TWinControl* c = pending.front();
        pending.erase(pending.begin());
        if (c->TabStop() && c->CanFocus()) {
            ::SetFocus(c->Handle());
            return;
        }
        const auto children = c->TabList();
        pending.insert(pending.begin(), children.begin(), children.end());
    }
}

bool TForm::HelpFromMessage(const HELPINFO& info)
{
    if (info.iContextType == HELPINFO_MENUITEM) {
        TMenuItem* item = FMenu ? FMenu->FindItem(static_cast<WORD>(info.iCtrlId)) : nullptr;
        if (!item || item->HelpContext() == 0)
            return false;
        Application->HelpContext(item->HelpContext());
        return true;
    }
    TControl* control = FindControl(static_cast<HWND>(info.hItemHandle));
    return Application->ControlHelp(control ? control : this);
}

bool TForm::ForwardDialogKey(TWinControl* parent, WORD key)
{
    for (TWinControl* c : parent->TabList()) {
        if (c->Visible() && c->Enabled() && c->DialogKey(key))
            return true;
        if (ForwardDialogKey(c, key))
            return true;
    }
    return false;
}

LRESULT TForm::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam)
{
    switch (Msg) {
    case WM_CLOSE: Close(); return 0;
    case WM_ENDSESSION:
        // The main form may be gone when this returns.
        if (wParam && Application->MainForm() == this) {
            Application->EndSession();
            return 0;
        }
        return TWinControl::WndProc(Msg, wParam, lParam);
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE)
            Screen->FActiveForm = this;
        return DefaultHandler(Msg, wParam, lParam);
    case WM_SETFOCUS: FocusFirstControl(); return 0;
    case WM_COMMAND:
        if (lParam == 0 && HIWORD(wParam) <= 1 && FMenu && FMenu->DispatchCommand(LOWORD(wParam)))
            return 0;
        // Enter and Escape on a modal form, from the dialog manager.
        if (lParam == 0 && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
            ForwardDialogKey(this, LOWORD(wParam) == IDOK ? VK_RETURN : VK_ESCAPE);
            return 0;
        }
        return TWinControl::WndProc(Msg, wParam, lParam);
    case WM_HELP: return HelpFromMessage(*reinterpret_cast<const HELPINFO*>(lParam)) ? TRUE : FALSE;
    case WM_DESTROY:
        if (FMenu)
            FMenu->SetWindow(nullptr);
        return TWinControl::WndProc(Msg, wParam, lParam);
    case FM_RELEASE: delete this; return 0;
    default: return TWinControl::WndProc(Msg, wParam, lParam);
    }
}
