#include "tests/EndToEndData/ProgramHook.h"

#include <tlhelp32.h>

#include <cstring>

namespace EndToEnd {

namespace {

std::string Failed(const char* call)
{
    return std::string(call) + " failed with error " + std::to_string(::GetLastError());
}

const char* const HookLibrary = "EndToEndHook.dll";

}  // namespace

TProgramHook::TProgramHook(HWND target) : FTarget(target)
{
    const DWORD thread = ::GetWindowThreadProcessId(target, &FProcessId);
    FThread = thread;
    if (!thread) {
        FFailure = Failed("GetWindowThreadProcessId");
        return;
    }
    FMapping = ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(THookRequest),
                                    HookRequestMappingName(FProcessId).c_str());
    if (!FMapping) {
        FFailure = Failed("CreateFileMappingA");
        return;
    }
    FRequest = static_cast<THookRequest*>(::MapViewOfFile(FMapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(THookRequest)));
    if (!FRequest) {
        FFailure = Failed("MapViewOfFile");
        return;
    }
    std::memset(FRequest, 0, offsetof(THookRequest, Pixels));
    const std::string path = TestDriver::TestExeFolder() + "\\" + HookLibrary;
    FLibrary = ::LoadLibraryA(path.c_str());
    if (!FLibrary) {
        FFailure = Failed("LoadLibraryA") + " for " + path;
        return;
    }
    const auto procedure =
        reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(::GetProcAddress(FLibrary, "EndToEndHookGetMessage")));
    if (!procedure) {
        FFailure = Failed("GetProcAddress");
        return;
    }
    FHook = ::SetWindowsHookExA(WH_GETMESSAGE, procedure, FLibrary, thread);
    if (!FHook)
        FFailure = Failed("SetWindowsHookExA");
}

TProgramHook::~TProgramHook()
{
    if (FWindowsHook)
        ::UnhookWindowsHookEx(FWindowsHook);
    if (FHook)
        ::UnhookWindowsHookEx(FHook);
    if (FLibrary)
        ::FreeLibrary(FLibrary);
    if (FRequest)
        ::UnmapViewOfFile(FRequest);
    if (FMapping)
        ::CloseHandle(FMapping);
}

bool TProgramHook::Serve(THookRequestKind kind, HWND window, DWORD timeoutMs)
{
    FRequest->Kind = kind;
    FRequest->Window = reinterpret_cast<ULONG_PTR>(window);
    FRequest->Error = 0;
    const LONG sequence = FRequest->Sequence + 1;
    ::InterlockedExchange(&FRequest->Sequence, sequence);
    // The hook runs when the thread takes a message: give it one, again
    // while waiting, since one may come before the library is loaded.
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    while (FRequest->Handled != sequence) {
        if (::GetTickCount64() >= end) {
            FFailure = Injected() ? "the hook did not serve the request" : "the hook library was never loaded there";
            return false;
        }
        ::PostMessageA(FTarget, WM_NULL, 0, 0);
        ::Sleep(20);
    }
    return true;
}

bool TProgramHook::Drop(const std::vector<std::string>& names, POINT point, DWORD timeoutMs)
{
    std::string list;
    for (const std::string& name : names)
        list += name + '\0';
    list += '\0';
    return PostDrop(list.data(), list.size(), false, point, timeoutMs);
}

bool TProgramHook::Drop(const std::vector<std::wstring>& names, POINT point, DWORD timeoutMs)
{
    std::wstring list;
    for (const std::wstring& name : names)
        list += name + L'\0';
    list += L'\0';
    return PostDrop(list.data(), list.size() * sizeof(wchar_t), true, point, timeoutMs);
}

bool TProgramHook::PostDrop(const void* list, std::size_t size, bool wide, POINT point, DWORD timeoutMs)
{
    if (!FHook)
        return false;
    if (size > sizeof FRequest->Names) {
        FFailure = "names too long for the request";
        return false;
    }
    std::memcpy(FRequest->Names, list, size);
    FRequest->WideNames = wide ? 1 : 0;
    FRequest->Point = point;
    if (!Serve(hkDrop, FTarget, timeoutMs))
        return false;
    if (FRequest->Error != 0) {
        FFailure = "posting the drop failed with error " + std::to_string(FRequest->Error);
        return false;
    }
    return true;
}

