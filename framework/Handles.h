#pragma once

// A bare handle (HWND, HDC, HANDLE, ...) is borrowed: whoever holds one never frees it.
// A T...Handle (and TMemoryDC, TWindowDC, TPaintDC) owns its handle and is the only one that frees it.

#include <windows.h>

#include <utility>

#include "framework/SysError.h"

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
    // Releases now and tells whether that worked, for a handle whose release
    // can fail and must be seen (a written file's close). Empty: true.
    bool Close()
    {
        const H old = Release();
        return old == Traits::Invalid() || Traits::Close(old);
    }

private:
    H FHandle = Traits::Invalid();
};

// Close returns whether the release succeeded.
namespace HandleTraits {
template <class H, auto CloseFn>
struct Null {
    static H Invalid() { return nullptr; }
    static bool Close(H h) { return CloseFn(h) != FALSE; }
};
struct File {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static bool Close(HANDLE h) { return ::CloseHandle(h) != FALSE; }
};
struct Find {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static bool Close(HANDLE h) { return ::FindClose(h) != FALSE; }
};
// GlobalFree returns the handle back when it fails, nullptr when it worked.
struct Global {
    static HGLOBAL Invalid() { return nullptr; }
    static bool Close(HGLOBAL h) { return ::GlobalFree(h) == nullptr; }
};
}  // namespace HandleTraits

using TWindowHandle = TUniqueHandle<HWND, HandleTraits::Null<HWND, ::DestroyWindow>>;
using TMenuHandle = TUniqueHandle<HMENU, HandleTraits::Null<HMENU, ::DestroyMenu>>;
using TAcceleratorHandle = TUniqueHandle<HACCEL, HandleTraits::Null<HACCEL, ::DestroyAcceleratorTable>>;
using TModuleHandle = TUniqueHandle<HMODULE, HandleTraits::Null<HMODULE, ::FreeLibrary>>;
using TGlobalHandle = TUniqueHandle<HGLOBAL, HandleTraits::Global>;
using TIconHandle = TUniqueHandle<HICON, HandleTraits::Null<HICON, ::DestroyIcon>>;
using TKernelHandle = TUniqueHandle<HANDLE, HandleTraits::Null<HANDLE, ::CloseHandle>>;
// From CreateFileA: INVALID_HANDLE_VALUE is the empty value, not nullptr.
using TFileHandle = TUniqueHandle<HANDLE, HandleTraits::File>;
// From FindFirstFileA.
using TFindHandle = TUniqueHandle<HANDLE, HandleTraits::Find>;
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
