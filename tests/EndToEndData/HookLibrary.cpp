// Loaded into the program's process by a message hook the test sets on its
// GUI thread. On each message that thread takes, it looks for a new request
// from the test and serves it between two messages, so never in the middle
// of a paint:
// - a drop as the shell makes it: a DROPFILES block in movable global
//   memory, ANSI names, posted as WM_DROPFILES; the receiver owns the block
//   from then on and frees it with DragFinish;
// - a capture of a window's client area through its own device context,
//   which reads the window's drawing surface rather than the screen.
// A second hook, of window creation and destruction, deletes a named file
// as a dialog window goes.

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>

#include "tests/EndToEndData/HeapCensus.h"
#include "tests/EndToEndData/HookRequest.h"
#include "tests/EndToEndData/ProcessResources.h"
#include "tests/support/TestDriver.h"

namespace {

THookRequest* Request = nullptr;

THookRequest* MappedRequest()
{
    if (!Request) {
        const HANDLE mapping =
            ::OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, HookRequestMappingName(::GetCurrentProcessId()).c_str());
        if (!mapping)
            return nullptr;
        Request = static_cast<THookRequest*>(::MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(THookRequest)));
        // The view keeps the mapping alive.
        ::CloseHandle(mapping);
    }
    return Request;
}

// Bytes of the list with its closing zero: `unit` bytes a character.
std::size_t NamesLength(const char* names, std::size_t limit, std::size_t unit)
{
    const auto zero = [&](std::size_t at) {
        for (std::size_t i = 0; i < unit; ++i)
            if (names[at + i] != 0)
                return false;
        return true;
    };
    std::size_t length = 0;
    while (length + 2 * unit <= limit && !(zero(length) && zero(length + unit)))
        length += unit;
    return length + 2 * unit;
}

LONG PostDrop(const THookRequest& request)
{
    const std::size_t names = NamesLength(request.Names, sizeof request.Names, request.WideNames ? 2 : 1);
    const HGLOBAL block = ::GlobalAlloc(GHND, sizeof(DROPFILES) + names);
    if (!block)
        return static_cast<LONG>(::GetLastError());
    auto* drop = static_cast<DROPFILES*>(::GlobalLock(block));
    drop->pFiles = sizeof(DROPFILES);
    drop->pt = request.Point;
    drop->fNC = FALSE;
    drop->fWide = request.WideNames ? TRUE : FALSE;
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), request.Names, names);
    ::GlobalUnlock(block);
    const HWND window = reinterpret_cast<HWND>(request.Window);
    if (!::PostMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0)) {
        const DWORD error = ::GetLastError();
        ::GlobalFree(block);
        return error ? static_cast<LONG>(error) : -1;
    }
    return 0;
}

LONG Capture(THookRequest& request)
{
    const HWND window = reinterpret_cast<HWND>(request.Window);
    if (!::IsWindow(window))
        return ERROR_INVALID_WINDOW_HANDLE;
    // A paint still to come would change the picture.
    if (::GetUpdateRect(window, nullptr, FALSE))
        return HookPaintPending;
    const TestDriver::TCapture picture = TestDriver::CaptureOwnWindow(window);
    if (picture.Width <= 0 || picture.Height <= 0)
        return -1;
    if (picture.Pixels.size() > THookRequest::MaxPixels)
        return HookCaptureTooLarge;
    request.Width = picture.Width;
    request.Height = picture.Height;
    std::copy(picture.Pixels.begin(), picture.Pixels.end(), request.Pixels);
    return 0;
}

UINT FindCommand(HMENU menu, const char* caption)
{
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (const HMENU sub = ::GetSubMenu(menu, i)) {
            if (const UINT found = FindCommand(sub, caption))
                return found;
            continue;
        }
        char text[256] = {};
        ::GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        // The shortcut's text follows a tab.
        if (char* tab = std::strchr(text, '\t'))
            *tab = '\0';
        if (std::strcmp(text, caption) == 0)
            return ::GetMenuItemID(menu, i);
    }
    return 0;
}

