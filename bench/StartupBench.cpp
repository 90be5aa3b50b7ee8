// Start-up time of Quorvel against a bare window with a menu and a child
// (StartupBareWindow, beside this program), started in turn: from the call
// that makes the process to its main window shown and the process idle
// (WaitForInputIdle returned and the window found visible). Each is closed
// with WM_CLOSE before the next starts.
//   StartupBench [runs] [program.exe]
// The program defaults to the build's Quorvel.exe. The per-user folder is
// set aside as the end-to-end tests do; one unmeasured start makes the
// configuration, so the measured ones start as a returning user does, with
// the placement and font saved by the run before (a program that saves
// none is measured on first runs, and the heading says so).

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/EndToEndData/EndToEndSupport.h"
#include "tests/support/TestDriver.h"

using namespace TestDriver;

namespace {

constexpr DWORD StartTimeoutMs = 20000;
constexpr DWORD SettleMs = 250;

double Seconds()
{
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

HWND VisibleMainWindow(DWORD processId)
{
    for (HWND window : ProcessWindows(processId))
        if (WindowClass(window) != "#32770" && !::GetWindow(window, GW_OWNER))
            return window;
    return nullptr;
}

// Milliseconds from the start to the main window shown and idle; the
// process is closed afterwards.
double TimedStart(const std::string& exe)
{
    const double start = Seconds();
    TProcess process = TProcess::Start(exe);
    if (::WaitForInputIdle(process.Handle(), StartTimeoutMs) != 0)
        throw std::runtime_error(exe + " did not become idle");
    HWND main = nullptr;
    const ULONGLONG end = ::GetTickCount64() + StartTimeoutMs;
    while (!(main = VisibleMainWindow(process.Id()))) {
        if (::GetTickCount64() >= end)
            throw std::runtime_error(exe + " showed no main window");
        ::Sleep(1);
    }
    const double elapsed = (Seconds() - start) * 1000;
    if (!process.Close())
        throw std::runtime_error(exe + " did not close by itself");
    // The system finishes with the ended process (its windows, its X
    // connection) before the next one starts.
    ::Sleep(SettleMs);
    return elapsed;
}

struct TSummary {
    double Low, Median, High;
};

TSummary Summarize(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return {values[n / 4], values[n / 2], values[(3 * n) / 4]};
}

bool HasSettings(const std::string& folder)
{
    WIN32_FIND_DATAA found{};
    const HANDLE search = ::FindFirstFileA((folder + "\\*.ini").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    ::FindClose(search);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        const int runs = std::max(argc > 1 ? std::atoi(argv[1]) : 30, 1);
        const std::string program = argc > 2 ? std::string(argv[2]) : QuorvelExePath();
        const std::string bare = TestExeFolder() + "\\StartupBareWindow.exe";
        EndToEnd::TFirstRun firstRun;
        if (firstRun.Folder().empty())
            throw std::runtime_error("the per-user folder could not be set aside");

        // Unmeasured: the first run writes the configuration; both programs'
        // files are in the cache afterwards.
        TimedStart(program);
        TimedStart(bare);
        const bool returning = HasSettings(firstRun.Folder());

        std::vector<double> own, reference;
        for (int i = 0; i < runs; ++i) {
            // Which goes first alternates, so neither always follows the other.
            if (i % 2 == 0) {
                own.push_back(TimedStart(program));
                reference.push_back(TimedStart(bare));
            } else {
                reference.push_back(TimedStart(bare));
                own.push_back(TimedStart(program));
            }
        }

        // Each pair ran back to back, under the same load: the ratio within
        // a pair varies far less than either time does across the run.
        std::vector<double> ratios;
        for (int i = 0; i < runs; ++i)
            ratios.push_back(own[static_cast<std::size_t>(i)] / reference[static_cast<std::size_t>(i)]);
        const TSummary a = Summarize(own), b = Summarize(reference), r = Summarize(ratios);
        std::printf("start to idle main window, %d runs each in turn, %s (ms)\n", runs,
                    returning ? "returning user" : "no configuration saved: first runs");
        std::printf("%-26s %10s %10s %10s\n", "", "quartile 1", "median", "quartile 3");
        std::printf("%-26s %10.1f %10.1f %10.1f\n", "Quorvel", a.Low, a.Median, a.High);
        std::printf("%-26s %10.1f %10.1f %10.1f\n", "bare window, menu, child", b.Low, b.Median, b.High);
        std::printf("%-26s %10.2f %10.2f %10.2f\n", "ratio within a pair", r.Low, r.Median, r.High);
        std::printf("ratio of the medians: %.2f; median ratio within a pair: %.2f (target at most 1.2)\n",
                    a.Median / b.Median, r.Median);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "StartupBench: %s\n", e.what());
        return 1;
    }
}
