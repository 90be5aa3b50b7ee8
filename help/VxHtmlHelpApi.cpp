#include "help/VxHtmlHelpApi.h"

#include "framework/Exceptions.h"
#include "framework/Handles.h"

namespace {

// Its destructor frees the library at program end.
TModuleHandle HtmlHelpModule;
THtmlHelpA HtmlHelpEntry = nullptr;

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
