#pragma once

// A label that acts as a hyperlink: underlined in the link colour, with the
// hand cursor; pressing the left button on it hands LinkTo to the shell.

#include <windows.h>

#include <string>

#include "framework/StdCtrls.h"

// The shell's open call; tests put an observer here.
using TVxShellExecute = HINSTANCE(WINAPI*)(HWND Owner, LPCSTR Verb, LPCSTR File, LPCSTR Parameters, LPCSTR Directory,
                                           INT ShowCommand);
extern TVxShellExecute VxShellExecute;

class TVxLinkLabel : public TCustomLabel {
public:
    explicit TVxLinkLabel(TComponent* AOwner);

    TColor LinkColor() const { return FLinkColor; }
    // Also becomes the font colour, which is what is drawn.
    void SetLinkColor(TColor Value);
    const std::string& LinkTo() const { return FLinkTo; }
    void SetLinkTo(const std::string& Value) { FLinkTo = Value; }

protected:
    LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

private:
    TColor FLinkColor = clBlue;
    std::string FLinkTo;
};

void RegisterLinkLabel();
