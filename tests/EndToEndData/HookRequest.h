#pragma once

// The request a test hands to the hook library inside the program's process,
// through a named file mapping of that process's id: a drop made there as
// the shell makes it, or a window's pixels read there from the window's own
// drawing surface, which other windows on the screen cannot cover. The hook
// also notes the key presses the thread takes, and can delete a file the
// moment the open dialog's window goes, before the program reads the name
// the dialog gave it.

#include <windows.h>

#include <cstdint>
#include <string>

enum THookRequestKind : LONG {
    hkDrop = 1,
    hkCapture = 2,
    hkMenuCommand = 3,
    hkResources = 4,
    hkFillDcCache = 5,
    hkLoadSystemImages = 6,
    hkHeapMark = 7,
    hkHeapReport = 8
};

// What the process holds, as counted inside it. The system's own counts
// where it keeps them (GetGuiResources, GetProcessHandleCount); where it
// does not (Wine), the live entries of the process's GDI handle table and
// of its kernel handles, found by asking for every possible handle.
struct THookResources {
    LONG GdiObjects;
    LONG GdiByType[16];  // by GetObjectType (OBJ_PEN 1 ... OBJ_COLORSPACE 14), where counted here
    LONG UserObjects;  // 0 where the system does not count them
    LONG Windows;  // the process's windows, top-level and child
    LONG Menus;  // menus reachable from those windows
    LONG Handles;
    ULONGLONG PrivateBytes;
    // Busy blocks of the C runtime's heap, where the program's own
    // allocations are; the system's libraries use heaps of their own.
    LONG RuntimeHeapBlocks;
    ULONGLONG RuntimeHeapBytes;
};

// Capture results beside Error.
constexpr LONG HookPaintPending = -2;  // the window has an update still to paint
constexpr LONG HookCaptureTooLarge = -3;

struct THookRequest {
    // The test raises Sequence for each request; the hook sets Handled to it
    // once the request is served (Error is then non-zero when it failed).
    volatile LONG Sequence;
    volatile LONG Handled;
    LONG Error;
    LONG Kind;
    // The window asked about, as an integer of pointer width.
    ULONG_PTR Window;
    // A drop: where, and full names, each ending in a zero, the list in one
    // more zero; UTF-16 when WideNames is set, as the shell gives names
    // outside the ANSI code page.
    POINT Point;
    LONG WideNames;
    char Names[8192];
    // A menu command: the caption of the item (the text the menu shows,
    // mnemonic marks included) in Names; its command id comes back in
    // Command, 0 when no item of the window's menu has it.
    LONG Command;
    THookResources Resources;
    // Deleted (and cleared) when a top-level dialog window of the thread is
    // destroyed; DeletedError is then 0 or the error of the deletion.
    char DeleteOnDialogEnd[MAX_PATH];
    volatile LONG DeletedCount;
    LONG DeletedError;
    // Every key press the thread takes from its queue, whatever the request.
    volatile LONG KeyDowns;
    ULONG_PTR LastKeyWindow;
    LONG LastKey;
    // A capture: the client area as 0x00RRGGBB, rows from the top. A heap
    // report: text in the same place.
    LONG Width;
    LONG Height;
    static constexpr std::size_t MaxPixels = 1600 * 1200;
    std::uint32_t Pixels[MaxPixels];
};

inline std::string HookRequestMappingName(DWORD processId)
{
    return "QuorvelEndToEndHook." + std::to_string(processId);
}
