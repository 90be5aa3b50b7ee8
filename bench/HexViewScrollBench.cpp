// Holding Down through a 100 MiB file in a 1280 x 1024 view: each key
// painted before the next, as with a key held down. One-row steps with the
// scrolling shortcut, the same steps with a whole repaint each, page steps,
// and the bare platform calls of a one-row move.
//   HexViewScrollBench [steps]

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/HexViewBenchSupport.h"
#include "hexview/VxHexViewer.h"

using namespace hexviewbench;

namespace {

constexpr int Width = 1280;
constexpr int Height = 1024;

// Seconds per step over `steps` presses of `key`.
double PerStep(TVxHexViewer& viewer, WORD key, int steps, bool wholeRepaint)
{
    HWND window = viewer.Handle();
    ::UpdateWindow(window);
    const double start = Seconds();
    for (int i = 0; i < steps; ++i) {
        ::SendMessageA(window, WM_KEYDOWN, key, 1);
        if (wholeRepaint)
            viewer.Invalidate();
        ::UpdateWindow(window);
    }
    ::GdiFlush();
    return (Seconds() - start) / steps;
}

// Seconds per redraw of the scroll bar's thumb alone, the part of every
// step that the client area does not decide.
double PerBarRedraw(TVxHexViewer& viewer, int steps)
{
    HWND window = viewer.Handle();
    const double start = Seconds();
    for (int i = 0; i < steps; ++i)
        ::SetScrollPos(window, SB_VERT, viewer.TopRow() + 1 + i % 2, TRUE);
    ::GdiFlush();
    const double seconds = (Seconds() - start) / steps;
    ::SetScrollPos(window, SB_VERT, viewer.TopRow(), TRUE);
    return seconds;
}

// Seconds per bare one-row move: the pixels moved and the exposed strip
// repainted, called directly, as every one-row step must at least cost.
double PerBareScroll(TVxHexViewer& viewer, int steps)
{
    HWND window = viewer.Handle();
    RECT client{};
    ::GetClientRect(window, &client);
    const int height = viewer.CellHeight();
    RECT moved = client;
    moved.top = height;
    RECT strip = client;
    strip.top = client.bottom - height;
    ::UpdateWindow(window);
    const double start = Seconds();
    for (int i = 0; i < steps; ++i) {
        ::ScrollWindow(window, 0, -height, &moved, &client);
        ::InvalidateRect(window, &strip, FALSE);
        ::UpdateWindow(window);
    }
    ::GdiFlush();
    const double seconds = (Seconds() - start) / steps;
    viewer.Invalidate();
    ::UpdateWindow(window);
    return seconds;
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        const int steps = argc > 1 ? std::atoi(argv[1]) : 100;
        constexpr int Batches = 9;
        TVxHexViewer* viewer = BenchViewer(Width, Height);
        viewer->SetFileName(ScratchFile("quorvel-bench-100m.bin", std::int64_t{100} << 20));
        Pump();
        // From the last fully visible row on, every Down scrolls one row.
        viewer->SetCurrentRow(viewer->VisibleRows() - 2);
        Pump();

        std::vector<double> shortcut, whole, page, bar, bare;
        for (int batch = 0; batch < Batches; ++batch) {
            shortcut.push_back(PerStep(*viewer, VK_DOWN, steps, false));
            whole.push_back(PerStep(*viewer, VK_DOWN, steps, true));
            page.push_back(PerStep(*viewer, VK_NEXT, steps / 4 + 1, false));
            bar.push_back(PerBarRedraw(*viewer, steps / 4 + 1));
            bare.push_back(PerBareScroll(*viewer, steps));
        }
        const double rows = viewer->RowCount();
        std::printf("100 MiB, %d bytes per row, %.0f rows; %d rows in view; median of %d batches\n",
                    viewer->BytesPerRow(), rows, viewer->VisibleRows(), Batches);
        const auto report = [&](const char* what, double perStep, double rowsPerStep) {
            std::printf("%-40s %8.3f ms/step %8.0f steps/s   whole file in %7.0f s\n", what, perStep * 1000,
                        1 / perStep, rows / rowsPerStep * perStep);
        };
        report("Down, one-row scroll and strip", Median(shortcut), 1);
        report("Down, whole repaint every step", Median(whole), 1);
        report("Page Down", Median(page), viewer->VisibleRows());
        std::printf("%-40s %8.3f ms/step\n", "bare ScrollWindow + strip repaint", Median(bare) * 1000);
        std::printf("%-40s %8.3f ms, made only when the thumb moves\n", "scroll bar thumb redraw alone",
                    Median(bar) * 1000);
        std::printf("current row at the end: %d\n", viewer->CurrentRow());
        std::fflush(stdout);
        ::ExitProcess(0);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
