#include "tests/EndToEndData/EndToEndSupport.h"

#include <shlobj.h>

#include <fstream>
#include <thread>

namespace EndToEnd {

using namespace TestDriver;

namespace {

bool Exists(const std::string& path)
{
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

TFirstRun::TFirstRun()
{
    char appData[MAX_PATH + 1] = {};
    if (::SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData) != S_OK)
        return;
    const std::string folder = std::string(appData) + "\\Talmore";
    FAside = folder + ".endtoend-aside";
    // A run that was killed half-way left the real folder aside.
    if (Exists(FAside) && !Exists(folder) && !::MoveFileA(FAside.c_str(), folder.c_str()))
        return;
    if (Exists(FAside))
        return;
    if (Exists(folder) && !::MoveFileA(folder.c_str(), FAside.c_str()))
        return;
    FFolder = folder;
}

TFirstRun::~TFirstRun()
{
    if (FFolder.empty())
        return;
    // Only what the program saves lies there: its .ini files.
    WIN32_FIND_DATAA found{};
    const HANDLE search = ::FindFirstFileA((FFolder + "\\*.ini").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do
            ::DeleteFileA((FFolder + "\\" + found.cFileName).c_str());
        while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryA(FFolder.c_str());
    if (Exists(FAside))
        ::MoveFileA(FAside.c_str(), FFolder.c_str());
}

std::string WriteSample(const std::string& name, const std::string& bytes)
{
    const std::string path = TestExeFolder() + "\\" + name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return out ? path : std::string();
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

TCapture SettledCapture(HWND window, const TCapture* unlike, DWORD timeoutMs)
{
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    TCapture last = CaptureWindow(window);
    while (::GetTickCount64() < end) {
        ::Sleep(150);
        TCapture next = CaptureWindow(window);
        if (next.Width > 0 && SamePixels(last, next) && !(unlike && SamePixels(next, *unlike)))
            return next;
        last = std::move(next);
    }
    return {};
}

bool WaitForPixels(HWND window, const TCapture& expected, DWORD timeoutMs)
{
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    for (;;) {
        if (SamePixels(CaptureWindow(window), expected))
            return true;
        if (::GetTickCount64() >= end)
            return false;
        ::Sleep(100);
    }
}

bool SamePixels(const TCapture& a, const TCapture& b)
{
    return a.Width == b.Width && a.Height == b.Height && a.Pixels == b.Pixels;
}

TCapture MessageBoxIconPicture(HWND box)
{
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (WindowClass(child) != "Static" || (::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON)
            continue;
        // A box just shown may not have drawn its icon yet: wait for a
        // settled picture of more than one colour.
        const ULONGLONG end = ::GetTickCount64() + 5000;
        for (;;) {
            TCapture picture = SettledCapture(child);
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
    const char* const title = "EndToEnd reference box";
    std::thread shower([&] { ::MessageBoxA(nullptr, "Reference", title, MB_OK | iconStyle); });
    TCapture picture;
    if (const HWND box = WaitForDialog(::GetCurrentProcessId(), title)) {
        picture = MessageBoxIconPicture(box);
        ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    shower.join();
    return picture;
}

TCapture IconOnGround(HICON icon, int size, std::uint32_t ground)
{
    TCapture picture;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const HDC screen = ::GetDC(nullptr);
    const HDC memory = ::CreateCompatibleDC(screen);
    const HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ::ReleaseDC(nullptr, screen);
    if (memory && bitmap) {
        const HGDIOBJ previous = ::SelectObject(memory, bitmap);
        const HBRUSH brush = ::CreateSolidBrush(RGB(ground >> 16, (ground >> 8) & 0xFF, ground & 0xFF));
        const RECT all{0, 0, size, size};
        ::FillRect(memory, &all, brush);
        ::DeleteObject(brush);
        if (::DrawIconEx(memory, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL)) {
            ::GdiFlush();
            const auto* source = static_cast<const std::uint32_t*>(bits);
            picture.Width = picture.Height = size;
            picture.Pixels.assign(source, source + size * size);
            for (auto& p : picture.Pixels)
                p &= 0x00FFFFFF;
        }
        ::SelectObject(memory, previous);
    }
    if (bitmap)
        ::DeleteObject(bitmap);
    if (memory)
        ::DeleteDC(memory);
    return picture;
}

bool OpenThroughDialog(const TProcess& program, HWND main, const std::string& path)
{
    if (!Activate(main))
        return false;
    PressKey('O', mdCtrl);
    const HWND dialog = WaitForDialog(program.Id());
    return dialog && TypeIntoOpenDialog(dialog, path);
}

bool WaitIdle(HWND window, DWORD timeoutMs)
{
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

}  // namespace EndToEnd
