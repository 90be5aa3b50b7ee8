#include "tests/support/TestDriver.h"

#include "framework/Exceptions.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <stdexcept>
#include <utility>

namespace TestDriver {

namespace {

std::string LastErrorText(const char* call)
{
    return std::string(call) + " failed with error " + std::to_string(GetLastError());
}

struct TEnumState {
    DWORD ProcessId;
    std::vector<HWND> Windows;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM state)
{
    auto* s = reinterpret_cast<TEnumState*>(state);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == s->ProcessId && IsWindowVisible(window))
        s->Windows.push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectThreadWindow(HWND window, LPARAM list)
{
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

INPUT KeyInput(WORD vk, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

void Send(std::vector<INPUT>& inputs)
{
    if (!inputs.empty())
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

HDESK OwnDesktop = nullptr;
std::string OwnDesktopName;

}  // namespace

bool UsePrivateDesktop()
{
    if (OwnDesktop)
        return true;
    const std::string name = "QuorvelTest" + std::to_string(GetCurrentProcessId());
    HDESK desktop = CreateDesktopA(name.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    if (!desktop)
        return false;
    if (!SetThreadDesktop(desktop)) {
        CloseDesktop(desktop);
        return false;
    }
    OwnDesktop = desktop;
    OwnDesktopName = name;
    return true;
}

std::string PrivateDesktopName()
{
    return OwnDesktopName;
}

void JoinPrivateDesktop()
{
    if (OwnDesktop)
        SetThreadDesktop(OwnDesktop);
}

std::thread UserThread(std::function<void()> body)
{
    return std::thread([body = std::move(body)] {
        JoinPrivateDesktop();
        body();
    });
}

TProcess::~TProcess()
{
    if (Running())
        Terminate();
}

TProcess::TProcess(TProcess&& other) noexcept : FProcess(std::move(other.FProcess)), FId(std::exchange(other.FId, 0))
{}

TProcess& TProcess::operator=(TProcess&& other) noexcept
{
    if (this != &other) {
        FProcess = std::move(other.FProcess);
        FId = std::exchange(other.FId, 0);
    }
    return *this;
}

TProcess TProcess::Start(const std::string& exe, const std::string& arguments, const std::string& folder)
{
    std::string commandLine = "\"" + exe + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    std::string directory = folder;
    if (directory.empty()) {
        const auto slash = exe.find_last_of("\\/");
        if (slash != std::string::npos)
            directory = exe.substr(0, slash);
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string desktop = OwnDesktopName;
    if (!desktop.empty())
        startup.lpDesktop = desktop.data();
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &startup, &info))
        throw std::runtime_error(LastErrorText("CreateProcessA") + " for " + exe);
    TKernelHandle thread(info.hThread);
    TProcess process;
    process.FProcess.Reset(info.hProcess);
    process.FId = info.dwProcessId;
    return process;
}

bool TProcess::Running() const
{
    return FProcess && WaitForSingleObject(FProcess.Get(), 0) == WAIT_TIMEOUT;
}

bool TProcess::WaitForExit(DWORD timeoutMs, DWORD* exitCode) const
{
    if (!FProcess || WaitForSingleObject(FProcess.Get(), timeoutMs) != WAIT_OBJECT_0)
        return false;
    if (exitCode)
        GetExitCodeProcess(FProcess.Get(), exitCode);
    return true;
}

bool TProcess::Close(DWORD timeoutMs)
{
    if (!Running())
        return true;
    for (HWND window : ProcessWindows(FId))
        PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForExit(timeoutMs))
        return true;
    Terminate();
    return false;
}

void TProcess::Terminate()
{
    if (FProcess) {
        TerminateProcess(FProcess.Get(), 1);
        WaitForSingleObject(FProcess.Get(), 5000);
    }
}

std::string SystemText(DWORD code)
{
    char buffer[512] = {};
    DWORD length =
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK,
                       nullptr, code, 0, buffer, sizeof buffer, nullptr);
    while (length > 0 && static_cast<unsigned char>(buffer[length - 1]) <= ' ')
        --length;
    return std::string(buffer, length);
}

std::string TestExeFolder()
{
    char path[MAX_PATH * 4] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string result(path, length);
    const auto slash = result.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : result.substr(0, slash);
}

std::string QuorvelExePath()
{
    // Tests live in BUILD\tests (or a folder below it); the program in BUILD\app.
    std::string folder = TestExeFolder();
    for (int up = 0; up < 3; ++up) {
        const std::string candidate = folder + "\\..\\app\\Quorvel.exe";
        if (GetFileAttributesA(candidate.c_str()) != INVALID_FILE_ATTRIBUTES) {
            char full[MAX_PATH * 4] = {};
            GetFullPathNameA(candidate.c_str(), sizeof full, full, nullptr);
            return full;
        }
        folder += "\\..";
    }
    throw std::runtime_error("Quorvel.exe not found beside the tests");
}

std::vector<HWND> ProcessWindows(DWORD processId)
{
    TEnumState state{processId, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&state));
    return state.Windows;
}

std::vector<HWND> ThreadWindows(DWORD threadId)
{
    std::vector<HWND> windows;
    EnumThreadWindows(threadId, CollectThreadWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

HWND WaitForWindow(DWORD processId, const std::function<bool(HWND)>& match, DWORD timeoutMs)
{
    HWND found = nullptr;
    WaitUntil(timeoutMs, [&] {
        for (HWND window : ProcessWindows(processId))
            if (match(window)) {
                found = window;
                return true;
            }
        return false;
    });
    return found;
}

HWND WaitForMainWindow(const TProcess& process, DWORD timeoutMs)
{
    return WaitForWindow(
        process.Id(),
        [](HWND window) {
            return WindowClass(window) != "#32770" && !(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) &&
                   GetWindow(window, GW_OWNER) == nullptr;
        },
        timeoutMs);
}

HWND WaitForDialog(DWORD processId, const std::string& title, DWORD timeoutMs)
{
    return WaitForWindow(
        processId,
        [&](HWND window) { return WindowClass(window) == "#32770" && (title.empty() || WindowText(window) == title); },
        timeoutMs);
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs)
{
    return WaitUntil(timeoutMs, [&] { return !IsWindow(window) || !IsWindowVisible(window); });
}

std::string WindowText(HWND window)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
        return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                             5000, &copied))
        return {};
    text.resize(std::min<std::size_t>(static_cast<std::size_t>(copied), text.size()));
    return text;
}

