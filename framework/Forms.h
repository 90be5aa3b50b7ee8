#pragma once

// Forms built from their descriptions, the application object with its
// message loop, help dispatch and default error report, and the screen.

#include <windows.h>

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "framework/Controls.h"
#include "framework/Graphics.h"

class TMainMenu;

enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poMainFormCenter };
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = IDOK;
constexpr TModalResult mrCancel = IDCANCEL;
constexpr TModalResult mrAbort = IDABORT;
constexpr TModalResult mrRetry = IDRETRY;
constexpr TModalResult mrIgnore = IDIGNORE;
constexpr TModalResult mrYes = IDYES;
constexpr TModalResult mrNo = IDNO;

// Data is pointer-sized: some commands pass a text's address.
using THelpEvent = std::function<bool(std::uint16_t Command, std::intptr_t Data, bool& CallHelp)>;
using TCloseEvent = std::function<void(TComponent* Sender, TCloseAction& Action)>;

class TForm : public TWinControl {
public:
    explicit TForm(TComponent* AOwner);
    ~TForm() override;

    TMainMenu* Menu() const { return FMenu; }
    void SetMenu(TMainMenu* Value);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition Value) { FPosition = Value; }
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle Value);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons Value);
    bool Scaled() const { return FScaled; }
    void SetScaled(bool Value) { FScaled = Value; }
    const std::string& HelpFile() const { return FHelpFile; }
    void SetHelpFile(const std::string& Value) { FHelpFile = Value; }
    TWindowState WindowState() const;
    void SetWindowState(TWindowState Value);
    TWinControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* Value);

    TNotifyEvent OnCreate;
    TCloseEvent OnClose;
    // The form's own help handler; when set it takes the application's
    // help requests while the form is active.
    THelpEvent OnHelp;

    void Show();
    void Hide();
    // Asks OnClose; a modal form ends its loop with mrCancel, the main form
    // ends the program.
    void Close();
    TModalResult ShowModal();
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }
    bool IsModal() const { return FModal; }

    void SetVisible(bool Value) override;
    // Kept and applied again once the window and its menu bar exist.
    void SetClientWidth(int Value);
    void SetClientHeight(int Value);
    int ClientWidth() const override;
    int ClientHeight() const override;
    void CreateParams(TCreateParams& Params) override;
    LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Destroys the form once the message that asked for it is handled.
    void Release();
    void ChildFocused(TWinControl* Control) override;
    void Loaded() override;

protected:
    // Reads the RCDATA description named `resourceName` from the program's
    // module into this form, then runs OnCreate. Derived constructors call it
    // last, once their fields and handlers are published.
    void ReadDescription(const std::string& resourceName);
    void HandleCreated() override;

private:
    void FocusFirstControl();
    bool HelpFromMessage(const HELPINFO& info);
    bool ForwardDialogKey(TWinControl* parent, WORD key);
    RECT NonClientSize() const;
    void ApplyClientSize();

    TMainMenu* FMenu = nullptr;
    TPosition FPosition = poDesigned;
    TFormBorderStyle FBorderStyle = bsSizeable;
    TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
    bool FScaled = true;
    std::string FHelpFile;
    TWindowState FWindowState = wsNormal;
    TWinControl* FActiveControl = nullptr;
    TModalResult FModalResult = mrNone;
    bool FModal = false;
    int FWantedClientWidth = -1;
    int FWantedClientHeight = -1;
};

// The form a control lies on, or nullptr.
TForm* GetParentForm(TControl* Control);

// Disables the visible, enabled top-level windows of the calling thread but
// `keep` for as long as it lives, so they take no input while a modal window
// runs; Restore (or the destructor) enables those still there again.
class TDisabledThreadWindows {
public:
    explicit TDisabledThreadWindows(HWND keep = nullptr);
    ~TDisabledThreadWindows() { Restore(); }
    TDisabledThreadWindows(const TDisabledThreadWindows&) = delete;
    TDisabledThreadWindows& operator=(const TDisabledThreadWindows&) = delete;
    void Restore() noexcept;

private:
    std::vector<HWND> FWindows;
};

