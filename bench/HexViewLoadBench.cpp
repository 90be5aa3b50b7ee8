// Loading a 256 MiB file through the viewer against one bare ReadFile of the
// same file into a buffer allocated and touched beforehand. Each run is a
// fresh process, so its peak memory is its own.
//   HexViewLoadBench [runs]

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/HexViewBenchSupport.h"
#include "hexview/VxHexViewer.h"

using namespace hexviewbench;

namespace {

constexpr std::int64_t FileSize = std::int64_t{256} << 20;

struct TRun {
    double Seconds = 0;
    TMemory Before;
    TMemory After;
};

TRun LoadWithViewer(const std::string& path)
{
    auto* host = new TBenchHost(800, 600);
    host->Handle();
    auto* viewer = new TVxHexViewer(host);
    SetClientSize(*viewer, 700, 500);
    TRun run;
    run.Before = ProcessMemory();
    const double start = Seconds();
    viewer->SetFileName(path);
    run.Seconds = Seconds() - start;
    run.After = ProcessMemory();
    if (viewer->Size() != FileSize)
        throw std::runtime_error("the viewer did not load the whole file");
    return run;
}

// `touched`: the buffer's pages are made present before the clock starts;
// otherwise the read itself faults them in, as the viewer's read does.
TRun LoadBare(const std::string& path, bool touched)
{
    TRun run;
    double start = 0;
    if (!touched)
        start = Seconds();
    std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[static_cast<std::size_t>(FileSize)]);
    if (touched) {
        std::memset(buffer.get(), 0, FileSize);
        run.Before = ProcessMemory();
        start = Seconds();
    }
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    DWORD got = 0;
    const BOOL ok = ::ReadFile(file, buffer.get(), static_cast<DWORD>(FileSize), &got, nullptr);
    ::CloseHandle(file);
    run.Seconds = Seconds() - start;
    run.After = ProcessMemory();
    if (!ok || got != FileSize)
        throw std::runtime_error("the bare read came short");
    return run;
}

int Child(const std::string& mode, const std::string& path, const std::string& results)
{
    const TRun run = mode == "viewer" ? LoadWithViewer(path) : LoadBare(path, mode == "bare");
    FILE* out = std::fopen(results.c_str(), "a");
    if (!out)
        return 2;
    std::fprintf(out, "%s %.6f %.1f %.1f %.1f\n", mode.c_str(), run.Seconds, run.Before.PrivateMiB,
                 run.After.PeakPrivateMiB, run.After.PeakWorkingSetMiB);
    std::fclose(out);
    // Leave without closing the host window (see TBenchHost).
    ::ExitProcess(0);
}

void RunChild(const std::string& mode, const std::string& path, const std::string& results)
{
    char self[MAX_PATH];
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string command = "\"";
    command.append(self).append("\" ").append(mode).append(" \"").append(path).append("\" \"").append(results).append(
        "\"");
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        throw std::runtime_error("cannot start a run");
    ::WaitForSingleObject(process.hProcess, INFINITE);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        if (argc == 4)
            return Child(argv[1], argv[2], argv[3]);
        const int runs = argc > 1 ? std::atoi(argv[1]) : 5;
        const std::string path = ScratchFile("quorvel-bench-256m.bin", FileSize);
        char temp[MAX_PATH];
        ::GetTempPathA(MAX_PATH, temp);
        const std::string results = std::string(temp) + "quorvel-bench-load.txt";
        ::DeleteFileA(results.c_str());
        // One unmeasured read puts the file in the cache for both.
        RunChild("bare", path, results);
        ::DeleteFileA(results.c_str());
        for (int i = 0; i < runs; ++i) {
            RunChild("viewer", path, results);
            RunChild("bare", path, results);
            RunChild("fresh", path, results);
        }

        std::map<std::string, std::vector<double>> seconds, base, peak, working;
        FILE* in = std::fopen(results.c_str(), "r");
        char mode[16];
        double s, b, p, w;
        while (in && std::fscanf(in, "%15s %lf %lf %lf %lf", mode, &s, &b, &p, &w) == 5) {
            seconds[mode].push_back(s);
            base[mode].push_back(b);
            peak[mode].push_back(p);
            working[mode].push_back(w);
        }
        if (in)
            std::fclose(in);
        std::printf("256 MiB file, %d runs each, medians\n", runs);
        std::printf("%-28s %10s %10s %16s %16s\n", "", "ms", "MiB/s", "peak private MiB", "peak working MiB");
        const std::map<std::string, const char*> titles{{"viewer", "viewer FileName"},
                                                        {"bare", "bare ReadFile, buffer ready"},
                                                        {"fresh", "new buffer + bare ReadFile"}};
        for (const char* m : {"viewer", "bare", "fresh"}) {
            const double t = Median(seconds[m]);
            std::printf("%-28s %10.1f %10.0f %16.1f %16.1f\n", titles.at(m), t * 1000, 256.0 / t, Median(peak[m]),
                        Median(working[m]));
        }
        std::printf("private memory before loading: viewer %.1f MiB, bare %.1f MiB (its buffer included)\n",
                    Median(base["viewer"]), Median(base["bare"]));
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
