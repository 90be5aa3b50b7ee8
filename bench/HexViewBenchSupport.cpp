#include "bench/HexViewBenchSupport.h"

#include <psapi.h>

#include <algorithm>
#include <stdexcept>

namespace hexviewbench {

double Seconds()
{
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

TMemory ProcessMemory()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    TMemory memory;
    if (::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters)) {
        constexpr double MiB = 1024.0 * 1024.0;
        memory.PrivateMiB = static_cast<double>(counters.PagefileUsage) / MiB;
        memory.PeakPrivateMiB = static_cast<double>(counters.PeakPagefileUsage) / MiB;
        memory.PeakWorkingSetMiB = static_cast<double>(counters.PeakWorkingSetSize) / MiB;
    }
    return memory;
}

void TBenchHost::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.Style = WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN | WS_VISIBLE;
    Params.WndParent = nullptr;
    Params.X = 0;
    Params.Y = 0;
    Params.Width = FWidth;
    Params.Height = FHeight;
}

void SetClientSize(TWinControl& control, int w, int h)
{
    HWND window = control.Handle();
    RECT r{0, 0, w, h};
    ::AdjustWindowRectEx(&r, static_cast<DWORD>(::GetWindowLongA(window, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongA(window, GWL_EXSTYLE)));
    control.SetBounds(0, 0, r.right - r.left + ::GetSystemMetrics(SM_CXVSCROLL), r.bottom - r.top);
    Pump();
    if (control.ClientWidth() != w || control.ClientHeight() != h)
        throw std::runtime_error("the view did not get the asked client size");
}

void Pump()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

std::string ScratchFile(const std::string& name, std::int64_t size)
{
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    const std::string path = std::string(temp) + name;
    WIN32_FILE_ATTRIBUTE_DATA existing{};
    if (::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &existing) &&
        (static_cast<std::int64_t>(existing.nFileSizeHigh) << 32 | existing.nFileSizeLow) == size)
        return path;

    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot create " + path);
    std::vector<std::uint8_t> chunk(1 << 20);
    std::uint32_t state = 12345;
    for (std::int64_t written = 0; written < size;) {
        for (auto& b : chunk) {
            state = state * 1664525u + 1013904223u;
            b = static_cast<std::uint8_t>(state >> 24);
        }
        const auto count = static_cast<DWORD>(std::min<std::int64_t>(size - written, static_cast<std::int64_t>(chunk.size())));
        DWORD done = 0;
        if (!::WriteFile(file, chunk.data(), count, &done, nullptr) || done != count) {
            ::CloseHandle(file);
            throw std::runtime_error("cannot write " + path);
        }
        written += count;
    }
    ::CloseHandle(file);
    return path;
}

} // namespace hexviewbench
