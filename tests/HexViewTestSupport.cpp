#include "tests/HexViewTestSupport.h"

#include <winioctl.h>

#include <cstdlib>
#include <cstring>
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

}  // namespace

TDibCanvas::TDibCanvas(int width, int height) : FImage(width, height)
{
    Check(FImage.DC() != nullptr, "CreateDIBSection");
}

COLORREF TDibCanvas::Pixel(int x, int y) const
{
    const std::uint32_t v = FImage.At(x, y);
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

void TDibCanvas::Fill(COLORREF color)
{
    const TBrushHandle brush(::CreateSolidBrush(color));
    RECT all{0, 0, Width(), Height()};
    ::FillRect(DC(), &all, brush.Get());
    ::GdiFlush();
}

void TDibCanvas::CaptureClient(HWND window)
{
    Check(FImage.CopyClient(window), "BitBlt");
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

namespace {

std::wstring Widened(const std::string& ansi)
{
    const int length = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), length);
    return wide;
}

void RemoveTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(folder + L"\\" + name);
            else
                ::DeleteFileW((folder + L"\\" + name).c_str());
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(folder.c_str());
}

}  // namespace

TScratchFolder::~TScratchFolder()
{
    RemoveTree(LongPath(Path().string()));
}

std::wstring TScratchFolder::LongPath(const std::string& path)
{
    return L"\\\\?\\" + Widened(path);
}

std::string TScratchFolder::WriteLongName(std::size_t minLength, const std::vector<std::uint8_t>& bytes) const
{
    // Folders of 100 characters, then the file, until the name is long enough.
    std::string path = Path().string();
    while (path.size() + 10 < minLength) {
        path += "\\" + std::string(100, static_cast<char>('a' + path.size() % 26));
        Check(::CreateDirectoryW(LongPath(path).c_str(), nullptr) != FALSE, "CreateDirectoryW");
    }
    path += "\\long.bin";
    WriteWide(LongPath(path), bytes);
    return path;
}

void TScratchFolder::WriteWide(const std::wstring& path, const std::vector<std::uint8_t>& bytes)
{
    const TFileHandle file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    Check(static_cast<bool>(file), "CreateFileW");
    DWORD written = 0;
    const BOOL ok =
        bytes.empty() || ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    Check(ok && written == bytes.size(), "WriteFile");
}

std::string TScratchFolder::Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const
{
    const std::string path = File(name);
    WriteWide(LongPath(path), bytes);
    return path;
}

std::string TScratchFolder::WriteSparse(const std::string& name, std::int64_t size) const
{
    const std::string path = File(name);
    const TFileHandle file(
        ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    Check(static_cast<bool>(file), "CreateFileA");
    DWORD returned = 0;
    ::DeviceIoControl(file.Get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = size;
    const BOOL ok = ::SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN) && ::SetEndOfFile(file.Get());
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

namespace {

// The Unix name of a Windows one, from Wine's own export; empty elsewhere.
std::string UnixName(const std::string& fileName)
{
    using TUnixName = char*(__cdecl*)(const wchar_t*);
    const auto convert = reinterpret_cast<TUnixName>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!convert)
        return {};
    char* name = convert(Widened(fileName).c_str());
    if (!name)
        return {};
    std::string result = name;
    ::HeapFree(::GetProcessHeap(), 0, name);
    return result;
}

bool Exists(const std::string& fileName)
{
    return ::GetFileAttributesA(fileName.c_str()) != INVALID_FILE_ATTRIBUTES;
}

const char* const AppendScript = "f=$1\n"
                                 "i=0\n"
                                 "while [ -e \"$f\" ] && [ ! -e \"$f.stop\" ] && [ $i -lt 2000000 ]; do\n"
                                 "  i=$((i+1))\n"
                                 "  printf '%07d\\n' \"$i\" >> \"$f\"\n"
                                 "done\n"
                                 ": > \"$f.done\"\n";

}  // namespace

TUnixAppender::TUnixAppender(const TScratchFolder& folder, const std::string& fileName) : FFileName(fileName)
{
    const std::string script = folder.File("append.sh");
    folder.Write("append.sh", std::vector<std::uint8_t>(AppendScript, AppendScript + std::strlen(AppendScript)));
    const std::string unixScript = UnixName(script), unixFile = UnixName(fileName);
    if (unixScript.empty() || unixFile.empty()) {
        FFailure = "no Unix names for files here (not under Wine)";
        return;
    }
    const std::int64_t start = FileSizeOf(fileName);
    std::string command = "/bin/sh \"" + unixScript + "\" \"" + unixFile + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    // Wine starts a Unix program without giving back a handle of it.
    if (!::CreateProcessA("Z:\\bin\\sh", command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process)) {
        FFailure = "/bin/sh cannot be started here, error " + std::to_string(::GetLastError());
        return;
    }
    if (process.hThread)
        ::CloseHandle(process.hThread);
    if (process.hProcess)
        ::CloseHandle(process.hProcess);
    FRunning = true;
    if (!TestDriver::WaitUntil(
            10000, [&] { return FileSizeOf(fileName) > start; }, 10))
        FFailure = "the shell appended nothing within 10 s";
}

TUnixAppender::~TUnixAppender()
{
    Stop();
}

void TUnixAppender::Stop()
{
    if (!FRunning)
        return;
    FRunning = false;
    const TFileHandle stop(
        ::CreateFileA((FFileName + ".stop").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    TestDriver::WaitUntil(
        10000, [&] { return Exists(FFileName + ".done"); }, 10);
}

std::int64_t FileSizeOf(const std::string& fileName)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(fileName.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return static_cast<std::int64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

std::vector<std::uint8_t> ReadAllBytes(const std::string& fileName)
{
    const TFileHandle file(::CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                         OPEN_EXISTING, 0, nullptr));
    Check(static_cast<bool>(file), "CreateFileA");
    std::vector<std::uint8_t> bytes;
    std::uint8_t block[65536];
    DWORD got = 0;
    while (::ReadFile(file.Get(), block, sizeof block, &got, nullptr) && got > 0)
        bytes.insert(bytes.end(), block, block + got);
    return bytes;
}

}  // namespace hexviewtest
