#pragma once

// The busy blocks of every heap of the calling process, compared with those
// of an earlier census: which blocks have come since, grouped by size, with
// the first bytes of one of each size, and the private memory committed
// outside any heap. Its own records live outside the heaps it walks.

#include <windows.h>

#include <cstddef>

// The heap that holds the C runtime's blocks, where the program's own
// allocations are; the system's libraries use the process heap.
HANDLE RuntimeHeap();

// Notes the busy blocks now; false when the records could not be made.
bool MarkHeapBlocks();

// Writes, as text ending in a zero, what has come and gone since the mark
// into `text` (at most `size` bytes).
void ReportHeapBlocks(char* text, std::size_t size);
