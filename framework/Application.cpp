#include "framework/Application.h"

#include <objbase.h>

#include <algorithm>
#include <vector>

#include "framework/Boundary.h"
#include "framework/LibraryProc.h"
#include "framework/Menus.h"

namespace {

TLibraryProc<decltype(&::CoInitialize)> BoundCoInitialize("ole32.dll", "CoInitialize");
TLibraryProc<decltype(&::CoUninitialize)> BoundCoUninitialize("ole32.dll", "CoUninitialize");

}  // namespace

// The screen first: the application's forms still look at it while they go.
static TScreen TheScreen;
static TApplication TheApplication;
TScreen* Screen = &TheScreen;
TApplication* Application = &TheApplication;

namespace {

void ReportToApplication(std::exception_ptr Error)
{
    if (Application)
        Application->HandleException(Error);
}

}  // namespace

TApplication::TApplication() : TComponent(nullptr)
{
    SetBoundaryErrorReport(ReportToApplication);
}

TApplication::~TApplication()
{
    SetBoundaryErrorReport(nullptr);
    Destroying();
    DestroyComponents();
    FHandle.Reset();
    if (FComInitialized)
        BoundCoUninitialize();
}

void TApplication::Initialize()
{
    FComWanted = true;
}

void TApplication::UseCom()
{
    if (FComWanted && !FComInitialized && !FTerminated)
        FComInitialized = SUCCEEDED(BoundCoInitialize(nullptr));
}

void TApplication::SetTitle(const std::string& Value)
{
    FTitle = Value;
    if (FHandle)
        SetWindowTextA(FHandle.Get(), FTitle.c_str());
}

HWND TApplication::Handle()
{
    if (!FHandle) {
        const std::string className = FrameworkWindowClass(0);
        HWND window = CreateWindowExA(0, className.c_str(), FTitle.c_str(),
                                      WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0,
                                      nullptr, nullptr, Instance(), nullptr);
        ThrowLastErrorIf(!window, "CreateWindowExA");
        FHandle.Reset(window);
    }
    return FHandle.Get();
}

HINSTANCE TApplication::Instance() const
{
    return GetModuleHandleA(nullptr);
}

std::string TApplication::ExeName() const
{
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        ThrowLastErrorIf(length == 0, "GetModuleFileNameA");
        if (length < buffer.size())
            return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

TIcon& TApplication::Icon()
{
    if (!FIconLoaded) {
        FIconLoaded = true;
        if (FIconResource != 0 && FindResourceA(Instance(), MAKEINTRESOURCEA(FIconResource), MAKEINTRESOURCEA(14)))
            FIcon.LoadFromResourceID(Instance(), FIconResource);
        else
            FIcon.SetHandle(CopyIcon(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION))));
    }
    return FIcon;
}

void TApplication::ShowException(const std::exception& E)
{
    const auto* own = dynamic_cast<const Exception*>(&E);
    const std::string text = ErrorReportText(own ? own->Message() : std::string(E.what()));
    if (FCreatingMainForm) {
        if (std::find(FStartReports.begin(), FStartReports.end(), text) != FStartReports.end())
            return;
        FStartReports.push_back(text);
    }
    if (OnException) {
        OnException(this, E);
        return;
    }
    if (FSessionEnding)
        return;
    // Owned by the active window, which the box disables while it runs; the
    // program's other windows are disabled here, so none takes input either.
    const HWND active = GetActiveWindow();
    const HWND focus = GetFocus();
    const HWND owner = active && IsWindowVisible(active) ? active : Handle();
    TDisabledThreadWindows others(owner);
    MessageBoxA(owner, text.c_str(), FTitle.c_str(), MB_ICONERROR | MB_OK);
    others.Restore();
    if (active && IsWindow(active) && IsWindowEnabled(active) && GetActiveWindow() != active)
        SetActiveWindow(active);
    if (focus && IsWindow(focus) && IsWindowEnabled(focus) && GetFocus() != focus)
        SetFocus(focus);
}

void TApplication::HandleException()
{
    HandleException(std::current_exception());
}

void TApplication::HandleException(std::exception_ptr Error)
{
    if (!Error)
        return;
    // Called at window-procedure boundaries: nothing may leave this.
    try {
        try {
            std::rethrow_exception(Error);
        } catch (const std::exception& e) {
            ShowException(e);
        } catch (...) {
            ShowException(Exception("Unknown exception"));
        }
    } catch (...) {}
}

void TApplication::EndMainFormCreation()
{
    FCreatingMainForm = false;
    FStartReports.clear();
}

