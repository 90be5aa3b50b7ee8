#include "tests/EndToEndData/DropSender.h"

#include <tlhelp32.h>

#include <cstring>

#include "tests/support/TestDriver.h"

namespace EndToEnd {

namespace {

std::string Failed(const char* call)
{
    return std::string(call) + " failed with error " + std::to_string(::GetLastError());
}

const char* const HookLibrary = "EndToEndDropHook.dll";

}  // namespace

TDropSender::TDropSender(HWND target) : FTarget(target)
{
    const DWORD thread = ::GetWindowThreadProcessId(target, &FProcessId);
    if (!thread) {
        FFailure = Failed("GetWindowThreadProcessId");
        return;
    }
    FMapping = ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(TDropRequest),
                                    DropRequestMappingName(FProcessId).c_str());
    if (!FMapping) {
        FFailure = Failed("CreateFileMappingA");
        return;
    }
    FRequest = static_cast<TDropRequest*>(::MapViewOfFile(FMapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(TDropRequest)));
    if (!FRequest) {
        FFailure = Failed("MapViewOfFile");
        return;
    }
    std::memset(FRequest, 0, sizeof(TDropRequest));
    const std::string path = TestDriver::TestExeFolder() + "\\" + HookLibrary;
    FLibrary = ::LoadLibraryA(path.c_str());
    if (!FLibrary) {
        FFailure = Failed("LoadLibraryA") + " for " + path;
        return;
    }
    const auto procedure =
        reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(::GetProcAddress(FLibrary, "DropHookGetMessage")));
    if (!procedure) {
        FFailure = Failed("GetProcAddress");
        return;
    }
    FHook = ::SetWindowsHookExA(WH_GETMESSAGE, procedure, FLibrary, thread);
    if (!FHook)
        FFailure = Failed("SetWindowsHookExA");
}

TDropSender::~TDropSender()
{
    if (FHook)
        ::UnhookWindowsHookEx(FHook);
    if (FLibrary)
        ::FreeLibrary(FLibrary);
    if (FRequest)
        ::UnmapViewOfFile(FRequest);
    if (FMapping)
        ::CloseHandle(FMapping);
}

bool TDropSender::Drop(const std::vector<std::string>& names, POINT point, DWORD timeoutMs)
{
    if (!FFailure.empty())
        return false;
    std::string list;
    for (const std::string& name : names)
        list += name + '\0';
    list += '\0';
    if (list.size() > sizeof FRequest->Names) {
        FFailure = "names too long for the request";
        return false;
    }
    std::memcpy(FRequest->Names, list.data(), list.size());
    FRequest->Window = reinterpret_cast<ULONG_PTR>(FTarget);
    FRequest->Point = point;
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
        ::Sleep(100);
    }
    if (FRequest->Error != 0) {
        FFailure = "posting the drop failed with error " + std::to_string(FRequest->Error);
        return false;
    }
    return true;
}

bool TDropSender::Injected() const
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
