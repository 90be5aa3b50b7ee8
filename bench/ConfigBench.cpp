// Timings of the configuration file: load, look up every key of, and save a
// file of 10,000 entries in 100 sections; and the cost of a lookup in a
// section of 10,000 entries against one of 10 entries.

#include "config/VxConfigFiles.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using TClock = std::chrono::steady_clock;

double MicrosecondsSince(TClock::time_point Start)
{
    return std::chrono::duration<double, std::micro>(TClock::now() - Start).count();
}

std::string Key(int I)
{
    return "Key" + std::to_string(I);
}

// Mean time of one lookup over Rounds passes through Count keys of Section.
double LookupNanoseconds(TVxConfigFile& File, const std::string& Section, int Count, int Rounds)
{
    std::vector<std::string> Keys;
    for (int I = 0; I < Count; ++I)
        Keys.push_back(Key(I));
    std::size_t Found = 0;
    const auto Start = TClock::now();
    for (int R = 0; R < Rounds; ++R)
        for (const std::string& K : Keys)
            Found += File.ValueExists(Section, K) ? 1 : 0;
    const double Total = MicrosecondsSince(Start) * 1000.0;
    if (Found != static_cast<std::size_t>(Count) * static_cast<std::size_t>(Rounds))
        std::printf("lookup missed keys\n");
    return Total / (static_cast<double>(Count) * Rounds);
}

}  // namespace

int main()
{
    const auto Folder = std::filesystem::temp_directory_path() / "quorvel-config-bench";
    std::filesystem::create_directories(Folder);
    const std::string Path = (Folder / "bench.ini").string();
    std::filesystem::remove(Path);

    {
        TVxConfigFile Maker(Path, false);
        for (int S = 0; S < 100; ++S)
            for (int E = 0; E < 100; ++E)
                Maker.WriteString("Section" + std::to_string(S), Key(E), "value " + std::to_string(S * 100 + E));
        Maker.UpdateFile();
    }
    const auto Size = std::filesystem::file_size(Path);

    constexpr int Passes = 20;
    double Load = 0, Lookup = 0, Save = 0;
    for (int P = 0; P < Passes; ++P) {
        auto Start = TClock::now();
        TVxConfigFile File(Path, false);
        Load += MicrosecondsSince(Start);

        Start = TClock::now();
        std::size_t Length = 0;
        for (int S = 0; S < 100; ++S) {
            const std::string Section = "SECTION" + std::to_string(S);  // other case on purpose
            for (int E = 0; E < 100; ++E)
                Length += File.ReadString(Section, Key(E), "").size();
        }
        Lookup += MicrosecondsSince(Start);
        if (Length == 0)
            std::printf("nothing read\n");

        File.WriteInteger("Section0", "Key0", P);
        Start = TClock::now();
        File.UpdateFile();
        Save += MicrosecondsSince(Start);
    }
    std::printf("file: 100 sections x 100 entries, %ju bytes\n", static_cast<std::uintmax_t>(Size));
    std::printf("load:                   %10.1f us\n", Load / Passes);
    std::printf("read all 10,000 keys:   %10.1f us (%.0f ns per key)\n", Lookup / Passes, Lookup / Passes / 10.0);
    std::printf("save:                   %10.1f us\n", Save / Passes);

    TVxConfigFile Memory("", false);
    for (int E = 0; E < 10000; ++E)
        Memory.WriteString("Big", Key(E), "v");
    for (int E = 0; E < 10; ++E)
        Memory.WriteString("Small", Key(E), "v");
    const double Big = LookupNanoseconds(Memory, "Big", 10000, 100);
    const double Small = LookupNanoseconds(Memory, "Small", 10, 100000);
    std::printf("lookup, 10,000-entry section: %7.1f ns\n", Big);
    std::printf("lookup, 10-entry section:     %7.1f ns\n", Small);
    std::printf("ratio:                        %7.2f (target at most 2)\n", Big / Small);

    std::filesystem::remove_all(Folder);
    return 0;
}
