#include "framework/InstanceProc.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <memory>

namespace {

// What one instance procedure was called with.
struct TSeen {
    int Calls = 0;
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    WNDPROC Previous = nullptr;
    HWND Window = nullptr;
};

LRESULT CALLBACK Record(HWND self, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    auto* seen = reinterpret_cast<TSeen*>(self);
    ++seen->Calls;
    seen->Msg = Msg;
    seen->WParam = wParam;
    seen->LParam = lParam;
    if (seen->Previous)
        return ::CallWindowProcA(seen->Previous, seen->Window, Msg, wParam, lParam);
    return static_cast<LRESULT>(wParam + static_cast<WPARAM>(lParam));
}

// Widest values the arguments can hold, so a cut or swapped argument shows.
constexpr WPARAM WideW = static_cast<WPARAM>(~std::uintptr_t{0} - 0x1234);
constexpr LPARAM WideL = static_cast<LPARAM>(static_cast<std::uintptr_t>(0x5A5A5A5A) << (sizeof(LPARAM) * 4));

}  // namespace

TEST(InstanceProc, CallsTheTargetWithItsObjectAndEveryArgumentIntact)
{
    TSeen seen;
    const TInstanceProc proc(&seen, &Record);
    const LRESULT result = ::CallWindowProcA(proc.Proc(), nullptr, WM_APP + 7, WideW, WideL);
    EXPECT_EQ(seen.Calls, 1);
    EXPECT_EQ(seen.Msg, static_cast<UINT>(WM_APP + 7));
    EXPECT_EQ(seen.WParam, WideW);
    EXPECT_EQ(seen.LParam, WideL);
    EXPECT_EQ(result, static_cast<LRESULT>(WideW + static_cast<WPARAM>(WideL)));
}

TEST(InstanceProc, EachObjectHasItsOwnAddressAndSeesOnlyItsCalls)
{
    TSeen first;
    TSeen second;
    const TInstanceProc a(&first, &Record);
    const TInstanceProc b(&second, &Record);
    EXPECT_NE(a.Proc(), b.Proc());
    ::CallWindowProcA(b.Proc(), nullptr, WM_NULL, 2, 3);
    ::CallWindowProcA(b.Proc(), nullptr, WM_NULL, 2, 3);
    ::CallWindowProcA(a.Proc(), nullptr, WM_NULL, 1, 1);
    EXPECT_EQ(first.Calls, 1);
    EXPECT_EQ(second.Calls, 2);
}

// Installed as a window's procedure, the system's own message sending reaches
// the object and the chain to the replaced procedure holds.
TEST(InstanceProc, SubclassesARealWindowAndChainsToItsProcedure)
{
    const HWND window = ::CreateWindowExA(0, "STATIC", "before", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                          ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    TSeen seen;
    seen.Window = window;
    auto proc = std::make_unique<TInstanceProc>(&seen, &Record);
    seen.Previous =
        reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc->Proc())));
    ASSERT_NE(seen.Previous, nullptr);

    EXPECT_TRUE(::SetWindowTextA(window, "after"));
    EXPECT_EQ(seen.Msg, static_cast<UINT>(WM_SETTEXT));
    char text[16] = {};
    ::GetWindowTextA(window, text, sizeof text);
    EXPECT_STREQ(text, "after");
    EXPECT_GE(seen.Calls, 2);

    ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(seen.Previous));
    const int calls = seen.Calls;
    proc.reset();
    ::SetWindowTextA(window, "gone");
    EXPECT_EQ(seen.Calls, calls);
    ::DestroyWindow(window);
}