std::string WindowClass(HWND window)
{
    char name[256] = {};
    const int length = GetClassNameA(window, name, sizeof name);
    return std::string(name, static_cast<std::size_t>(std::max(length, 0)));
}

bool WaitForCaption(HWND window, const std::string& text, DWORD timeoutMs)
{
    return WaitUntil(timeoutMs, [&] { return WindowText(window) == text; });
}

std::vector<std::string> ChildTexts(HWND window)
{
    std::vector<std::string> texts;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child)) {
            std::string text = WindowText(child);
            if (!text.empty())
                texts.push_back(std::move(text));
        }
    return texts;
}

std::string MessageBoxText(HWND box)
{
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (WindowClass(child) != "Static")
            continue;
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            continue;
        const std::string text = WindowText(child);
        if (!text.empty())
            return text;
    }
    return {};
}

HICON MessageBoxIcon(HWND box)
{
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (WindowClass(child) == "Static" && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            return reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
    return nullptr;
}

HWND FindChild(HWND parent, const std::string& className)
{
    return FindWindowExA(parent, nullptr, className.c_str(), nullptr);
}

RECT WindowRect(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

bool Activate(HWND window, DWORD timeoutMs)
{
    return WaitUntil(timeoutMs, [&] {
        if (GetForegroundWindow() == window)
            return true;
        SetForegroundWindow(window);
        return false;
    });
}

bool WaitUntil(DWORD timeoutMs, const std::function<bool()>& condition, DWORD pollMs)
{
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount64() >= end)
            return false;
        Sleep(pollMs);
    }
}

void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs, const std::function<void()>& pump)
{
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        pump();
        if (condition())
            return true;
        if (GetTickCount64() >= end)
            return false;
        Sleep(10);
    }
}

void Pause(DWORD ms)
{
    PumpUntil([] { return false; }, ms);
}

void PressKey(WORD virtualKey, unsigned modifiers)
{
    std::vector<INPUT> inputs;
    if (modifiers & mdCtrl)
        inputs.push_back(KeyInput(VK_CONTROL, false));
    if (modifiers & mdShift)
        inputs.push_back(KeyInput(VK_SHIFT, false));
    if (modifiers & mdAlt)
        inputs.push_back(KeyInput(VK_MENU, false));
    inputs.push_back(KeyInput(virtualKey, false));
    inputs.push_back(KeyInput(virtualKey, true));
    if (modifiers & mdAlt)
        inputs.push_back(KeyInput(VK_MENU, true));
    if (modifiers & mdShift)
        inputs.push_back(KeyInput(VK_SHIFT, true));
    if (modifiers & mdCtrl)
        inputs.push_back(KeyInput(VK_CONTROL, true));
    Send(inputs);
    Sleep(150);
}

void TypeText(const std::string& text)
{
    std::vector<INPUT> inputs;
    for (char c : text) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wScan = static_cast<unsigned char>(c);
        input.ki.dwFlags = KEYEVENTF_UNICODE;
        inputs.push_back(input);
        input.ki.dwFlags |= KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    Send(inputs);
    Sleep(150);
}

