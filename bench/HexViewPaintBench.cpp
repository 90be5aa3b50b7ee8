// A full repaint of a 1280 x 1024 view at 32 bytes per row: the viewer's
// paint routine, the bare text calls it makes (texts built beforehand) on
// the same memory DC, and a whole repaint of the window on screen.
//   HexViewPaintBench [repaints]

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/HexViewBenchSupport.h"
#include "hexview/VxHexViewer.h"
#include "tests/support/TestDriver.h"

using namespace hexviewbench;

namespace {

constexpr int Width = 1280;
constexpr int Height = 1024;

struct TRowTexts {
    std::string Address;
    std::string Hex;
    const char* Characters = nullptr;
    int Count = 0;
};

// Seconds per repaint over one batch.
double PerRepaint(int repaints, auto&& paint)
{
    ::GdiFlush();
    const double start = Seconds();
    for (int i = 0; i < repaints; ++i)
        paint();
    ::GdiFlush();
    return (Seconds() - start) / repaints;
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        const int repaints = argc > 1 ? std::atoi(argv[1]) : 20;
        constexpr int Batches = 15;
        TVxHexViewer* viewer = BenchViewer(Width, Height);
        viewer->SetAddressColor(0x800080);
        viewer->SetAnsiCharColor(0x008000);
        viewer->SetFileName(ScratchFile("quorvel-bench-1m.bin", std::int64_t{1} << 20));
        Pump();
        std::printf("view %d x %d, cell %d x %d, %d bytes per row, %d rows drawn\n", Width, Height, viewer->CellWidth(),
                    viewer->CellHeight(), viewer->BytesPerRow(), viewer->VisibleRows());

        TestDriver::TDibImage canvas(Width, Height);
        if (!canvas.DC())
            throw std::runtime_error("no memory bitmap of the view's size");
        const auto routine = [&] { viewer->PaintTo(canvas.DC()); };

        // The same calls with every text ready.
        std::vector<TRowTexts> rows(static_cast<std::size_t>(viewer->VisibleRows()));
        for (int i = 0; i < viewer->VisibleRows(); ++i) {
            auto& row = rows[static_cast<std::size_t>(i)];
            row.Address = viewer->GetAddressText(i);
            row.Hex = viewer->GetHexText(i);
            row.Characters = reinterpret_cast<const char*>(viewer->GetRowBytes(i));
            row.Count = viewer->BytesPerRow();
        }
        const int cell = viewer->CellWidth();
        const int height = viewer->CellHeight();
        const INT tab = 3 * cell;
        const int a = 10 * cell;
        const int charLeft = a + 3 * cell * viewer->BytesPerRow();
        HFONT font = viewer->Font().Handle();
        const auto bare = [&] {
            HDC dc = canvas.DC();
            HGDIOBJ oldFont = ::SelectObject(dc, font);
            ::SetBkMode(dc, OPAQUE);
            ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
            RECT r{1, 0, Width, height};
            for (const auto& row : rows) {
                r.left = 1;
                r.right = 1 + a;
                ::SetTextColor(dc, RGB(0x80, 0, 0x80));
                ::ExtTextOutA(dc, r.left, r.top, ETO_OPAQUE | ETO_CLIPPED, &r, row.Address.data(), 9, nullptr);
                ::SetTextColor(dc, 0);
                ::TabbedTextOutA(dc, r.right, r.top, row.Hex.data(), 3 * row.Count - 1, 1, &tab, r.right);
                r.left = charLeft;
                r.right = Width;
                ::SetTextColor(dc, RGB(0, 0x80, 0));
                ::ExtTextOutA(dc, r.left, r.top, ETO_OPAQUE | ETO_CLIPPED, &r, row.Characters,
                              static_cast<UINT>(row.Count), nullptr);
                ::OffsetRect(&r, 0, height);
            }
            ::SelectObject(dc, oldFont);
        };
        // One row's strip, as after a one-row scroll: the rest is clipped.
        HRGN strip = ::CreateRectRgn(0, Height - viewer->CellHeight(), Width, Height);
        const auto clipped = [&] {
            ::SelectClipRgn(canvas.DC(), strip);
            viewer->PaintTo(canvas.DC());
            ::SelectClipRgn(canvas.DC(), nullptr);
        };
        const auto screen = [&] {
            ::InvalidateRect(viewer->Handle(), nullptr, TRUE);
            ::UpdateWindow(viewer->Handle());
        };

        // Batches take turns, so a busy moment hits all three alike.
        std::vector<double> routineTimes, bareTimes, screenTimes, clippedTimes;
        routine();
        bare();
        screen();
        for (int batch = 0; batch < Batches; ++batch) {
            routineTimes.push_back(PerRepaint(repaints, routine));
            bareTimes.push_back(PerRepaint(repaints, bare));
            screenTimes.push_back(PerRepaint(repaints, screen));
            clippedTimes.push_back(PerRepaint(repaints, clipped));
        }
        std::printf("median of %d batches of %d repaints\n", Batches, repaints);
        std::printf("%-48s %8.3f ms\n", "paint routine into a memory DC", Median(routineTimes) * 1000);
        std::printf("%-48s %8.3f ms\n", "bare text calls, texts ready, same DC", Median(bareTimes) * 1000);
        std::printf("%-48s %8.3f ms\n", "whole window repaint on screen (erase + paint)", Median(screenTimes) * 1000);
        std::printf("%-48s %8.3f ms\n", "paint routine clipped to one row's strip", Median(clippedTimes) * 1000);
        std::fflush(stdout);
        ::ExitProcess(0);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
