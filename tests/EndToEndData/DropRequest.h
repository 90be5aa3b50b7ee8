#pragma once

// The request a test hands to the drop hook library inside the program's
// process, through a named file mapping of that process's id.

#include <windows.h>

#include <string>

struct TDropRequest {
    // The test raises Sequence for each drop; the hook sets Handled to it
    // once the drop message is posted (or failed: Error is then non-zero).
    volatile LONG Sequence;
    volatile LONG Handled;
    LONG Error;
    // The window that gets the drop message, as an integer of pointer width.
    ULONG_PTR Window;
    POINT Point;
    // Full names, each ending in a zero, the list in one more zero.
    char Names[8192];
};

inline std::string DropRequestMappingName(DWORD processId)
{
    return "QuorvelEndToEndDrop." + std::to_string(processId);
}