void ChooseMenuItem(HWND window, char menuLetter, char itemLetter)
{
    Activate(window);
    const auto key = [](char c) { return static_cast<WORD>(std::toupper(static_cast<unsigned char>(c))); };
    PressKey(key(menuLetter), mdAlt);
    Sleep(200);
    PressKey(key(itemLetter));
}

bool TypeIntoOpenDialog(HWND dialog, const std::string& path, DWORD timeoutMs)
{
    Activate(dialog);
    // The file name field is an edit control, or the edit inside a combo box.
    HWND edit = FindChild(dialog, "Edit");
    if (!edit)
        if (HWND combo = FindChild(dialog, "ComboBoxEx32"))
            edit = FindWindowExA(FindChild(combo, "ComboBox"), nullptr, "Edit", nullptr);
    if (!edit)
        if (HWND combo = FindChild(dialog, "ComboBox"))
            edit = FindChild(combo, "Edit");
    if (edit)
        SendMessageTimeoutA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""), SMTO_ABORTIFHUNG, 5000, nullptr);
    TypeText(path);
    PressKey(VK_RETURN);
    return WaitForWindowGone(dialog, timeoutMs);
}

std::size_t TCapture::Count(std::uint32_t rgb) const
{
    return static_cast<std::size_t>(std::count(Pixels.begin(), Pixels.end(), rgb));
}

bool TCapture::SaveBmp(const std::string& path) const
{
    const int stride = (Width * 3 + 3) & ~3;
    const std::uint32_t imageSize = static_cast<std::uint32_t>(stride * Height);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + imageSize;
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = Width;
    info.biHeight = Height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = imageSize;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    std::vector<char> row(static_cast<std::size_t>(stride), 0);
    for (int y = Height - 1; y >= 0; --y) {
        for (int x = 0; x < Width; ++x) {
            const std::uint32_t p = At(x, y);
            row[static_cast<std::size_t>(x * 3)] = static_cast<char>(p & 0xFF);
            row[static_cast<std::size_t>(x * 3 + 1)] = static_cast<char>((p >> 8) & 0xFF);
            row[static_cast<std::size_t>(x * 3 + 2)] = static_cast<char>((p >> 16) & 0xFF);
        }
        out.write(row.data(), stride);
    }
    return static_cast<bool>(out);
}

TDibImage::TDibImage(int width, int height) : FWidth(width), FHeight(height), FDC(CreateCompatibleDC(nullptr))
{
    if (!FDC || width <= 0 || height <= 0)
        return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    FBitmap.Reset(CreateDIBSection(FDC.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!FBitmap)
        return;
    FSelected.emplace(FDC.Get(), FBitmap.Get());
    FBits = static_cast<const std::uint32_t*>(bits);
}

std::uint32_t TDibImage::At(int x, int y) const
{
    GdiFlush();
    return FBits[static_cast<std::size_t>(y) * static_cast<std::size_t>(FWidth) + static_cast<std::size_t>(x)] &
           0x00FFFFFF;
}

TCapture TDibImage::Pixels() const
{
    TCapture capture;
    if (!FBits)
        return capture;
    GdiFlush();
    capture.Width = FWidth;
    capture.Height = FHeight;
    capture.Pixels.assign(FBits, FBits + static_cast<std::size_t>(FWidth) * static_cast<std::size_t>(FHeight));
    for (auto& p : capture.Pixels)
        p &= 0x00FFFFFF;
    return capture;
}

bool TDibImage::CopyFrom(HDC source, int x, int y)
{
    if (!DC() || !source || !BitBlt(FDC.Get(), 0, 0, FWidth, FHeight, source, x, y, SRCCOPY))
        return false;
    GdiFlush();
    return true;
}

bool TDibImage::CopyClient(HWND window)
{
    try {
        const TWindowDC source(window);
        return CopyFrom(source.Get(), 0, 0);
    } catch (const EOSError&) {
        return false;
    }
}

namespace {

// Copies `width` x `height` pixels at (x, y) of `window`'s device context
// (nullptr: the screen) into a capture.
TCapture CaptureFrom(HWND window, int x, int y, int width, int height)
{
    if (width <= 0 || height <= 0)
        return {};
    TDibImage image(width, height);
    try {
        const TWindowDC source(window);
        if (!image.CopyFrom(source.Get(), x, y))
            return {};
    } catch (const EOSError&) {
        return {};
    }
    return image.Pixels();
}

}  // namespace

TCapture CaptureWindow(HWND window, bool clientOnly)
{
    RECT r{};
    if (clientOnly) {
        GetClientRect(window, &r);
        MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    } else {
        GetWindowRect(window, &r);
    }
    return CaptureFrom(nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top);
}

TCapture CaptureOwnWindow(HWND window)
{
    RECT r{};
    GetClientRect(window, &r);
    return CaptureFrom(window, 0, 0, r.right, r.bottom);
}

}  // namespace TestDriver
