#pragma once

// What the stand-in help library records of each HtmlHelpA call, and the
// test-side helpers that put it in place as "HHCTRL.OCX" beside the test.

#include <windows.h>

#include <string>

struct TStandInPopup {
    bool Present;
    int Size;
    ULONG_PTR Instance;
    UINT StringId;
    bool TextIsNull;
    char Text[64];
    LONG X, Y;
    COLORREF Foreground, Background;
    LONG Margins[4];
    bool FontIsNull;
    char Font[64];
};

struct TStandInCall {
    HWND Window;
    bool FileIsNull;
    char File[MAX_PATH];
    UINT Command;
    ULONG_PTR Data;
    TStandInPopup Popup;
};

extern "C" {
using TStandInCallCount = int (*)();
using TStandInGetCall = bool (*)(int index, TStandInCall* call);
using TStandInReset = void (*)();
using TStandInSetResult = void (*)(HWND result);
}

// The stand-in as the loaded "HHCTRL.OCX": call log and result.
class TStandInLog {
public:
    // Fails the calling test when the loaded library is not the stand-in.
    TStandInLog();
    int Count() const;
    TStandInCall Call(int index) const;
    TStandInCall Last() const { return Call(Count() - 1); }
    void Reset() const;
    void SetResult(HWND result) const;

private:
    TStandInCallCount FCount = nullptr;
    TStandInGetCall FGet = nullptr;
    TStandInReset FReset = nullptr;
    TStandInSetResult FSetResult = nullptr;
};

// The folder of the running test executable, with a trailing backslash.
std::string TestFolder();
// Copies `dllName` of the test folder to "HHCTRL.OCX" there.
void InstallHelpLibrary(const char* dllName);
// Removes "HHCTRL.OCX" from the test folder (it must not be loaded).
void RemoveHelpLibrary();
