#pragma once

// The application object with its message loop, help dispatch and default
// error report, and the screen.

#include <windows.h>

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "framework/Component.h"
#include "framework/Forms.h"
#include "framework/Graphics.h"
#include "framework/Handles.h"

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    // Start of the program: COM for this thread, set up by UseCom when
    // first needed, so a start that shows only the main window loads none
    // of it.
    void Initialize();
    // Call before what needs COM (the shell's dialogs, help, opening a
    // link); does nothing without Initialize or once done.
    void UseCom();
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

    // The program's icon: the icon resource named by SetIconResource, the
    // system's application icon when there is none.
    TIcon& Icon();
    // The program names its icon resource at start, before the icon is used.
    void SetIconResource(int Id) { FIconResource = Id; }

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
    int FIconResource = 0;
    bool FTerminated = false;
    bool FComWanted = false;
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
