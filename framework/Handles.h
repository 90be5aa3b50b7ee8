#pragma once

// Move-only owners of operating-system handles, one per kind, scoped GDI
// selectors, and the helper that turns a failed call into EOSError.

#include <windows.h>

#include <string>
#include <utility>

#include "framework/Exceptions.h"
#include "framework/SysError.h"

// Raises EOSError "<call> failed: <system text>" with GetLastError's code.
[[noreturn]] void RaiseLastOSError(const char* call);
[[noreturn]] void RaiseOSError(const char* call, DWORD code);
inline void ThrowLastErrorIf(bool failed, const char* call)
{
    if (failed)
        RaiseLastOSError(call);
}

// Owner of a handle released by `Close`; `Invalid` is the empty value.
template <class H, class Traits>
class TUniqueHandle {
public:
    TUniqueHandle() = default;
    explicit TUniqueHandle(H handle) : FHandle(handle) {}
    ~TUniqueHandle() { Reset(); }
    TUniqueHandle(TUniqueHandle&& other) noexcept : FHandle(other.Release()) {}
    TUniqueHandle& operator=(TUniqueHandle&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    TUniqueHandle(const TUniqueHandle&) = delete;
    TUniqueHandle& operator=(const TUniqueHandle&) = delete;

    H Get() const { return FHandle; }
    explicit operator bool() const { return FHandle != Traits::Invalid(); }
    H Release() { return std::exchange(FHandle, Traits::Invalid()); }
    void Reset(H handle = Traits::Invalid())
    {
        H old = std::exchange(FHandle, handle);
        if (old != Traits::Invalid())
            Traits::Close(old);
    }

private:
    H FHandle = Traits::Invalid();
};

namespace HandleTraits {
template <class H, auto CloseFn>
struct Null {
    static H Invalid() { return nullptr; }
    static void Close(H h) { CloseFn(h); }
};
struct File {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { ::CloseHandle(h); }
};
}  // namespace HandleTraits

using TWindowHandle = TUniqueHandle<HWND, HandleTraits::Null<HWND, ::DestroyWindow>>;
using TMenuHandle = TUniqueHandle<HMENU, HandleTraits::Null<HMENU, ::DestroyMenu>>;
using TAcceleratorHandle = TUniqueHandle<HACCEL, HandleTraits::Null<HACCEL, ::DestroyAcceleratorTable>>;
using TModuleHandle = TUniqueHandle<HMODULE, HandleTraits::Null<HMODULE, ::FreeLibrary>>;
using TGlobalHandle = TUniqueHandle<HGLOBAL, HandleTraits::Null<HGLOBAL, ::GlobalFree>>;
using TIconHandle = TUniqueHandle<HICON, HandleTraits::Null<HICON, ::DestroyIcon>>;
using TKernelHandle = TUniqueHandle<HANDLE, HandleTraits::Null<HANDLE, ::CloseHandle>>;
using TFileHandle = TUniqueHandle<HANDLE, HandleTraits::File>;
using TMemoryDC = TUniqueHandle<HDC, HandleTraits::Null<HDC, ::DeleteDC>>;

// Any GDI object (font, brush, pen, bitmap, region), deleted with DeleteObject.
template <class H>
using TGdiObject = TUniqueHandle<H, HandleTraits::Null<H, ::DeleteObject>>;
using TFontHandle = TGdiObject<HFONT>;
using TBrushHandle = TGdiObject<HBRUSH>;
using TPenHandle = TGdiObject<HPEN>;
using TBitmapHandle = TGdiObject<HBITMAP>;

// A device context of a window (GetDC / ReleaseDC); nullptr window is the screen.
class TWindowDC {
public:
    explicit TWindowDC(HWND window);
    ~TWindowDC();
    TWindowDC(const TWindowDC&) = delete;
    TWindowDC& operator=(const TWindowDC&) = delete;
    HDC Get() const { return FDC; }

private:
    HWND FWindow;
    HDC FDC;
};

// The device context of one WM_PAINT (BeginPaint / EndPaint).
class TPaintDC {
public:
    explicit TPaintDC(HWND window);
    ~TPaintDC();
    TPaintDC(const TPaintDC&) = delete;
    TPaintDC& operator=(const TPaintDC&) = delete;
    HDC Get() const { return FPaint.hdc; }
    const RECT& PaintRect() const { return FPaint.rcPaint; }

private:
    HWND FWindow;
    PAINTSTRUCT FPaint{};
};

// Selects an object into a DC and puts the previous one back.
class TSelectObject {
public:
    TSelectObject(HDC dc, HGDIOBJ object) : FDC(dc), FPrevious(::SelectObject(dc, object)) {}
    ~TSelectObject()
    {
        if (FPrevious && FPrevious != HGDI_ERROR)
            ::SelectObject(FDC, FPrevious);
    }
    TSelectObject(const TSelectObject&) = delete;
    TSelectObject& operator=(const TSelectObject&) = delete;

private:
    HDC FDC;
    HGDIOBJ FPrevious;
};

// GlobalLock for the lifetime of the object.
class TGlobalLock {
public:
    explicit TGlobalLock(HGLOBAL memory);
    ~TGlobalLock() { ::GlobalUnlock(FMemory); }
    TGlobalLock(const TGlobalLock&) = delete;
    TGlobalLock& operator=(const TGlobalLock&) = delete;
    void* Get() const { return FPointer; }

private:
    HGLOBAL FMemory;
    void* FPointer;
};
