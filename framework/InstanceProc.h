#pragma once

// A window procedure bound to one object: a few bytes of executable code
// that call `target` with `data` in place of the window handle. One static
// procedure then serves many objects, and two objects subclassing the same
// window chain through distinct addresses, so each can tell whether it is
// still the procedure the window calls first.
//
//     TInstanceProc FProc{this, &THook::Proc};
//     static LRESULT CALLBACK Proc(HWND self, UINT Msg, WPARAM wParam, LPARAM lParam)
//     { auto* hook = reinterpret_cast<THook*>(self); ... }

#include <windows.h>

class TInstanceProc {
public:
    TInstanceProc(void* data, WNDPROC target);
    ~TInstanceProc();
    TInstanceProc(const TInstanceProc&) = delete;
    TInstanceProc& operator=(const TInstanceProc&) = delete;

    // The code is only jumped through, never returned to, so the target may
    // destroy this object (and free the code) before it returns.
    WNDPROC Proc() const { return reinterpret_cast<WNDPROC>(reinterpret_cast<void*>(FCode)); }

private:
    unsigned char* FCode;
};
