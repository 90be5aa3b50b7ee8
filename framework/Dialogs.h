#pragma once

// The common dialogs: open file and font (with an Apply button that reports
// while the dialog stays open).

#include <windows.h>

#include <functional>
#include <string>

#include "framework/Component.h"
#include "framework/Graphics.h"
#include "framework/Sets.h"

enum TOpenOption { ofReadOnly, ofHideReadOnly, ofPathMustExist, ofFileMustExist, ofEnableSizing, ofAllowMultiSelect };
using TOpenOptions = TSet<TOpenOption>;

class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* AOwner);

    // "Name|pattern|Name|pattern".
    const std::string& Filter() const { return FFilter; }
    void SetFilter(const std::string& Value) { FFilter = Value; }
    TOpenOptions Options() const { return FOptions; }
    void SetOptions(TOpenOptions Value) { FOptions = Value; }
    // The chosen name; kept between uses and offered again.
    const std::string& FileName() const { return FFileName; }
    void SetFileName(const std::string& Value) { FFileName = Value; }
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& Value) { FTitle = Value; }
    const std::string& InitialDir() const { return FInitialDir; }
    void SetInitialDir(const std::string& Value) { FInitialDir = Value; }
    const std::string& DefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const std::string& Value) { FDefaultExt = Value; }

    // Modal; true when the user confirmed a name.
    bool Execute();

    // The OPENFILENAME flags of Options.
    DWORD Flags() const;

private:
    std::string FFilter;
    TOpenOptions FOptions{ofHideReadOnly, ofEnableSizing};
    std::string FFileName;
    std::string FTitle;
    std::string FInitialDir;
    std::string FDefaultExt;
};

enum TFontDialogOption { fdAnsiOnly, fdEffects, fdFixedPitchOnly, fdForceFontExist, fdLimitSize, fdApplyButton };
using TFontDialogOptions = TSet<TFontDialogOption>;

class TFontDialog : public TComponent {
public:
    explicit TFontDialog(TComponent* AOwner);

    // The dialog starts from this font and leaves the choice in it.
    TFont& Font() { return FFont; }
    int MinFontSize() const { return FMinFontSize; }
    void SetMinFontSize(int Value) { FMinFontSize = Value; }
    int MaxFontSize() const { return FMaxFontSize; }
    void SetMaxFontSize(int Value) { FMaxFontSize = Value; }
    TFontDialogOptions Options() const { return FOptions; }
    void SetOptions(TFontDialogOptions Value) { FOptions = Value; }

    // The Apply button: Font holds the dialog's current choice.
    std::function<void(TComponent* Sender, HWND Wnd)> OnApply;

    // Modal; true when the user confirmed with OK.
    bool Execute();

    // The CHOOSEFONT flags of Options.
    DWORD Flags() const;

private:
    static UINT_PTR CALLBACK HookProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
    void Apply(HWND dialog);

    TFont FFont;
    int FMinFontSize = 0;
    int FMaxFontSize = 0;
    TFontDialogOptions FOptions{fdEffects};
};

// The window that owns a modal dialog now: the active form's, else the
// application's.
HWND DialogOwnerWindow();