bool TApplication::HelpCommand(std::uint16_t Command, std::intptr_t Data)
{
    // Closing help needs nothing that showing it did not set up before.
    if (Command != HELP_QUIT)
        UseCom();
    bool callHelp = true;
    bool result = false;
    TForm* form = Screen->ActiveForm();
    if (form && form->OnHelp)
        result = form->OnHelp(Command, Data, callHelp);
    else if (OnHelp)
        result = OnHelp(Command, Data, callHelp);
    if (callHelp && !result) {
        std::string file = form && !form->HelpFile().empty() ? form->HelpFile() : FHelpFile;
        if (!file.empty()) {
            HWND owner = form && form->HandleAllocated() ? form->Handle() : Handle();
            result = WinHelpA(owner, file.c_str(), Command, static_cast<ULONG_PTR>(Data)) != FALSE;
        }
    }
    return result;
}

bool TApplication::HelpContext(std::int32_t Context)
{
    return HelpCommand(HELP_CONTEXT, Context);
}

bool TApplication::HelpKeyword(const std::string& Keyword)
{
    return HelpCommand(HELP_COMMAND, reinterpret_cast<std::intptr_t>(Keyword.c_str()));
}

bool TApplication::ControlHelp(TControl* Control)
{
    // A key pressed on the keyboard reaches here twice: the system turns it
    // into WM_HELP, and the loop sees the key itself (the only way for keys
    // posted by other programs). The second is the same press.
    const ULONGLONG now = GetTickCount64();
    if (now - FLastControlHelp < 250)
        return true;
    const std::int32_t context = FindHelpContext(Control);
    TControl* keywordOwner = Control;
    while (!context && keywordOwner && keywordOwner->HelpKeyword().empty())
        keywordOwner = keywordOwner->Parent();
    if (!context && !keywordOwner)
        return false;
    // Noted first: a request that fails has still answered this press.
    FLastControlHelp = now;
    if (context)
        HelpContext(context);
    else
        HelpKeyword(keywordOwner->HelpKeyword());
    return true;
}

bool TApplication::IsHelpKey(const MSG& msg)
{
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_F1 || !KeyboardShiftState().Empty())
        return false;
    TControl* control = FindControl(GetFocus());
    if (!control)
        control = FindControl(msg.hwnd);
    return control && ControlHelp(control);
}

bool TApplication::IsAcceleratorKey(MSG& msg)
{
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN)
        return false;
    TForm* form = GetParentForm(FindControl(GetAncestor(msg.hwnd, GA_ROOT)));
    if (!form || !form->Menu() || !form->HandleAllocated())
        return false;
    HACCEL table = form->Menu()->Accelerators();
    return table && TranslateAcceleratorA(form->Handle(), table, &msg);
}

bool TApplication::IsDialogKey(MSG& msg)
{
    if (FModalForms.empty())
        return false;
    TForm* modal = FModalForms.back();
    return modal->HandleAllocated() && IsDialogMessageA(modal->Handle(), &msg);
}

void TApplication::Dispatch(MSG& msg)
{
    if (IsHelpKey(msg) || IsAcceleratorKey(msg) || IsDialogKey(msg))
        return;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

bool TApplication::ProcessMessage()
{
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (msg.message == WM_QUIT)
        FTerminated = true;
    else
        CatchAtBoundary([&] { Dispatch(msg); });
    return true;
}

void TApplication::ProcessMessages()
{
    while (ProcessMessage()) {}
}

void TApplication::Terminate()
{
    PostQuitMessage(0);
}

void TApplication::EndSession()
{
    FSessionEnding = true;
    if (TForm* main = FMainForm) {
        TCloseAction action = caFree;
        if (main->OnClose)
            CatchAtBoundary([&] { main->OnClose(main, action); });
    }
    Terminate();
    // A modal loop still running holds its form: it ends first, and the
    // forms go when the main loop ends.
    if (!FModalForms.empty()) {
        for (TForm* modal : FModalForms)
            modal->SetModalResult(mrCancel);
        return;
    }
    DestroyComponents();
}

void TApplication::Run()
{
    if (FMainForm)
        CatchAtBoundary([&] { FMainForm->Show(); });
    while (!FTerminated) {
        MSG msg;
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1)
            break;
        CatchAtBoundary([&] { Dispatch(msg); });
    }
    FTerminated = true;
    DestroyComponents();
    if (FComInitialized) {
        BoundCoUninitialize();
        FComInitialized = false;
    }
}
