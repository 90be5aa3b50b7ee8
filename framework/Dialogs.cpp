#include "framework/Dialogs.h"

#include <cderr.h>
#include <commdlg.h>
#include <dlgs.h>

#include <vector>

#include "framework/Application.h"
#include "framework/Boundary.h"
#include "framework/Forms.h"
#include "framework/LibraryProc.h"

namespace {

TLibraryProc<decltype(&::GetOpenFileNameA)> BoundGetOpenFileName("comdlg32.dll", "GetOpenFileNameA");
TLibraryProc<decltype(&::ChooseFontA)> BoundChooseFont("comdlg32.dll", "ChooseFontA");
TLibraryProc<decltype(&::CommDlgExtendedError)> BoundCommDlgExtendedError("comdlg32.dll", "CommDlgExtendedError");

}  // namespace

HWND DialogOwnerWindow()
{
    TForm* form = Screen->ActiveForm();
    if (form && form->HandleAllocated() && IsWindowVisible(form->Handle()))
        return form->Handle();
    return Application->Handle();
}

TOpenDialog::TOpenDialog(TComponent* AOwner) : TComponent(AOwner)
{}

DWORD TOpenDialog::Flags() const
{
    DWORD flags = 0;
    if (FOptions.Contains(ofReadOnly))
        flags |= OFN_READONLY;
    if (FOptions.Contains(ofHideReadOnly))
        flags |= OFN_HIDEREADONLY;
    if (FOptions.Contains(ofPathMustExist))
        flags |= OFN_PATHMUSTEXIST;
    if (FOptions.Contains(ofFileMustExist))
        flags |= OFN_FILEMUSTEXIST;
    if (FOptions.Contains(ofEnableSizing))
        flags |= OFN_ENABLESIZING;
    if (FOptions.Contains(ofAllowMultiSelect))
        flags |= OFN_ALLOWMULTISELECT | OFN_EXPLORER;
    return flags;
}

bool TOpenDialog::Execute()
{
    Application->UseCom();
    // "Name|pattern|..." becomes "Name\0pattern\0...\0\0".
    std::string filter = FFilter;
    for (char& c : filter)
        if (c == '|')
            c = '\0';
    filter.append(2, '\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::vector<char> name(32768, '\0');
        if (attempt == 0)
            FFileName.copy(name.data(), std::min(FFileName.size(), name.size() - 1));
        OPENFILENAMEA ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = DialogOwnerWindow();
        ofn.lpstrFilter = FFilter.empty() ? nullptr : filter.c_str();
        ofn.nFilterIndex = 1;
        ofn.lpstrFile = name.data();
        ofn.nMaxFile = static_cast<DWORD>(name.size());
        ofn.lpstrInitialDir = FInitialDir.empty() ? nullptr : FInitialDir.c_str();
        ofn.lpstrTitle = FTitle.empty() ? nullptr : FTitle.c_str();
        ofn.lpstrDefExt = FDefaultExt.empty() ? nullptr : FDefaultExt.c_str();
        ofn.Flags = Flags();
        if (BoundGetOpenFileName(&ofn)) {
            FFileName = name.data();
            return true;
        }
        const DWORD error = BoundCommDlgExtendedError();
        if (error == 0)
            return false;
        // A kept name the dialog refuses is dropped, and the dialog tried again.
        if (error == FNERR_INVALIDFILENAME && attempt == 0 && !FFileName.empty())
            continue;
        throw EOSError(Format("The open dialog failed (error 0x%lX)", static_cast<unsigned long>(error)), error);
    }
    return false;
}

TFontDialog::TFontDialog(TComponent* AOwner) : TComponent(AOwner)
{}

DWORD TFontDialog::Flags() const
{
    DWORD flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
    if (FOptions.Contains(fdAnsiOnly))
        flags |= CF_SCRIPTSONLY;
    if (FOptions.Contains(fdEffects))
        flags |= CF_EFFECTS;
    if (FOptions.Contains(fdFixedPitchOnly))
        flags |= CF_FIXEDPITCHONLY;
    if (FOptions.Contains(fdForceFontExist))
        flags |= CF_FORCEFONTEXIST;
    if (FOptions.Contains(fdLimitSize))
        flags |= CF_LIMITSIZE;
    if (FOptions.Contains(fdApplyButton))
        flags |= CF_APPLY | CF_ENABLEHOOK;
    return flags;
}

void TFontDialog::Apply(HWND dialog)
{
    LOGFONTA font{};
    SendMessageA(dialog, WM_CHOOSEFONT_GETLOGFONT, 0, reinterpret_cast<LPARAM>(&font));
    FFont.AssignLogFont(font);
    if (OnApply)
        OnApply(this, dialog);
}

UINT_PTR CALLBACK TFontDialog::HookProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    static const char* const property = "QuorvelFontDialog";
    return CatchAtBoundary(UINT_PTR{FALSE}, [&]() -> UINT_PTR {
        switch (msg) {
        case WM_INITDIALOG:
            SetPropA(dialog, property, reinterpret_cast<HANDLE>(reinterpret_cast<CHOOSEFONTA*>(lParam)->lCustData));
            // The dialog manager then puts the focus on the first control.
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) != psh3)
                return FALSE;
            if (auto* self = reinterpret_cast<TFontDialog*>(GetPropA(dialog, property)))
                self->Apply(dialog);
            return TRUE;
        case WM_DESTROY: RemovePropA(dialog, property); return FALSE;
        default: return FALSE;
        }
    });
}

bool TFontDialog::Execute()
{
    LOGFONTA font = FFont.LogFont();
    CHOOSEFONTA cf{};
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = DialogOwnerWindow();
    cf.lpLogFont = &font;
    cf.Flags = Flags();
    cf.rgbColors = ColorToRGB(FFont.Color());
    cf.nFontType = SCREEN_FONTTYPE;
    if (FOptions.Contains(fdLimitSize)) {
        cf.nSizeMin = FMinFontSize;
        cf.nSizeMax = FMaxFontSize;
    }
    if (cf.Flags & CF_ENABLEHOOK) {
        cf.lpfnHook = HookProc;
        cf.lCustData = reinterpret_cast<LPARAM>(this);
    }
    if (!BoundChooseFont(&cf)) {
        const DWORD error = BoundCommDlgExtendedError();
        if (error != 0)
            throw EOSError(Format("The font dialog failed (error 0x%lX)", static_cast<unsigned long>(error)), error);
        return false;
    }
    FFont.AssignLogFont(font);
    if (FOptions.Contains(fdEffects))
        FFont.SetColor(static_cast<TColor>(cf.rgbColors));
    return true;
}
