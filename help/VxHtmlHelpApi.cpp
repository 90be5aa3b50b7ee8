#include "help/VxHtmlHelpApi.h"

#include "framework/Exceptions.h"
#include "framework/Handles.h"

namespace {

TModuleHandle HtmlHelpModule;
THtmlHelpA HtmlHelpEntry = nullptr;

// Unloads at program end when nothing did before.
struct TUnloadAtExit {
    ~TUnloadAtExit() { UnloadHtmlHelp(); }
} UnloadAtExit;

}  // namespace

bool LoadHtmlHelp()
{
    if (!HtmlHelpModule) {
        HtmlHelpEntry = nullptr;
        HtmlHelpModule.Reset(::LoadLibraryA("HHCTRL.OCX"));
        if (HtmlHelpModule)
            // The entry point's type is fixed by the library's interface.
            HtmlHelpEntry = reinterpret_cast<THtmlHelpA>(
                reinterpret_cast<void*>(::GetProcAddress(HtmlHelpModule.Get(), "HtmlHelpA")));
    }
    return static_cast<bool>(HtmlHelpModule);
}

bool HtmlHelpLoaded()
{
    return static_cast<bool>(HtmlHelpModule);
}

void UnloadHtmlHelp()
{
    // Windows the library opened must not outlive its code.
    if (HtmlHelpModule && HtmlHelpEntry)
        HtmlHelpEntry(nullptr, nullptr, HH_CLOSE_ALL, 0);
    HtmlHelpEntry = nullptr;
    HtmlHelpModule.Reset();
}

bool HtmlHelpAvailable()
{
    if (!HtmlHelpModule)
        LoadHtmlHelp();
    return HtmlHelpEntry != nullptr;
}

HWND CallHtmlHelp(HWND caller, LPCSTR file, UINT command, DWORD_PTR data)
{
    VX_ASSERT(HtmlHelpEntry != nullptr);
    return HtmlHelpEntry(caller, file, command, data);
}
