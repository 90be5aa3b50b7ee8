#include "components/VXControls.h"

#include <shellapi.h>

#include "framework/Application.h"
#include "framework/ClassTable.h"

TVxShellExecute VxShellExecute = ShellExecuteA;

TVxLinkLabel::TVxLinkLabel(TComponent* AOwner) : TCustomLabel(AOwner)
{
    Font().SetStyle(TFontStyles{fsUnderline});
    SetLinkColor(clBlue);
    SetCursor(crHandPoint);
    SetShowAccelChar(false);
}

void TVxLinkLabel::SetLinkColor(TColor Value)
{
    FLinkColor = Value;
    Font().SetColor(Value);
    Repaint();
}

LRESULT TVxLinkLabel::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam)
{
    switch (Msg) {
    // The link opens on the press; no capture, mouse-down event or click
    // follows. Whatever the shell answers is not looked at.
    case WM_LBUTTONDOWN:
        Application->UseCom();
        VxShellExecute(GetDesktopWindow(), "open", FLinkTo.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        return 0;
    default: return TCustomLabel::WndProc(Msg, wParam, lParam);
    }
}

void RegisterLinkLabel()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterStdControls();
    RegisterComponentClass<TVxLinkLabel, TCustomLabel>("TVxLinkLabel")
        .Redeclare("Cursor")
        .Default(crHandPoint)
        .Unpublish("ShowAccelChar")
        .Property("LinkColor", &TVxLinkLabel::LinkColor, &TVxLinkLabel::SetLinkColor)
        .Default(clBlue)
        .Property("LinkTo", &TVxLinkLabel::LinkTo, &TVxLinkLabel::SetLinkTo)
        .StoredWhen([](TVxLinkLabel* c) { return !c->LinkTo().empty(); });
}
