#pragma once

// The main window: the hex viewer filling the client area, the menu bar,
// the open dialog and the font dialog.

#include <string>

#include "components/VXAbout.h"
#include "components/VxDrop.h"
#include "config/VxFormPosition.h"
#include "framework/Dialogs.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "help/VxHelpRouter.h"
#include "hexview/VxHexViewer.h"

class TMainForm : public TForm {
public:
    explicit TMainForm(TComponent* AOwner);

    TVxHexViewer* CHex = nullptr;
    TMainMenu* CMenu = nullptr;
    TMenuItem* MFile = nullptr;
    TMenuItem* MOpen = nullptr;
    TMenuItem* N1 = nullptr;
    TMenuItem* MExit = nullptr;
    TMenuItem* MOptions = nullptr;
    TMenuItem* MFont = nullptr;
    TMenuItem* MHelp = nullptr;
    TMenuItem* MHelpContents = nullptr;
    TMenuItem* N2 = nullptr;
    TMenuItem* MHelpAbout = nullptr;
    TFontDialog* CFontDlg = nullptr;
    TOpenDialog* dlgOpen = nullptr;
    TVxDropFiles* CDrop = nullptr;
    TVXAboutBox* CAbout = nullptr;
    TVxFormPosition* CFormPos = nullptr;
    THelpRouter* HelpRouter1 = nullptr;

    // Shows the named file; the caption becomes the name and " - Quorvel".
    // A load error propagates and leaves the caption as it was.
    void OpenFile(const std::string& FileName);

    void MOpenClick(TComponent* Sender);
    void MExitClick(TComponent* Sender);
    void MFontClick(TComponent* Sender);
    void CFontDlgApply(TComponent* Sender, HWND Wnd);
    void MHelpContentsClick(TComponent* Sender);
    void MHelpAboutClick(TComponent* Sender);
    // Opens the first dropped file; further names are ignored.
    void CDropDropFiles(TComponent* Sender, POINT& Point);
    // Registers the viewer's font as the setting "font" and loads it; an
    // error is reported and the window opens with the font as far as it got.
    // A configuration that cannot be opened, or whose folder cannot be made,
    // is not used for the rest of the run: nothing is saved into it and no
    // close waits for it.
    void FormCreate(TComponent* Sender);
    // Saves the settings. A failed save is reported and keeps the window
    // open the first time; a later close ends the program all the same.
    void FormClose(TComponent* Sender, TCloseAction& Action);

private:
    bool FConfigurationUnusable = false;
    bool FCloseSaveFailed = false;
};

extern TMainForm* MainForm;
