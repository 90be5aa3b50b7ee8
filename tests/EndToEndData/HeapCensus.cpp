#include "tests/EndToEndData/HeapCensus.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

struct TBlock {
    ULONG_PTR Address;
    SIZE_T Size;
    DWORD Heap;
};

// Records in memory of their own, so that walking the heaps never meets
// them or makes them grow.
constexpr std::size_t MaxBlocks = 4u << 20;

struct TRecords {
    TBlock* Blocks = nullptr;
    std::size_t Count = 0;
};

TRecords Marked, Now;

// The process's heaps, at most MaxHeaps of them: how many are in `heaps`.
constexpr DWORD MaxHeaps = 256;

DWORD ProcessHeaps(HANDLE (&heaps)[MaxHeaps])
{
    return std::min<DWORD>(::GetProcessHeaps(MaxHeaps, heaps), MaxHeaps);
}
SIZE_T MarkedOutside = 0;

bool Reserve(TRecords& records)
{
    if (!records.Blocks)
        records.Blocks = static_cast<TBlock*>(
            ::VirtualAlloc(nullptr, MaxBlocks * sizeof(TBlock), MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    records.Count = 0;
    return records.Blocks != nullptr;
}

// Private memory committed outside the heaps' own regions and the records.
SIZE_T PrivateOutsideHeaps(SIZE_T inHeaps)
{
    SIZE_T committed = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (auto* at = static_cast<char*>(nullptr);
         ::VirtualQuery(at, &region, sizeof region) == sizeof region && at + region.RegionSize > at;
         at = static_cast<char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            committed += region.RegionSize;
    }
    const SIZE_T records = 2 * MaxBlocks * sizeof(TBlock);
    return committed > inHeaps + records ? committed - inHeaps - records : 0;
}

// Takes the census into `records`; returns the heaps' committed bytes.
SIZE_T Take(TRecords& records)
{
    HANDLE heaps[MaxHeaps];
    const DWORD count = ProcessHeaps(heaps);
    SIZE_T committed = 0;
    for (DWORD h = 0; h < count; ++h) {
        if (!::HeapLock(heaps[h]))
            continue;
        PROCESS_HEAP_ENTRY entry{};
        while (::HeapWalk(heaps[h], &entry)) {
            if (entry.wFlags & PROCESS_HEAP_REGION)
                committed += entry.Region.dwCommittedSize;
            if ((entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) && records.Count < MaxBlocks)
                records.Blocks[records.Count++] = {reinterpret_cast<ULONG_PTR>(entry.lpData), entry.cbData, h};
        }
        ::HeapUnlock(heaps[h]);
    }
    std::sort(records.Blocks, records.Blocks + records.Count,
              [](const TBlock& a, const TBlock& b) { return a.Address < b.Address; });
    return committed;
}

bool Contains(const TRecords& records, const TBlock& block)
{
    const TBlock* begin = records.Blocks;
    const TBlock* end = begin + records.Count;
    const TBlock* found =
        std::lower_bound(begin, end, block, [](const TBlock& a, const TBlock& b) { return a.Address < b.Address; });
    return found != end && found->Address == block.Address && found->Size == block.Size;
}

constexpr std::size_t MaxGroups = 65536;

struct TGroup {
    SIZE_T Size;
    std::size_t Count;
    ULONG_PTR Example;
    DWORD Heap;
};

}  // namespace

HANDLE RuntimeHeap()
{
    HANDLE heaps[MaxHeaps];
    const DWORD count = ProcessHeaps(heaps);
    void* probe = std::malloc(1);
    HANDLE found = nullptr;
    for (DWORD h = 0; probe && !found && h < count; ++h)
        if (::HeapValidate(heaps[h], 0, probe))
            found = heaps[h];
    std::free(probe);
    return found;
}

bool MarkHeapBlocks()
{
    if (!Reserve(Marked) || !Reserve(Now))
        return false;
    MarkedOutside = PrivateOutsideHeaps(Take(Marked));
    return true;
}

void ReportHeapBlocks(char* text, std::size_t size)
{
    std::size_t used = 0;
    const auto print = [&](const char* format, auto... values) {
        if (used < size) {
            const int written = std::snprintf(text + used, size - used, format, values...);
            if (written > 0)
                used = std::min(size - 1, used + static_cast<std::size_t>(written));
        }
    };
    text[0] = 0;
    if (!Marked.Blocks || !Reserve(Now)) {
        print("no mark was taken\n");
        return;
    }
    const SIZE_T outside = PrivateOutsideHeaps(Take(Now));
    SIZE_T goneBytes = 0, newBytes = 0;
    std::size_t gone = 0;
    for (std::size_t i = 0; i < Marked.Count; ++i)
        if (!Contains(Now, Marked.Blocks[i])) {
            ++gone;
            goneBytes += Marked.Blocks[i].Size;
        }
    // The new blocks are gathered at the front of Now, and their groups by
    // size written over the marked records, no longer needed.
    std::size_t fresh = 0;
    for (std::size_t i = 0; i < Now.Count; ++i)
        if (!Contains(Marked, Now.Blocks[i]))
            Now.Blocks[fresh++] = Now.Blocks[i];
    auto* groups = reinterpret_cast<TGroup*>(Marked.Blocks);
    std::size_t groupCount = 0;
    for (std::size_t i = 0; i < fresh; ++i) {
        const TBlock& block = Now.Blocks[i];
        newBytes += block.Size;
        TGroup* group =
            std::find_if(groups, groups + groupCount, [&](const TGroup& g) { return g.Size == block.Size; });
        if (group == groups + groupCount) {
            if (groupCount == MaxGroups)
                continue;
            groups[groupCount++] = {block.Size, 0, block.Address, block.Heap};
        }
        ++group->Count;
    }
    std::sort(groups, groups + groupCount,
              [](const TGroup& a, const TGroup& b) { return a.Size * a.Count > b.Size * b.Count; });
    HANDLE heaps[MaxHeaps];
    const DWORD heapCount = ProcessHeaps(heaps);
    const HANDLE runtime = RuntimeHeap();
    for (DWORD h = 0; h < heapCount; ++h)
        if (heaps[h] == ::GetProcessHeap() || heaps[h] == runtime)
            print("heap %lu: the %s heap\n", static_cast<unsigned long>(h),
                  heaps[h] == runtime ? "C runtime's" : "process");
    print("heap blocks: %zu new (%zu bytes), %zu gone (%zu bytes); private outside heaps %+lld bytes\n", fresh,
          static_cast<std::size_t>(newBytes), gone, static_cast<std::size_t>(goneBytes),
          static_cast<long long>(outside) - static_cast<long long>(MarkedOutside));
    for (std::size_t g = 0; g < std::min<std::size_t>(groupCount, 40); ++g) {
        print("%8zu x %6zu bytes (heap %lu):", groups[g].Count, static_cast<std::size_t>(groups[g].Size),
              static_cast<unsigned long>(groups[g].Heap));
        const auto* bytes = reinterpret_cast<const unsigned char*>(groups[g].Example);
        const std::size_t shown = std::min<std::size_t>(groups[g].Size, 48);
        for (std::size_t b = 0; b < shown; ++b)
            print(" %02x", bytes[b]);
        print("  |");
        for (std::size_t b = 0; b < shown; ++b)
            print("%c", bytes[b] >= 0x20 && bytes[b] < 0x7f ? bytes[b] : '.');
        print("|\n");
    }
    Marked.Count = 0;
}
