#include "bench/HexViewBenchSupport.h"

#include <psapi.h>

#include <algorithm>
#include <stdexcept>

#include "tests/support/TestDriver.h"

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

void SetClientSize(TWinControl& control, int w, int h)
{
    if (!TestDriver::SetClientSize(control, w, h))
        throw std::runtime_error("the view did not get the asked client size");
}

TVxHexViewer* BenchViewer(int w, int h)
{
    auto* host = new TBenchHost(w + 100, h + 80);
    host->Handle();
    auto* viewer = new TVxHexViewer(host);
    viewer->Font().SetName("Courier New");
    viewer->Font().SetHeight(-13);
    SetClientSize(*viewer, w, h);
    return viewer;
}

void Pump()
{
    TestDriver::PumpMessages();
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
        const auto count =
            static_cast<DWORD>(std::min<std::int64_t>(size - written, static_cast<std::int64_t>(chunk.size())));
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

}  // namespace hexviewbench
