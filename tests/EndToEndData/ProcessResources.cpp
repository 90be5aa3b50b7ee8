#include "tests/EndToEndData/ProcessResources.h"

#include "tests/EndToEndData/HeapCensus.h"

#include <psapi.h>

#include <algorithm>

namespace {

LONG CountMenus(HMENU menu)
{
    LONG count = 1;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i)
        if (const HMENU sub = ::GetSubMenu(menu, i))
            count += CountMenus(sub);
    return count;
}

struct TWindowCount {
    LONG Windows = 0;
    LONG Menus = 0;
};

BOOL CALLBACK CountChildWindow(HWND, LPARAM state)
{
    ++reinterpret_cast<TWindowCount*>(state)->Windows;
    return TRUE;
}

BOOL CALLBACK CountProcessWindow(HWND window, LPARAM state)
{
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process == ::GetCurrentProcessId()) {
        auto& count = *reinterpret_cast<TWindowCount*>(state);
        ++count.Windows;
        if (const HMENU menu = ::GetMenu(window))
            count.Menus += CountMenus(menu);
        // Children are counted here, once: EnumChildWindows reaches all
        // descendants by itself.
        ::EnumChildWindows(window, CountChildWindow, state);
    }
    return TRUE;
}

// The C runtime's heap: its busy blocks and their bytes.
void CountRuntimeHeap(THookResources& out)
{
    const HANDLE heap = RuntimeHeap();
    if (!heap || !::HeapLock(heap))
        return;
    PROCESS_HEAP_ENTRY entry{};
    while (::HeapWalk(heap, &entry))
        if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) {
            ++out.RuntimeHeapBlocks;
            out.RuntimeHeapBytes += entry.cbData;
        }
    ::HeapUnlock(heap);
}

}  // namespace

THookResources CountProcessResources()
{
    THookResources out{};
    const HANDLE self = ::GetCurrentProcess();
    out.GdiObjects = static_cast<LONG>(::GetGuiResources(self, GR_GDIOBJECTS));
    if (out.GdiObjects == 0) {
        // The table is the process's own; its handles name an entry by their
        // low word.
        for (ULONG_PTR index = 1; index < 0x10000; ++index)
            if (const DWORD type = ::GetObjectType(reinterpret_cast<HGDIOBJ>(index))) {
                ++out.GdiObjects;
                ++out.GdiByType[type & 15];
            }
    }
    out.UserObjects = static_cast<LONG>(::GetGuiResources(self, GR_USEROBJECTS));
    TWindowCount windows;
    ::EnumWindows(CountProcessWindow, reinterpret_cast<LPARAM>(&windows));
    out.Windows = windows.Windows;
    out.Menus = windows.Menus;
    DWORD handles = 0;
    if (!::GetProcessHandleCount(self, &handles) || handles == 0) {
        handles = 0;
        for (ULONG_PTR value = 4; value < 0x40000; value += 4) {
            DWORD flags = 0;
            if (::GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags))
                ++handles;
        }
    }
    out.Handles = static_cast<LONG>(handles);
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    ::GetProcessMemoryInfo(self, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
    // Wine leaves PrivateUsage at 0 and counts the private commit as the
    // page-file use, which Windows reports as the same figure.
    out.PrivateBytes = std::max<ULONGLONG>(memory.PrivateUsage, memory.PagefileUsage);
    CountRuntimeHeap(out);
    return out;
}
