#pragma once

// Works inside the program's process, where a test's own handles would mean
// nothing: the hook library is hooked into a window's thread and, on
// request, drops files on a window or reads a window's pixels.

#include <windows.h>

#include <string>
#include <vector>

#include "tests/EndToEndData/HookRequest.h"
#include "tests/support/TestDriver.h"

namespace EndToEnd {

class TProgramHook {
public:
    // Hooks the thread of `target` (a top-level window of another process).
    explicit TProgramHook(HWND target);
    ~TProgramHook();
    TProgramHook(const TProgramHook&) = delete;
    TProgramHook& operator=(const TProgramHook&) = delete;

    // Empty when the hook is in place; otherwise what failed last.
    const std::string& Failure() const { return FFailure; }
    // Drops `names` at `point` (client coordinates of the target). True once
    // the hook has posted the drop message; otherwise Failure() says why.
    bool Drop(const std::vector<std::string>& names, POINT point, DWORD timeoutMs = 15000);
    // The same with UTF-16 names, as the shell drops names outside the ANSI
    // code page.
    bool Drop(const std::vector<std::wstring>& names, POINT point, DWORD timeoutMs = 15000);
    // Deletes `fileName` as the next top-level dialog window of the hooked
    // thread is destroyed: after the open dialog took the name, before the
    // program reads it. False (and Failure()) when the hook cannot be set.
    bool DeleteWhenDialogCloses(const std::string& fileName);
    // Deletions made so far, and the error of the last (0 when it worked).
    LONG DeletedCount() const { return FRequest ? FRequest->DeletedCount : 0; }
    LONG DeletedError() const { return FRequest ? FRequest->DeletedError : 0; }
    // The client area of `window` (of the hooked thread) as the window drew
    // it, once it has no paint pending; an empty capture (and Failure()) when
    // that does not come in time.
    TestDriver::TCapture Capture(HWND window, DWORD timeoutMs = 10000);
    // The command id of the item of the target's menu with this caption
    // ("&Open...", without the shortcut), as its process sees it; 0 when
    // there is none.
    UINT MenuCommand(const std::string& caption, DWORD timeoutMs = 10000);
    // Has the system's cache of window DCs in the program's process grow to
    // 64 at once, more than the program ever uses together.
    bool FillDcCache(DWORD timeoutMs = 10000);
    // Has the program's process load every cursor and icon the system
    // shares, which it keeps from their first use on.
    bool LoadSystemImages(DWORD timeoutMs = 10000);
    // Notes the busy blocks of the program's heaps, and later tells which
    // have come since, by size (empty, and Failure(), when it cannot).
    bool MarkHeap(DWORD timeoutMs = 30000);
    std::string HeapReport(DWORD timeoutMs = 60000);
    // What the program's process holds, counted there between two messages.
    bool Resources(THookResources& out, DWORD timeoutMs = 30000);
    // True once the program's process has loaded the hook library.
    bool Injected() const;
    // Key presses the hooked thread has taken from its queue so far, and
    // the window and key of the last.
    struct TKeySeen {
        LONG Count = 0;
        HWND Window = nullptr;
        WPARAM Key = 0;
    };
    TKeySeen LastKeyDown() const;

private:
    // Hands the filled request over and waits until it is served; the
    // request's Error is then the outcome.
    bool Serve(THookRequestKind kind, HWND window, DWORD timeoutMs);
    bool PostDrop(const void* list, std::size_t size, bool wide, POINT point, DWORD timeoutMs);

    HWND FTarget = nullptr;
    DWORD FProcessId = 0;
    HANDLE FMapping = nullptr;
    THookRequest* FRequest = nullptr;
    HMODULE FLibrary = nullptr;
    HHOOK FHook = nullptr;
    HHOOK FWindowsHook = nullptr;
    DWORD FThread = 0;
    std::string FFailure;
};

}  // namespace EndToEnd