LONG Serve(THookRequest& request)
{
    switch (request.Kind) {
    case hkDrop: return PostDrop(request);
    case hkCapture: return Capture(request);
    case hkMenuCommand: {
        const HMENU menu = ::GetMenu(reinterpret_cast<HWND>(request.Window));
        request.Command = menu ? static_cast<LONG>(FindCommand(menu, request.Names)) : 0;
        return menu ? 0 : ERROR_INVALID_MENU_HANDLE;
    }
    case hkResources: request.Resources = CountProcessResources(); return 0;
    case hkFillDcCache: {
        // The system keeps the DCs it hands out for windows in a cache that
        // grows to the most ever in use at once and never shrinks: taken
        // this many at once, later use finds it full.
        HDC dcs[64] = {};
        const HWND window = reinterpret_cast<HWND>(request.Window);
        for (HDC& dc : dcs)
            dc = ::GetDCEx(window, nullptr, DCX_CACHE);
        for (HDC dc : dcs)
            if (dc)
                ::ReleaseDC(window, dc);
        return 0;
    }
    case hkLoadSystemImages: {
        // The system's cursors and icons are shared: each is made (three
        // bitmaps under Wine) the first time the process asks for it, by a
        // window under the pointer for instance, and kept for good.
        static const LPCSTR Cursors[] = {IDC_ARROW,    IDC_IBEAM,    IDC_WAIT,        IDC_CROSS,  IDC_UPARROW,
                                         IDC_SIZENWSE, IDC_SIZENESW, IDC_SIZEWE,      IDC_SIZENS, IDC_SIZEALL,
                                         IDC_NO,       IDC_HAND,     IDC_APPSTARTING, IDC_HELP};
        static const LPCSTR Icons[] = {IDI_APPLICATION, IDI_HAND,     IDI_QUESTION,
                                       IDI_EXCLAMATION, IDI_ASTERISK, IDI_WINLOGO};
        for (LPCSTR id : Cursors)
            if (!::LoadCursorA(nullptr, id))
                return static_cast<LONG>(::GetLastError());
        for (LPCSTR id : Icons)
            if (!::LoadIconA(nullptr, id))
                return static_cast<LONG>(::GetLastError());
        return 0;
    }
    case hkHeapMark: return MarkHeapBlocks() ? 0 : ERROR_NOT_ENOUGH_MEMORY;
    case hkHeapReport: ReportHeapBlocks(reinterpret_cast<char*>(request.Pixels), sizeof request.Pixels); return 0;
    default: return ERROR_INVALID_FUNCTION;
    }
}

void ServeRequest()
{
    THookRequest* request = MappedRequest();
    if (!request)
        return;
    const LONG sequence = request->Sequence;
    if (sequence == request->Handled)
        return;
    request->Error = Serve(*request);
    ::InterlockedExchange(&request->Handled, sequence);
}

void NoteKey(const MSG& message)
{
    THookRequest* request = MappedRequest();
    if (!request || message.message != WM_KEYDOWN)
        return;
    request->LastKeyWindow = reinterpret_cast<ULONG_PTR>(message.hwnd);
    request->LastKey = static_cast<LONG>(message.wParam);
    ::InterlockedIncrement(&request->KeyDowns);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK EndToEndHookGetMessage(int code, WPARAM wParam, LPARAM lParam)
{
    // Nothing may unwind into the program's message retrieval.
    try {
        if (code >= 0 && wParam == PM_REMOVE)
            NoteKey(*reinterpret_cast<const MSG*>(lParam));
        if (code >= 0)
            ServeRequest();
    } catch (...) {}
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK EndToEndHookWindows(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_DESTROYWND) {
        const HWND window = reinterpret_cast<HWND>(wParam);
        char className[16] = {};
        ::GetClassNameA(window, className, sizeof className);
        THookRequest* request = MappedRequest();
        if (request && request->DeleteOnDialogEnd[0] && std::strcmp(className, "#32770") == 0 &&
            !(::GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) {
            request->DeletedError = ::DeleteFileA(request->DeleteOnDialogEnd) ? 0 : static_cast<LONG>(::GetLastError());
            request->DeleteOnDialogEnd[0] = 0;
            ::InterlockedIncrement(&request->DeletedCount);
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_DETACH && !reserved && Request)
        ::UnmapViewOfFile(Request);
    return TRUE;
}
