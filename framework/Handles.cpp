#include "framework/Handles.h"

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
