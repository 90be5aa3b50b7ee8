#include "framework/Handles.h"

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
