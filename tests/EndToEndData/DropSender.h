#pragma once

// Drops files on a window of the program from inside the program's process,
// since a drop handle made here would mean nothing there: the drop hook
// library is hooked into the window's thread and makes the drop on request.

#include <windows.h>

#include <string>
#include <vector>

#include "tests/EndToEndData/DropRequest.h"

namespace EndToEnd {

class TDropSender {
public:
    // Hooks the thread of `target` (a top-level window of another process).
    explicit TDropSender(HWND target);
    ~TDropSender();
    TDropSender(const TDropSender&) = delete;
    TDropSender& operator=(const TDropSender&) = delete;

    // Empty when the hook is in place; otherwise what failed.
    const std::string& Failure() const { return FFailure; }
    // Drops `names` at `point` (client coordinates of the target). True once
    // the hook has posted the drop message; otherwise Failure() says why.
    bool Drop(const std::vector<std::string>& names, POINT point, DWORD timeoutMs = 15000);
    // True once the program's process has loaded the hook library.
    bool Injected() const;

private:
    HWND FTarget = nullptr;
    DWORD FProcessId = 0;
    HANDLE FMapping = nullptr;
    TDropRequest* FRequest = nullptr;
    HMODULE FLibrary = nullptr;
    HHOOK FHook = nullptr;
    std::string FFailure;
};

}  // namespace EndToEnd
