#include "tests/EndToEndData/EndToEndSupport.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>

#include "tests/support/TestFiles.h"

namespace EndToEnd {

using namespace TestDriver;

std::string WriteSample(const std::string& name, const std::string& bytes)
{
    const std::string path = TestExeFolder() + "\\" + name;
    return WriteWhole(path, bytes) ? path : std::string();
}

std::string SampleBytes(unsigned char first, std::size_t count)
{
    std::string bytes(count, '\0');
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<char>(static_cast<unsigned char>(first + i));
    return bytes;
}

HWND ChildAt(HWND parent, int left, int top)
{
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT r = WindowRect(child);
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        if (r.left == left && r.top == top)
            return child;
    }
    return nullptr;
}

void ClickCentre(HWND window)
{
    const RECT r = WindowRect(window);
    const int x = (r.left + r.right) / 2;
    const int y = (r.top + r.bottom) / 2;
    // Absolute positions run from 0 to 65535 across the primary screen.
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT inputs[3] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.dx = MulDiv(x, 65535, width - 1);
        input.mi.dy = MulDiv(y, 65535, height - 1);
    }
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(3, inputs, sizeof(INPUT));
}

TCapturer ProgramPixels(TProgramHook& hook)
{
    return [&hook](HWND window) { return hook.Capture(window); };
}

TCapture SettledCapture(const TCapturer& capture, HWND window, const TCapture* unlike, DWORD timeoutMs)
{
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    TCapture last = capture(window);
    while (::GetTickCount64() < end) {
        ::Sleep(100);
        TCapture next = capture(window);
        if (next.Width > 0 && SamePixels(last, next) && !(unlike && SamePixels(next, *unlike)))
            return next;
        last = std::move(next);
    }
    return {};
}

bool WaitForPixels(const TCapturer& capture, HWND window, const TCapture& expected, DWORD timeoutMs,
                   std::string* difference)
{
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    for (;;) {
        const TCapture now = capture(window);
        if (SamePixels(now, expected))
            return true;
        if (::GetTickCount64() >= end) {
            if (difference)
                *difference = PixelDifference(now, expected);
            return false;
        }
        ::Sleep(100);
    }
}

bool SamePixels(const TCapture& a, const TCapture& b)
{
    return a.Width == b.Width && a.Height == b.Height && a.Pixels == b.Pixels;
}

std::string PixelDifference(const TCapture& a, const TCapture& b)
{
    char text[192];
    if (a.Width != b.Width || a.Height != b.Height) {
        std::snprintf(text, sizeof text, "sizes differ: %dx%d and %dx%d", a.Width, a.Height, b.Width, b.Height);
        return text;
    }
    std::size_t count = 0;
    RECT box{a.Width, a.Height, -1, -1};
    POINT first{-1, -1};
    for (int y = 0; y < a.Height; ++y)
        for (int x = 0; x < a.Width; ++x) {
            if (a.At(x, y) == b.At(x, y))
                continue;
            if (count++ == 0)
                first = {x, y};
            box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x),
                   std::max<LONG>(box.bottom, y)};
        }
    if (count == 0)
        return {};
    std::snprintf(text, sizeof text,
                  "%lu of %dx%d pixels differ, in (%ld,%ld)-(%ld,%ld); the first at (%ld,%ld): #%06X and #%06X",
                  static_cast<unsigned long>(count), a.Width, a.Height, box.left, box.top, box.right, box.bottom,
                  first.x, first.y, static_cast<unsigned>(a.At(first.x, first.y)),
                  static_cast<unsigned>(b.At(first.x, first.y)));
    return text;
}

HWND ViewerOf(HWND main)
{
    RECT client{};
    ::GetClientRect(main, &client);
    for (HWND child = ::GetWindow(main, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT r = WindowRect(child);
        ::MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&r), 2);
        if (::IsWindowVisible(child) && ::EqualRect(&r, &client))
            return child;
    }
    return nullptr;
}

TCapture MessageBoxIconPicture(const TCapturer& capture, HWND box)
{
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (WindowClass(child) != "Static" || (::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON)
            continue;
        // A box just shown may not have drawn its icon yet: wait for a
        // settled picture of more than one colour.
        const ULONGLONG end = ::GetTickCount64() + 5000;
        for (;;) {
            TCapture picture = SettledCapture(capture, child);
            const bool drawn =
                !picture.Pixels.empty() && picture.Count(picture.Pixels.front()) != picture.Pixels.size();
            if (drawn || ::GetTickCount64() >= end)
                return picture;
        }
    }
    return {};
}

TCapture ReferenceBoxIcon(UINT iconStyle)
{
    // The box shows on the test's desktop (UserThread) and is found through
    // its thread, whatever desktop that is. A box never found still ends:
    // its modal loop leaves on WM_QUIT.
    const char* const title = "EndToEnd reference box";
    std::atomic<DWORD> showerId{0};
    std::thread shower = UserThread([&] {
        showerId = ::GetCurrentThreadId();
        ::MessageBoxA(nullptr, "Reference", title, MB_OK | iconStyle);
    });
    TCapture picture;
    const ULONGLONG end = ::GetTickCount64() + 10000;
    HWND box = nullptr;
    while (!box && ::GetTickCount64() < end) {
        ::Sleep(50);
        const DWORD id = showerId;
        if (id)
            for (HWND window : ThreadWindows(id))
                if (WindowClass(window) == "#32770" && WindowText(window) == title && ::IsWindowVisible(window))
                    box = window;
    }
    if (box) {
        picture = MessageBoxIconPicture(CaptureOwnWindow, box);
        ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    } else {
        while (!showerId)
            ::Sleep(10);
        ::PostThreadMessageA(showerId, WM_QUIT, 0, 0);
    }
    shower.join();
    return picture;
}

TCapture IconOnGround(HICON icon, int size, std::uint32_t ground)
{
    TDibImage image(size, size);
    if (!image.DC())
        return {};
    const TBrushHandle brush(::CreateSolidBrush(RGB(ground >> 16, (ground >> 8) & 0xFF, ground & 0xFF)));
    const RECT all{0, 0, size, size};
    ::FillRect(image.DC(), &all, brush.Get());
    if (!::DrawIconEx(image.DC(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL))
        return {};
    return image.Pixels();
}

bool OpenThroughDialog(const TProcess& program, HWND main, const std::string& path)
{
    if (!Activate(main))
        return false;
    PressKey('O', mdCtrl);
    const HWND dialog = WaitForDialog(program.Id());
    return dialog && TypeIntoOpenDialog(dialog, path);
}

TCapture OpenedThroughDialog(const TProcess& program, HWND main, HWND viewer, const TCapturer& capture,
                             const std::string& path, const TCapture& before, std::string& failure)
{
    failure.clear();
    if (!OpenThroughDialog(program, main, path))
        failure = "the open dialog did not take " + path;
    else if (!WaitForCaption(main, path + " - Quorvel"))
        failure = "the caption stayed " + WindowText(main);
    return SettledCapture(capture, viewer, &before);
}

POINT ClientCentre(HWND window)
{
    RECT r{};
    ::GetClientRect(window, &r);
    return {r.right / 2, r.bottom / 2};
}

bool WaitIdle(HWND window, DWORD timeoutMs)
{
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

}  // namespace EndToEnd
