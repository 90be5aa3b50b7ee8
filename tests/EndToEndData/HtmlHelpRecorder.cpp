// Stands in for the help library in another process: each HtmlHelpA call is
// appended as one line to the file named by QUORVEL_HELP_LOG, so the test
// that started the program reads what it asked for.
// Line: caller window (hex), file or "(none)", command, data word, tab-separated.

#include <windows.h>

#include <cstdio>

namespace {

void Append(const char* line, int length)
{
    char path[MAX_PATH] = {};
    const DWORD got = ::GetEnvironmentVariableA("QUORVEL_HELP_LOG", path, sizeof path);
    if (got == 0 || got >= sizeof path)
        return;
    const HANDLE file = ::CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    ::WriteFile(file, line, static_cast<DWORD>(length), &written, nullptr);
    ::CloseHandle(file);
}

}  // namespace

extern "C" __declspec(dllexport) HWND WINAPI HtmlHelpA(HWND caller, LPCSTR file, UINT command, DWORD_PTR data)
{
    char line[MAX_PATH + 96];
    const int length = std::snprintf(line, sizeof line, "%llx\t%s\t%u\t%llu\n",
                                     static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(caller)),
                                     file ? file : "(none)", command, static_cast<unsigned long long>(data));
    if (length > 0)
        Append(line, length < static_cast<int>(sizeof line) ? length : static_cast<int>(sizeof line) - 1);
    // Any window handle but 0 tells the caller help was shown.
    return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x1234));
}
