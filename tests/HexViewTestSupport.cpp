#include "tests/HexViewTestSupport.h"

#include <winioctl.h>

#include <cstdlib>
#include <stdexcept>

namespace hexviewtest {

namespace {

void Check(bool ok, const char* what)
{
    if (!ok)
        throw std::runtime_error(std::string(what) + " failed, error " + std::to_string(::GetLastError()));
}

// Started again as the holder of THeldFile: hold the file, then leave
// before any test runs.
const bool HolderRole = [] {
    const char* file = std::getenv("QV_HOLD_FILE");
    if (!file || !*file)
        return false;
    HANDLE held = ::CreateFileA(file, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    HANDLE ready = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, std::getenv("QV_HOLD_READY"));
    HANDLE release = ::OpenEventA(SYNCHRONIZE, FALSE, std::getenv("QV_HOLD_RELEASE"));
    if (held == INVALID_HANDLE_VALUE || !ready || !release)
        ::ExitProcess(2);
    ::SetEvent(ready);
    ::WaitForSingleObject(release, 60000);
    ::ExitProcess(0);
}();

} // namespace

TDibCanvas::TDibCanvas(int width, int height) : FWidth(width), FHeight(height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    FDC = ::CreateCompatibleDC(nullptr);
    Check(FDC != nullptr, "CreateCompatibleDC");
    void* bits = nullptr;
    FBitmap = ::CreateDIBSection(FDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    Check(FBitmap != nullptr, "CreateDIBSection");
    FBits = static_cast<std::uint32_t*>(bits);
    FOldBitmap = ::SelectObject(FDC, FBitmap);
}

TDibCanvas::~TDibCanvas()
{
    ::SelectObject(FDC, FOldBitmap);
    ::DeleteObject(FBitmap);
    ::DeleteDC(FDC);
}

COLORREF TDibCanvas::Pixel(int x, int y) const
{
    ::GdiFlush();
    const std::uint32_t v = FBits[static_cast<std::size_t>(y) * static_cast<std::size_t>(FWidth) +
                                  static_cast<std::size_t>(x)];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

void TDibCanvas::Fill(COLORREF color)
{
    HBRUSH brush = ::CreateSolidBrush(color);
    RECT all{0, 0, FWidth, FHeight};
    ::FillRect(FDC, &all, brush);
    ::DeleteObject(brush);
    ::GdiFlush();
}

void TDibCanvas::CaptureClient(HWND window)
{
    HDC source = ::GetDC(window);
    Check(source != nullptr, "GetDC");
    const BOOL copied = ::BitBlt(FDC, 0, 0, FWidth, FHeight, source, 0, 0, SRCCOPY);
    ::ReleaseDC(window, source);
    Check(copied != FALSE, "BitBlt");
    ::GdiFlush();
}

int TDibCanvas::Count(COLORREF color, int left, int top, int right, int bottom) const
{
    int count = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            count += Pixel(x, y) == color ? 1 : 0;
    return count;
}

bool TDibCanvas::All(COLORREF color, int left, int top, int right, int bottom) const
{
    return Count(color, left, top, right, bottom) == (right - left) * (bottom - top);
}

std::vector<std::uint32_t> TDibCanvas::Block(int left, int top, int right, int bottom) const
{
    std::vector<std::uint32_t> pixels;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            pixels.push_back(Pixel(x, y));
    return pixels;
}

TScratchFolder::TScratchFolder()
{
    char temp[MAX_PATH];
    Check(::GetTempPathA(MAX_PATH, temp) != 0, "GetTempPathA");
    // Process ids come back, and a killed run leaves its folder behind.
    static unsigned serial = ::GetTickCount();
    for (;;) {
        FPath = std::string(temp) + "qvhex" + std::to_string(::GetCurrentProcessId()) + "_" + std::to_string(++serial);
        if (::CreateDirectoryA(FPath.c_str(), nullptr))
            break;
        Check(::GetLastError() == ERROR_ALREADY_EXISTS, "CreateDirectoryA");
    }
}

TScratchFolder::~TScratchFolder()
{
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((FPath + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                ::RemoveDirectoryA(File(name).c_str());
            else
                ::DeleteFileA(File(name).c_str());
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryA(FPath.c_str());
}

std::string TScratchFolder::Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const
{
    const std::string path = File(name);
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    Check(file != INVALID_HANDLE_VALUE, "CreateFileA");
    DWORD written = 0;
    const BOOL ok = bytes.empty() || ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
    Check(ok && written == bytes.size(), "WriteFile");
    return path;
}

std::string TScratchFolder::WriteSparse(const std::string& name, std::int64_t size) const
{
    const std::string path = File(name);
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    Check(file != INVALID_HANDLE_VALUE, "CreateFileA");
    DWORD returned = 0;
    ::DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = size;
    const BOOL ok = ::SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && ::SetEndOfFile(file);
    ::CloseHandle(file);
    Check(ok != FALSE, "SetEndOfFile");
    return path;
}

std::vector<std::uint8_t> PatternBytes(std::size_t count, std::uint32_t seed)
{
    std::vector<std::uint8_t> bytes(count);
    std::uint32_t state = seed;
    for (auto& b : bytes) {
        state = state * 1664525u + 1013904223u;
        b = static_cast<std::uint8_t>(state >> 24);
    }
    return bytes;
}

THeldFile::THeldFile(const std::string& fileName)
{
    const std::string tag = std::to_string(::GetCurrentProcessId()) + "_" + std::to_string(::GetTickCount());
    const std::string readyName = "qvhex_ready_" + tag;
    const std::string releaseName = "qvhex_release_" + tag;
    HANDLE ready = ::CreateEventA(nullptr, TRUE, FALSE, readyName.c_str());
    FRelease = ::CreateEventA(nullptr, TRUE, FALSE, releaseName.c_str());
    Check(ready && FRelease, "CreateEventA");

    char self[MAX_PATH];
    Check(::GetModuleFileNameA(nullptr, self, MAX_PATH) != 0, "GetModuleFileNameA");
    ::SetEnvironmentVariableA("QV_HOLD_FILE", fileName.c_str());
    ::SetEnvironmentVariableA("QV_HOLD_READY", readyName.c_str());
    ::SetEnvironmentVariableA("QV_HOLD_RELEASE", releaseName.c_str());
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    std::string commandLine = "\"";
    commandLine.append(self).append("\" --gtest_list_tests");
    const BOOL started = ::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                         &startup, &FProcess);
    ::SetEnvironmentVariableA("QV_HOLD_FILE", nullptr);
    ::SetEnvironmentVariableA("QV_HOLD_READY", nullptr);
    ::SetEnvironmentVariableA("QV_HOLD_RELEASE", nullptr);
    Check(started != FALSE, "CreateProcessA");
    HANDLE waits[2] = {ready, FProcess.hProcess};
    const DWORD woke = ::WaitForMultipleObjects(2, waits, FALSE, 30000);
    ::CloseHandle(ready);
    Check(woke == WAIT_OBJECT_0, "holder process start");
}

THeldFile::~THeldFile()
{
    ::SetEvent(FRelease);
    if (FProcess.hProcess) {
        ::WaitForSingleObject(FProcess.hProcess, 30000);
        ::CloseHandle(FProcess.hProcess);
        ::CloseHandle(FProcess.hThread);
    }
    ::CloseHandle(FRelease);
}

} // namespace hexviewtest
