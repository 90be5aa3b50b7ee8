#include "framework/Handles.h"

std::string SysErrorMessage(DWORD code)
{
    char* buffer = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
        0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text;
    if (length && buffer)
        text.assign(buffer, length);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    if (text.empty())
        text = Format("System error %lu", static_cast<unsigned long>(code));
    return text;
}

void RaiseOSError(const char* call, DWORD code)
{
    throw EOSError(Format("%s failed: %s", call, SysErrorMessage(code).c_str()), code);
}

void RaiseLastOSError(const char* call)
{
    RaiseOSError(call, GetLastError());
}

TWindowDC::TWindowDC(HWND window) : FWindow(window), FDC(::GetDC(window))
{
    ThrowLastErrorIf(!FDC, "GetDC");
}

TWindowDC::~TWindowDC()
{
    ::ReleaseDC(FWindow, FDC);
}

TPaintDC::TPaintDC(HWND window) : FWindow(window)
{
    ThrowLastErrorIf(!::BeginPaint(window, &FPaint), "BeginPaint");
}

TPaintDC::~TPaintDC()
{
    ::EndPaint(FWindow, &FPaint);
}

TGlobalLock::TGlobalLock(HGLOBAL memory) : FMemory(memory), FPointer(::GlobalLock(memory))
{
    ThrowLastErrorIf(!FPointer, "GlobalLock");
}
