#include "hexview/VxHexViewer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>

#include "tests/HexViewerFixture.h"
#include "tests/support/TestDriver.h"

namespace {

using hexviewtest::HexViewerTest;
using hexviewtest::PatternBytes;
using hexviewtest::TDibCanvas;

int BarPosition(HWND window)
{
    SCROLLINFO info{sizeof info, SIF_POS | SIF_RANGE, 0, 0, 0, 0, 0};
    ::GetScrollInfo(window, SB_VERT, &info);
    return info.nPos;
}

// 100 rows of 14 bytes, 11 visible rows (10 fully visible) of 17 pixels.
class HexViewerScroll : public HexViewerTest {
protected:
    void SetUp() override
    {
        HexViewerTest::SetUp();
        UseKnownFont();
        if (IsSkipped())
            return;
        SetClientSize(600, 170);
        Load(1400);
    }
    void Load(std::size_t size)
    {
        FViewer->SetFileName(FFolder.Write("rows" + std::to_string(++FFiles) + ".bin", PatternBytes(size)));
        Pump();
    }
    int FFiles = 0;
};

TEST_F(HexViewerScroll, PageDownMovesTheCurrentRowAPageAndTheBarMovesOneRowLess)
{
    ASSERT_EQ(FViewer->VisibleRows(), 11);
    ASSERT_EQ(FViewer->RowCount(), 100);
    Key(VK_NEXT);
    EXPECT_EQ(FViewer->CurrentRow(), 11);
    EXPECT_EQ(FViewer->TopRow(), 2);
    EXPECT_EQ(BarPosition(Window()), 2);

    Key(VK_HOME);
    ASSERT_EQ(FViewer->TopRow(), 0);
    VScroll(SB_PAGEDOWN);
    EXPECT_EQ(FViewer->TopRow(), 10);
    EXPECT_EQ(FViewer->CurrentRow(), 0);
    VScroll(SB_PAGEUP);
    EXPECT_EQ(FViewer->TopRow(), 0);
}

TEST_F(HexViewerScroll, ScrollBarLeavesTheCurrentRowWhereItWas)
{
    Key(VK_DOWN);
    Key(VK_DOWN);
    ASSERT_EQ(FViewer->CurrentRow(), 2);
    for (int i = 0; i < 3; ++i)
        VScroll(SB_PAGEDOWN);
    VScroll(SB_LINEDOWN);
    EXPECT_EQ(FViewer->TopRow(), 31);
    EXPECT_EQ(BarPosition(Window()), 31);
    EXPECT_EQ(FViewer->CurrentRow(), 2);
    // The next key moves from the current row and brings it back into view.
    Key(VK_DOWN);
    EXPECT_EQ(FViewer->CurrentRow(), 3);
    EXPECT_EQ(FViewer->TopRow(), 3);
}

TEST_F(HexViewerScroll, EndHomeAndTheEdgesOfTheData)
{
    Key(VK_END);
    EXPECT_EQ(FViewer->CurrentRow(), 99);
    EXPECT_EQ(FViewer->TopRow(), 90);
    Key(VK_DOWN);
    EXPECT_EQ(FViewer->CurrentRow(), 99);
    EXPECT_EQ(FViewer->TopRow(), 90);
    Key(VK_PRIOR);
    EXPECT_EQ(FViewer->CurrentRow(), 88);
    EXPECT_EQ(FViewer->TopRow(), 88);
    Key(VK_HOME);
    EXPECT_EQ(FViewer->CurrentRow(), 0);
    EXPECT_EQ(FViewer->TopRow(), 0);
    Key(VK_UP);
    Key(VK_LEFT);
    Key(VK_RIGHT);
    EXPECT_EQ(FViewer->CurrentRow(), 0);
    EXPECT_EQ(FViewer->TopRow(), 0);
}

TEST_F(HexViewerScroll, EndWhenAllRowsFitDoesNotMoveTheView)
{
    Load(14 * 5);
    Key(VK_END);
    EXPECT_EQ(FViewer->CurrentRow(), 4);
    EXPECT_EQ(FViewer->TopRow(), 0);
}

TEST_F(HexViewerScroll, ModifiersAreNotLookedAt)
{
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = keys[VK_SHIFT] = 0x80;
    ::SetKeyboardState(keys);
    Key(VK_END);
    Key(VK_HOME);
    Key(VK_DOWN);
    keys[VK_CONTROL] = keys[VK_SHIFT] = 0;
    ::SetKeyboardState(keys);
    EXPECT_EQ(FViewer->CurrentRow(), 1);
}

TEST_F(HexViewerScroll, KeyDownHandlerRunsFirstAndMayChangeTheKey)
{
    std::vector<WORD> seen;
    FViewer->OnKeyDown = [&](TComponent* sender, WORD& key, TShiftState) {
        EXPECT_EQ(sender, FViewer);
        seen.push_back(key);
        if (key == VK_DOWN)
            key = 0;
        else if (key == VK_UP)
            key = VK_END;
    };
    Key(VK_DOWN);
    EXPECT_EQ(FViewer->CurrentRow(), 0);
    Key(VK_UP);
    EXPECT_EQ(FViewer->CurrentRow(), 99);
    EXPECT_EQ(seen, (std::vector<WORD>{VK_DOWN, VK_UP}));
}

TEST_F(HexViewerScroll, ThumbReachesTheLastRowAndOtherCodesDoNothing)
{
    VScroll(SB_THUMBTRACK, 50);
    EXPECT_EQ(FViewer->TopRow(), 50);
    for (const int code : {SB_TOP, SB_BOTTOM, SB_ENDSCROLL, 9})
        VScroll(code);
    EXPECT_EQ(FViewer->TopRow(), 50);
    VScroll(SB_THUMBPOSITION, 99);
    EXPECT_EQ(FViewer->TopRow(), 99);
    VScroll(SB_THUMBTRACK, 500);
    EXPECT_EQ(FViewer->TopRow(), 99);
    VScroll(SB_LINEDOWN);
    EXPECT_EQ(FViewer->TopRow(), 99);

    // The last row on top, blank rows below it.
    Pump();
    TDibCanvas shot(600, 170);
    shot.CaptureClient(Window());
    const COLORREF back = ::GetSysColor(COLOR_WINDOW);
    EXPECT_FALSE(shot.All(back, 0, 0, 600, 17));
    EXPECT_TRUE(shot.All(back, 0, 17, 600, 170));
}

TEST_F(HexViewerScroll, ThumbBeyond32767RowsFromTheMessageAlone)
{
    SetClientSize(50, 170);
    Load(50000);
    ASSERT_EQ(FViewer->BytesPerRow(), 1);
    VScroll(SB_THUMBTRACK, 40000);
    EXPECT_EQ(FViewer->TopRow(), 40000);
    VScroll(SB_THUMBPOSITION, 49999);
    EXPECT_EQ(FViewer->TopRow(), 49999);
}

TEST_F(HexViewerScroll, ResizeKeepsTheTopRowAndRecomputesTheRange)
{
    Key(VK_NEXT);
    VScroll(SB_THUMBPOSITION, 40);
    const int current = FViewer->CurrentRow();
    SetClientSize(400, 300);
    EXPECT_EQ(FViewer->BytesPerRow(), 8);
    EXPECT_EQ(FViewer->RowCount(), 175);
    EXPECT_EQ(FViewer->VisibleRows(), 18);
    EXPECT_EQ(FViewer->TopRow(), 40);
    EXPECT_EQ(FViewer->CurrentRow(), current);
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_POS, 0, 0, 0, 0, 0};
    ASSERT_TRUE(::GetScrollInfo(Window(), SB_VERT, &info));
    EXPECT_EQ(info.nMax, 174);
    EXPECT_EQ(info.nPos, 40);
}

