#include "app/Main.h"

#include <memory>

#include "config/VXConfigFont.h"
#include "framework/Application.h"

TMainForm* MainForm = nullptr;

TMainForm::TMainForm(TComponent* AOwner) : TForm(AOwner)
{
    Publish("CHex", CHex);
    Publish("CMenu", CMenu);
    Publish("MFile", MFile);
    Publish("MOpen", MOpen);
    Publish("N1", N1);
    Publish("MExit", MExit);
    Publish("MOptions", MOptions);
    Publish("MFont", MFont);
    Publish("MHelp", MHelp);
    Publish("MHelpContents", MHelpContents);
    Publish("N2", N2);
    Publish("MHelpAbout", MHelpAbout);
    Publish("CFontDlg", CFontDlg);
    Publish("dlgOpen", dlgOpen);
    Publish("CDrop", CDrop);
    Publish("CAbout", CAbout);
    Publish("CFormPos", CFormPos);
    Publish("HelpRouter1", HelpRouter1);
    Publish("MOpenClick", &TMainForm::MOpenClick);
    Publish("MExitClick", &TMainForm::MExitClick);
    Publish("MFontClick", &TMainForm::MFontClick);
    Publish("CFontDlgApply", &TMainForm::CFontDlgApply);
    Publish("MHelpContentsClick", &TMainForm::MHelpContentsClick);
    Publish("MHelpAboutClick", &TMainForm::MHelpAboutClick);
    Publish("CDropDropFiles", &TMainForm::CDropDropFiles);
    Publish("FormCreate", &TMainForm::FormCreate);
    Publish("FormClose", &TMainForm::FormClose);
    ReadDescription("TMainForm");
}

void TMainForm::OpenFile(const std::string& FileName)
{
    CHex->SetFileName(FileName);
    SetCaption(FileName + " - Quorvel");
}

void TMainForm::MOpenClick(TComponent*)
{
    if (dlgOpen->Execute())
        OpenFile(dlgOpen->FileName());
}

void TMainForm::MExitClick(TComponent*)
{
    Close();
}

void TMainForm::MFontClick(TComponent*)
{
    CFontDlg->Font().Assign(CHex->Font());
    if (CFontDlg->Execute())
        CHex->Font().Assign(CFontDlg->Font());
}

void TMainForm::CFontDlgApply(TComponent*, HWND)
{
    CHex->Font().Assign(CFontDlg->Font());
}

void TMainForm::MHelpContentsClick(TComponent*)
{
    Application->HelpCommand(HELP_FINDER, 0);
}

void TMainForm::MHelpAboutClick(TComponent*)
{
    CAbout->Execute();
}

void TMainForm::CDropDropFiles(TComponent*, POINT&)
{
    OpenFile(CDrop->Files()[0]);
}

void TMainForm::FormCreate(TComponent*)
{
    // Runs inside the window's construction, where an error would keep the
    // window from opening at all: each is reported and the window opens.
    try {
        // Opened and, where its header was still to be written (a first run),
        // saved: a folder that cannot be made fails here too.
        Configuration().ConfigFile().UpdateFile();
    } catch (...) {
        // Not used at all for this run, so a file this program cannot read
        // (a newer version's, say) is left as it is.
        FConfigurationUnusable = true;
        CFormPos->SetEnabled(false);
        Application->HandleException();
        return;
    }
    try {
        TVXConfiguration& Config = Configuration();
        Config.Items().Add(std::make_unique<TVXFontConfig>("font", CHex->Font()));
        Config.LoadItems();
    } catch (...) {
        Application->HandleException();
    }
}

void TMainForm::FormClose(TComponent*, TCloseAction& Action)
{
    if (FConfigurationUnusable)
        return;
    try {
        Configuration().SaveItems();
    } catch (...) {
        Application->HandleException();
        // The first failing close is abandoned, so the user can mend the
        // cause and close again; the next one ends the program all the same,
        // without the placement's save meeting the same error.
        if (!FCloseSaveFailed) {
            FCloseSaveFailed = true;
            Action = caNone;
        } else {
            CFormPos->SetEnabled(false);
        }
    }
}