// Registers the class tables, enumerations and constants of the framework's
// components; programs call it (or a registration that calls it) before a
// form reads its description. Idempotent.
void RegisterFrameworkClasses();
// The help context of a control or its nearest parent that has one.
std::int32_t FindHelpContext(TControl* Control);

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    // Start of the program: COM for this thread.
    void Initialize();
    // Creates a form owned by the application; the first becomes the main
    // form. While the main form is being made, an error reported again with
    // the same text is not shown twice: its components may meet one cause
    // (an unusable configuration, say) more than once.
    template <class T>
    T* CreateForm()
    {
        if (FMainForm || FCreatingMainForm)
            return new T(this);
        FCreatingMainForm = true;
        T* form = nullptr;
        try {
            form = new T(this);
        } catch (...) {
            EndMainFormCreation();
            throw;
        }
        EndMainFormCreation();
        if (!FMainForm)
            FMainForm = form;
        return form;
    }

    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& Value);
    const std::string& HelpFile() const { return FHelpFile; }
    void SetHelpFile(const std::string& Value) { FHelpFile = Value; }

    THelpEvent OnHelp;
    // Each sets CallHelp, asks the active form's OnHelp if it has one, else
    // OnHelp, and shows WinHelp only when CallHelp stays set and the handler
    // returned false.
    bool HelpCommand(std::uint16_t Command, std::intptr_t Data);
    bool HelpContext(std::int32_t Context);
    bool HelpKeyword(const std::string& Keyword);

    // The hidden application window, owner of message boxes.
    HWND Handle();
    TForm* MainForm() const { return FMainForm; }
    void SetMainForm(TForm* Value) { FMainForm = Value; }
    // Full path of the program.
    std::string ExeName() const;
    HINSTANCE Instance() const;

    // Replaces the default error report when set.
    std::function<void(TComponent* Sender, const std::exception& E)> OnException;
    // The default error report: a message box titled with Title, error icon
    // and OK, owned by the active window (the application window when none
    // is), while every other window of the program takes no input; the
    // active window and the focus are given back afterwards. Nothing is
    // shown once the session is ending.
    void ShowException(const std::exception& E);
    // Inside a catch: hands the current exception to the error report.
    void HandleException();
    void HandleException(std::exception_ptr Error);

    TIcon& Icon();

    // Shows the main form and runs the message loop until it closes; then
    // destroys the forms and ends COM.
    void Run();
    // Handles one waiting message; false when there was none.
    bool ProcessMessage();
    // Handles every waiting message.
    void ProcessMessages();
    void Terminate();
    bool Terminated() const { return FTerminated; }
    // The session ends (WM_ENDSESSION): the main form's OnClose runs and
    // cannot keep it open, the forms go at once (unless a modal loop still
    // runs, which is ended first) and the loop ends. No error box is shown
    // from then on: no one is there to answer it.
    void EndSession();

    // F1 on a control: a context request for the control's or its nearest
    // parent's help context, else a keyword request; false when it has
    // neither.
    bool ControlHelp(TControl* Control);

    // The message loop's handling of one message: F1, menu shortcuts, dialog
    // keys of a modal form, then translation and dispatch.
    void Dispatch(MSG& msg);

private:
    friend class TForm;
    bool IsHelpKey(const MSG& msg);
    bool IsAcceleratorKey(MSG& msg);
    bool IsDialogKey(MSG& msg);
    void EndMainFormCreation();

    std::string FTitle;
    std::string FHelpFile;
    TForm* FMainForm = nullptr;
    TWindowHandle FHandle;
    TIcon FIcon;
    bool FIconLoaded = false;
    bool FTerminated = false;
    bool FComInitialized = false;
    bool FSessionEnding = false;
    bool FCreatingMainForm = false;
    // Texts reported while the main form was being made.
    std::vector<std::string> FStartReports;
    std::vector<TForm*> FModalForms;
    ULONGLONG FLastControlHelp = 0;
};

extern TApplication* Application;

class TScreen {
public:
    TForm* ActiveForm() const { return FActiveForm; }
    TForm* ActiveCustomForm() const { return FActiveForm; }
    int FormCount() const { return static_cast<int>(FForms.size()); }
    TForm* Forms(int i) const { return FForms.at(static_cast<std::size_t>(i)); }
    int PixelsPerInch() const { return ScreenPixelsPerInch(); }
    int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
    int Height() const { return GetSystemMetrics(SM_CYSCREEN); }

private:
    friend class TForm;
    TForm* FActiveForm = nullptr;
    std::vector<TForm*> FForms;
};

extern TScreen* Screen;