bool TProgramHook::DeleteWhenDialogCloses(const std::string& fileName)
{
    if (!FHook)
        return false;
    if (fileName.size() >= sizeof FRequest->DeleteOnDialogEnd) {
        FFailure = "name too long for the request";
        return false;
    }
    if (!FWindowsHook) {
        const auto procedure =
            reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(::GetProcAddress(FLibrary, "EndToEndHookWindows")));
        if (!procedure) {
            FFailure = Failed("GetProcAddress");
            return false;
        }
        FWindowsHook = ::SetWindowsHookExA(WH_CBT, procedure, FLibrary, FThread);
        if (!FWindowsHook) {
            FFailure = Failed("SetWindowsHookExA");
            return false;
        }
    }
    std::memcpy(FRequest->DeleteOnDialogEnd, fileName.c_str(), fileName.size() + 1);
    return true;
}

TestDriver::TCapture TProgramHook::Capture(HWND window, DWORD timeoutMs)
{
    TestDriver::TCapture picture;
    if (!FHook)
        return picture;
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    for (;;) {
        const ULONGLONG now = ::GetTickCount64();
        if (now >= end) {
            FFailure = "the window kept a paint pending";
            return picture;
        }
        if (!Serve(hkCapture, window, static_cast<DWORD>(end - now)))
            return picture;
        if (FRequest->Error == 0)
            break;
        if (FRequest->Error != HookPaintPending) {
            FFailure = "capturing failed with " + std::to_string(FRequest->Error);
            return picture;
        }
        ::Sleep(30);
    }
    picture.Width = FRequest->Width;
    picture.Height = FRequest->Height;
    picture.Pixels.assign(FRequest->Pixels, FRequest->Pixels + static_cast<std::size_t>(picture.Width) *
                                                                   static_cast<std::size_t>(picture.Height));
    return picture;
}

UINT TProgramHook::MenuCommand(const std::string& caption, DWORD timeoutMs)
{
    if (!FHook || caption.size() >= sizeof FRequest->Names)
        return 0;
    std::memcpy(FRequest->Names, caption.c_str(), caption.size() + 1);
    if (!Serve(hkMenuCommand, FTarget, timeoutMs))
        return 0;
    return FRequest->Error == 0 ? static_cast<UINT>(FRequest->Command) : 0;
}

bool TProgramHook::FillDcCache(DWORD timeoutMs)
{
    return FHook && Serve(hkFillDcCache, FTarget, timeoutMs) && FRequest->Error == 0;
}

bool TProgramHook::LoadSystemImages(DWORD timeoutMs)
{
    return FHook && Serve(hkLoadSystemImages, FTarget, timeoutMs) && FRequest->Error == 0;
}

bool TProgramHook::MarkHeap(DWORD timeoutMs)
{
    return FHook && Serve(hkHeapMark, FTarget, timeoutMs) && FRequest->Error == 0;
}

std::string TProgramHook::HeapReport(DWORD timeoutMs)
{
    if (!FHook || !Serve(hkHeapReport, FTarget, timeoutMs) || FRequest->Error != 0)
        return {};
    const char* text = reinterpret_cast<const char*>(FRequest->Pixels);
    return std::string(text, strnlen(text, sizeof FRequest->Pixels));
}

bool TProgramHook::Resources(THookResources& out, DWORD timeoutMs)
{
    if (!FHook || !Serve(hkResources, FTarget, timeoutMs))
        return false;
    out = FRequest->Resources;
    return FRequest->Error == 0;
}

TProgramHook::TKeySeen TProgramHook::LastKeyDown() const
{
    TKeySeen seen;
    if (!FRequest)
        return seen;
    seen.Count = FRequest->KeyDowns;
    seen.Window = reinterpret_cast<HWND>(FRequest->LastKeyWindow);
    seen.Key = static_cast<WPARAM>(FRequest->LastKey);
    return seen;
}

bool TProgramHook::Injected() const
{
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, FProcessId);
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;
    MODULEENTRY32 module{};
    module.dwSize = sizeof module;
    bool found = false;
    for (BOOL more = ::Module32First(snapshot, &module); more && !found; more = ::Module32Next(snapshot, &module))
        found = ::lstrcmpiA(module.szModule, HookLibrary) == 0;
    ::CloseHandle(snapshot);
    return found;
}

}  // namespace EndToEnd