TEST_F(HexViewerScroll, NewFileStartsAtItsFirstRow)
{
    Key(VK_END);
    Load(2800);
    EXPECT_EQ(FViewer->TopRow(), 0);
    EXPECT_EQ(FViewer->CurrentRow(), 0);
    EXPECT_EQ(BarPosition(Window()), 0);
}

TEST_F(HexViewerScroll, NoRowsNeverGiveANegativeRow)
{
    FViewer->SetFileName(FFolder.Write("none.bin", {}));
    ASSERT_EQ(FViewer->RowCount(), 0);
    const int width = FViewer->ClientWidth();
    for (const int key : {VK_END, VK_DOWN, VK_NEXT, VK_UP, VK_PRIOR})
        Key(static_cast<WORD>(key));
    for (const int code : {SB_LINEDOWN, SB_LINEUP, SB_PAGEDOWN, SB_PAGEUP})
        VScroll(code);
    VScroll(SB_THUMBTRACK, 7);
    FViewer->ScrollTo(5);
    FViewer->SetCurrentRow(-3);
    FViewer->SetCurrentRow(8);
    EXPECT_EQ(FViewer->TopRow(), 0);
    EXPECT_EQ(FViewer->CurrentRow(), 0);
    // The bar stays, disabled, so the row width does not change.
    SCROLLBARINFO bar{};
    bar.cbSize = sizeof bar;
    ASSERT_TRUE(::GetScrollBarInfo(Window(), OBJID_VSCROLL, &bar));
    EXPECT_FALSE(bar.rgstate[0] & STATE_SYSTEM_INVISIBLE);
    EXPECT_TRUE(bar.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
    EXPECT_EQ(FViewer->ClientWidth(), width);
    Pump();
    TDibCanvas shot(width, 170);
    shot.CaptureClient(Window());
    EXPECT_TRUE(shot.All(::GetSysColor(COLOR_WINDOW), 0, 0, width, 170));

    // Data again: the bar comes back to life.
    Load(1400);
    ASSERT_TRUE(::GetScrollBarInfo(Window(), OBJID_VSCROLL, &bar));
    EXPECT_FALSE(bar.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
    VScroll(SB_LINEDOWN);
    EXPECT_EQ(FViewer->TopRow(), 1);
}

TEST_F(HexViewerScroll, ArrowKeysReachTheViewerThroughTheDialogManager)
{
    auto* other = new TVxHexViewer(FHost.get());
    other->SetBounds(0, 300, 100, 100);
    FViewer->SetFocus();
    Pump();
    ASSERT_TRUE(FViewer->Focused());
    const auto press = [&](WORD key) {
        ::PostMessageA(Window(), WM_KEYDOWN, key, 1);
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!::IsDialogMessageA(FHost->Handle(), &msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
        }
    };
    press(VK_DOWN);
    press(VK_DOWN);
    EXPECT_EQ(FViewer->CurrentRow(), 2);
    EXPECT_TRUE(FViewer->Focused());
    // Tab still belongs to the dialog manager.
    press(VK_TAB);
    EXPECT_TRUE(other->Focused());
}

// --- repainting ------------------------------------------------------------------

RECT UpdateBox(HWND window, int& kind)
{
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    kind = ::GetUpdateRgn(window, region, FALSE);
    RECT box{};
    ::GetRgnBox(region, &box);
    ::DeleteObject(region);
    return box;
}

TEST_F(HexViewerScroll, OneRowMoveRepaintsOnlyTheExposedStrip)
{
    const auto same = [](const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != FALSE; };
    for (int i = 0; i < 9; ++i)
        Key(VK_DOWN);
    Pump();
    ASSERT_EQ(FViewer->TopRow(), 0);
    int kind = 0;

    // Down past the last fully visible row: the strip at the bottom.
    Key(VK_DOWN);
    ASSERT_EQ(FViewer->TopRow(), 1);
    EXPECT_TRUE(same(UpdateBox(Window(), kind), RECT{0, 153, 600, 170}));
    EXPECT_EQ(kind, SIMPLEREGION);
    Pump();
    TDibCanvas shortcut(600, 170), full(600, 170);
    shortcut.CaptureClient(Window());
    FViewer->Invalidate();
    Pump();
    full.CaptureClient(Window());
    EXPECT_EQ(shortcut.Block(0, 0, 600, 170), full.Block(0, 0, 600, 170));

    // The scroll bar's line up: the strip at the top.
    VScroll(SB_LINEUP);
    ASSERT_EQ(FViewer->TopRow(), 0);
    EXPECT_TRUE(same(UpdateBox(Window(), kind), RECT{0, 0, 600, 17}));
    EXPECT_EQ(kind, SIMPLEREGION);
    Pump();
    shortcut.CaptureClient(Window());
    FViewer->Invalidate();
    Pump();
    full.CaptureClient(Window());
    EXPECT_EQ(shortcut.Block(0, 0, 600, 170), full.Block(0, 0, 600, 170));

    // Any longer move repaints everything.
    VScroll(SB_PAGEDOWN);
    EXPECT_TRUE(same(UpdateBox(Window(), kind), RECT{0, 0, 600, 170}));
}

// The bar as drawn on screen, in window coordinates.
std::vector<std::uint32_t> BarPixels(HWND window, SCROLLBARINFO& bar)
{
    bar = {};
    bar.cbSize = sizeof bar;
    if (!::GetScrollBarInfo(window, OBJID_VSCROLL, &bar))
        return {};
    RECT frame{};
    ::GetWindowRect(window, &frame);
    const int width = bar.rcScrollBar.right - bar.rcScrollBar.left;
    const int height = bar.rcScrollBar.bottom - bar.rcScrollBar.top;
    TDibCanvas shot(width, height);
    HDC dc = ::GetWindowDC(window);
    ::BitBlt(shot.DC(), 0, 0, width, height, dc, bar.rcScrollBar.left - frame.left, bar.rcScrollBar.top - frame.top,
             SRCCOPY);
    ::ReleaseDC(window, dc);
    return shot.Block(0, 0, width, height);
}

TEST_F(HexViewerScroll, BarAfterOneRowStepsLooksAsRedrawnWhetherOrNotTheThumbMoved)
{
    // 100 rows: every step moves the thumb; 5,000,000 rows: no step does.
    for (const std::int64_t size : {std::int64_t{1400}, std::int64_t{70'000'000}}) {
        FViewer->SetFileName(FFolder.WriteSparse("bar" + std::to_string(size) + ".bin", size));
        FViewer->SetCurrentRow(FViewer->VisibleRows() - 2);
        Pump();
        SCROLLBARINFO first{};
        BarPixels(Window(), first);
        for (int i = 0; i < 6; ++i) {
            Key(VK_DOWN);
            Pump();
        }
        ASSERT_EQ(FViewer->TopRow(), 6) << size;
        SCROLLBARINFO stepped{}, redrawn{};
        const auto afterSteps = BarPixels(Window(), stepped);
        ::RedrawWindow(Window(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        const auto fresh = BarPixels(Window(), redrawn);
        ASSERT_FALSE(fresh.empty());
        EXPECT_EQ(afterSteps, fresh) << size << " bytes: the bar differs from a fresh redraw";
        EXPECT_EQ(stepped.xyThumbTop != first.xyThumbTop, size == 1400) << size;
    }
}

// --- thumb tracking with the mouse ---------------------------------------------------

// Absolute coordinates aimed at the middle of the pixel, so rounding
// cannot land on its neighbour.
void MouseTo(int x, int y)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = (2 * x + 1) * 65536 / (2 * ::GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = (2 * y + 1) * 65536 / (2 * ::GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &input, sizeof input);
}

void MouseButton(bool down)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &input, sizeof input);
}

// Drags the thumb from where it is to the middle of the bar, then to its
// end, and returns the top rows seen while it was dragged.
std::vector<int> DragThumb(TVxHexViewer& viewer)
{
    std::vector<int> tracked;
    auto previous = viewer.WindowProc;
    viewer.WindowProc = [&](UINT msg, WPARAM wParam, LPARAM lParam) {
        const LRESULT result = previous(msg, wParam, lParam);
        if (msg == WM_VSCROLL && LOWORD(wParam) == SB_THUMBTRACK)
            tracked.push_back(viewer.TopRow());
        return result;
    };

    SCROLLBARINFO bar{};
    bar.cbSize = sizeof bar;
    ::GetScrollBarInfo(viewer.Handle(), OBJID_VSCROLL, &bar);
    const int x = (bar.rcScrollBar.left + bar.rcScrollBar.right) / 2;
    const int thumbY = bar.rcScrollBar.top + (bar.xyThumbTop + bar.xyThumbBottom) / 2;
    const int middle = (bar.rcScrollBar.top + bar.rcScrollBar.bottom) / 2;
    const int end = bar.rcScrollBar.bottom - 1;

    std::atomic<bool> done{false};
    std::thread hand = TestDriver::UserThread([&] {
        ::Sleep(100);
        MouseTo(x, thumbY);
        ::Sleep(100);
        MouseButton(true);
        for (int y = thumbY; y <= middle; y += 8) {
            ::Sleep(15);
            MouseTo(x, y);
        }
        ::Sleep(200);
        for (int y = middle; y <= end + 8; y += 8) {
            ::Sleep(15);
            MouseTo(x, y);
        }
        ::Sleep(200);
        MouseButton(false);
        ::Sleep(200);
        // A lost release would leave the bar's tracking loop running for
        // good; this ends it all the same.
        ::PostMessageA(viewer.Handle(), WM_LBUTTONUP, 0, 0);
        ::Sleep(100);
        done = true;
    });
    TestDriver::PumpUntil([&] { return done.load(); }, 20000);
    hand.join();
    viewer.WindowProc = previous;
    return tracked;
}

TEST_F(HexViewerScroll, DraggedThumbReachesEveryPartOfMillionsOfRows)
{
    SetClientSize(50, 340);
    Load(5'000'000);
    ASSERT_EQ(FViewer->BytesPerRow(), 1);
    ASSERT_EQ(FViewer->RowCount(), 5'000'000);
    SCROLLBARINFO bar{};
    bar.cbSize = sizeof bar;
    ASSERT_TRUE(::GetScrollBarInfo(Window(), OBJID_VSCROLL, &bar));
    const POINT thumb{(bar.rcScrollBar.left + bar.rcScrollBar.right) / 2, bar.rcScrollBar.top + bar.xyThumbTop + 1};
    ASSERT_EQ(::WindowFromPoint(thumb), Window()) << "another window covers the scroll bar";

    const std::vector<int> tracked = DragThumb(*FViewer);
    Pump();

    ASSERT_FALSE(tracked.empty()) << "no thumb drag arrived";
    std::string seen;
    for (const int row : tracked)
        seen += ' ' + std::to_string(row);
    EXPECT_TRUE(std::is_sorted(tracked.begin(), tracked.end())) << "top rows while dragged:" << seen;
    // Tracked positions beyond 16 bits arrive whole.
    EXPECT_GT(*std::max_element(tracked.begin(), tracked.end()), 65535);
    const auto nearMiddle = std::find_if(tracked.begin(), tracked.end(), [](int row) { return row > 2'000'000; });
    ASSERT_NE(nearMiddle, tracked.end());
    EXPECT_LT(*nearMiddle, 3'000'000);
    EXPECT_EQ(FViewer->TopRow(), 4'999'999);
    EXPECT_EQ(BarPosition(Window()), 4'999'999);
}

}  // namespace
