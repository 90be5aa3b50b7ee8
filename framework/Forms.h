#pragma once

// Forms built from their descriptions. The application object and the
// screen are in Application.h.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/WinControls.h"

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
