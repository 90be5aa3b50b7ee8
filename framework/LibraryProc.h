#pragma once

// A function of a system library bound on its first call, so that a start
// which never calls it never loads the library (the common dialogs and COM
// bring several more with them). Once loaded the library stays for the rest
// of the process, as an imported one would; its handle is only borrowed.

#include <windows.h>

#include "framework/SysError.h"

template <class F>
class TLibraryProc {
public:
    constexpr TLibraryProc(const char* Library, const char* Name) : FLibrary(Library), FName(Name) {}

    // Raises the system's error, naming the call, when the library or the
    // function cannot be had.
    F Get()
    {
        if (!FProc) {
            const HMODULE module = ::LoadLibraryA(FLibrary);
            ThrowLastErrorIf(!module, FLibrary);
            const FARPROC proc = ::GetProcAddress(module, FName);
            ThrowLastErrorIf(!proc, FName);
            // The function's type is fixed by the library's interface.
            FProc = reinterpret_cast<F>(reinterpret_cast<void*>(proc));
        }
        return FProc;
    }

    template <class... A>
    auto operator()(A... Args)
    {
        return Get()(Args...);
    }

private:
    const char* FLibrary;
    const char* FName;
    F FProc = nullptr;
};
