// Processes killed at every step of a configuration save, natively and under
// Wine: the file is always the old or the new one, whole, and the temporary
// files of killed saves do not pile up.

#include "config/VxConfigOS.h"
#include "tests/ConfigSaveProgress.h"
#include "tests/ConfigTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <thread>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

using Clock = std::chrono::steady_clock;

namespace {

std::string HelperPath()
{
#if defined(_WIN32)
    char Buffer[MAX_PATH * 2] = {};
    std::string Self(Buffer, ::GetModuleFileNameA(nullptr, Buffer, sizeof Buffer));
    return Self.substr(0, Self.find_last_of("\\/") + 1) + "ConfigSaveLoopHelper.exe";
#else
    const std::filesystem::path Self = std::filesystem::read_symlink("/proc/self/exe");
    return (Self.parent_path() / "ConfigSaveLoopHelper").string();
#endif
}

// A running save loop helper; killed on destruction.
class THelper {
public:
    THelper(const std::string& File, const std::string& Progress, bool Once = false)
    {
#if defined(_WIN32)
        // Appended piece by piece: GCC 12 warns wrongly on a chain of "..." + string.
        std::string Command = "\"";
        for (const std::string& Part : {HelperPath(), File, Progress})
            Command.append(Part).append("\" \"");
        Command.resize(Command.size() - 2);
        if (Once)
            Command += " once";
        STARTUPINFOA Startup{};
        Startup.cb = sizeof Startup;
        PROCESS_INFORMATION Info{};
        if (::CreateProcessA(nullptr, Command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &Startup, &Info)) {
            ::CloseHandle(Info.hThread);
            FProcess = Info.hProcess;
            FId = Info.dwProcessId;
        }
#else
        const std::string Path = HelperPath();
        std::vector<std::string> Args{Path, File, Progress};
        if (Once)
            Args.push_back("once");
        std::vector<char*> Argv;
        for (std::string& Arg : Args)
            Argv.push_back(Arg.data());
        Argv.push_back(nullptr);
        pid_t Pid = 0;
        if (::posix_spawn(&Pid, Path.c_str(), nullptr, nullptr, Argv.data(), environ) == 0)
            FId = static_cast<unsigned long>(Pid);
#endif
    }
    ~THelper()
    {
        Kill();
    }
    THelper(const THelper&) = delete;
    THelper& operator=(const THelper&) = delete;

    bool Started() const
    {
        return FId != 0;
    }
    // The start of the writer id of its temporary files.
    std::string WriterPrefix() const
    {
#if defined(_WIN32)
        char Text[32];
        std::snprintf(Text, sizeof Text, "%lx-", FId);
        return Text;
#else
        return std::to_string(FId);
#endif
    }
    // Kills it and waits until it is gone.
    void Kill()
    {
#if defined(_WIN32)
        if (FProcess == nullptr)
            return;
        ::TerminateProcess(FProcess, 9);
        ::WaitForSingleObject(FProcess, INFINITE);
        ::CloseHandle(FProcess);
        FProcess = nullptr;
#else
        if (FId == 0 || FReaped)
            return;
        ::kill(static_cast<pid_t>(FId), SIGKILL);
        int Status = 0;
        ::waitpid(static_cast<pid_t>(FId), &Status, 0);
        FReaped = true;
#endif
    }
    // Its exit code once it ended by itself within Seconds, else -1.
    int Wait(int Seconds)
    {
#if defined(_WIN32)
        DWORD Code = 0;
        if (FProcess == nullptr ||
            ::WaitForSingleObject(FProcess, static_cast<DWORD>(Seconds) * 1000) != WAIT_OBJECT_0 ||
            !::GetExitCodeProcess(FProcess, &Code))
            return -1;
        ::CloseHandle(FProcess);
        FProcess = nullptr;
        return static_cast<int>(Code);
#else
        for (int Tries = 0; FId != 0 && !FReaped && Tries < Seconds * 100; ++Tries) {
            int Status = 0;
            if (::waitpid(static_cast<pid_t>(FId), &Status, WNOHANG) == static_cast<pid_t>(FId)) {
                FReaped = true;
                return WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -1;
#endif
    }

private:
#if defined(_WIN32)
    HANDLE FProcess = nullptr;
#else
    bool FReaped = false;
#endif
    unsigned long FId = 0;
};

// The whole file, read as the store reads it: without keeping another
// process from replacing it.
std::string ReadShared(const std::string& Path)
{
    try {
        return VxReadFile(Path);
    } catch (const std::exception& E) {
        return E.what();
    }
}

// Writer ids of the file's temporary files in its folder.
std::vector<std::string> TempWriters(const std::filesystem::path& Folder, const std::string& FileName)
{
    std::vector<std::string> Writers;
    for (const auto& Entry : std::filesystem::directory_iterator(Folder)) {
        const std::string Name = Entry.path().filename().string();
        const std::string_view Writer = VxTempFileWriter(FileName, Name);
        if (!Writer.empty())
            Writers.emplace_back(Writer);
    }
    return Writers;
}

std::string ProgressName([[maybe_unused]] const TScratchFolder& Temp, const std::string& Tag)
{
#if defined(_WIN32)
    return "Local\\QvSaveProgress-" + std::to_string(::GetCurrentProcessId()) + "-" + Tag;
#else
    return Temp.File("progress-" + Tag);
#endif
}

// Waits for Ready, spinning; false after Seconds.
template <class F>
bool SpinUntil(F Ready, double Seconds)
{
    const auto Deadline = Clock::now() + std::chrono::duration<double>(Seconds);
    while (!Ready())
        if (Clock::now() > Deadline)
            return false;
    return true;
}

// Waits for Ready, sleeping between looks; false after Seconds.
template <class F>
bool WaitUntil(F Ready, double Seconds)
{
    const auto Deadline = Clock::now() + std::chrono::duration<double>(Seconds);
    while (!Ready()) {
        if (Clock::now() > Deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return true;
}

int EnvInt(const char* Name, int Default)
{
    const char* Value = std::getenv(Name);
    return Value != nullptr && std::atoi(Value) > 0 ? std::atoi(Value) : Default;
}

const char* const StepNames[] = {"starting", "preparing", "writing", "flushing", "replacing", "between saves"};
constexpr std::array<TVxSaveStep, 5> Steps = {TVxSaveStep::Preparing, TVxSaveStep::Writing, TVxSaveStep::Flushing,
                                              TVxSaveStep::Replacing, TVxSaveStep::Done};

// The variant the helper's save number Round (from 0) writes.
int VariantOfRound(int Round)
{
    return Round % 2 == 0 ? 1 : 0;
}

class ConfigSaveKills : public testing::Test {
protected:
    void SetUp() override
    {
        Contents = {SaveLoop::Content(0), SaveLoop::Content(1)};
        WriteWhole(Path, Contents[0]);
    }
    bool IsWhole(const std::string& Text) const { return Text == Contents[0] || Text == Contents[1]; }
    std::string Describe(const std::string& Text) const
    {
        return IsWhole(Text) ? (Text == Contents[0] ? "content 0" : "content 1")
                             : "a torn file of " + std::to_string(Text.size()) + " bytes";
    }

    TScratchFolder Temp;
    const std::string FileName = "saves.ini";
    const std::string Path = Temp.File(FileName);
    std::array<std::string, 2> Contents;
};

}  // namespace

TEST_F(ConfigSaveKills, EveryKillLeavesTheOldOrTheNewFileWholeAndNoPileOfTemporaryFiles)
{
    const int MinKills = EnvInt("QUORVEL_SAVE_KILLS", 500);
    const int MinPerStep = 5;
    const SaveLoop::TProgressView View(ProgressName(Temp, "single"), true);
    TSaveProgress* const Progress = View.Get();
    ASSERT_NE(Progress, nullptr);
    const auto Begin = Clock::now();

    // The length of one round of the loop, so random kills spread over it.
    double Period = 0;
    {
        THelper Helper(Path, ProgressName(Temp, "single"));
        ASSERT_TRUE(Helper.Started());
        ASSERT_TRUE(WaitUntil([&] { return Progress->Saves.load() >= 1; }, 30));
        const auto From = Clock::now();
        ASSERT_TRUE(WaitUntil([&] { return Progress->Saves.load() >= 11; }, 30));
        Period = std::chrono::duration<double>(Clock::now() - From).count() / 10;
    }
    std::mt19937 Random(20261207);
    std::array<int, 6> PerStep{};
    int Kills = 0;
    int LeftATemp = 0;
    int MostTemps = 0;
    const auto Enough = [&] {
        for (const TVxSaveStep Step : Steps)
            if (PerStep[static_cast<std::size_t>(Step)] < MinPerStep)
                return false;
        return true;
    };
    std::string Before = ReadShared(Path);
    Clock::duration Starting{};
    while (Kills < MinKills || (!Enough() && Kills < 4 * MinKills)) {
        Progress->Step = 0;
        Progress->Saves = 0;
        Progress->Failures = 0;
        const auto Spawned = Clock::now();
        THelper Helper(Path, ProgressName(Temp, "single"));
        ASSERT_TRUE(Helper.Started());
        ASSERT_TRUE(WaitUntil([&] { return Progress->Step.load() != 0; }, 30)) << "kill " << Kills;
        Starting += Clock::now() - Spawned;
        if (Kills % 2 == 0) {
            // A random moment of the first two rounds.
            const auto At = Clock::now() + std::chrono::duration<double>(
                                               std::uniform_real_distribution<double>(0, 2 * Period)(Random));
            SpinUntil([&] { return Clock::now() >= At; }, 10);
        } else {
            // The moment a given step begins, so short steps are met too.
            const auto Target = static_cast<std::int32_t>(Steps[static_cast<std::size_t>(Kills / 2) % Steps.size()]);
            SpinUntil([&] { return Progress->Step.load() == Target; }, 10);
        }
        Helper.Kill();
        ++Kills;
        const auto Step = static_cast<std::size_t>(Progress->Step.load());
        ASSERT_LT(Step, PerStep.size());
        ++PerStep[Step];
        ASSERT_EQ(Progress->Failures.load(), 0) << "a save failed with no one in its way";
        const std::string Text = ReadShared(Path);
        ASSERT_TRUE(IsWhole(Text)) << "kill " << Kills << " while " << StepNames[Step] << " left " << Describe(Text)
                                   << (Text.size() < 200 ? ": " + Text : "");
        if (Step >= 1 && Step <= 3) {
            // Killed before the replacement: the content of the last
            // complete save.
            const int Saves = Progress->Saves.load();
            ASSERT_EQ(Text, Saves == 0 ? Before : Contents[static_cast<std::size_t>(VariantOfRound(Saves - 1))])
                << "kill " << Kills << " while " << StepNames[Step] << " in save " << Saves;
        }
        Before = Text;
        const std::vector<std::string> Writers = TempWriters(Temp.Path(), FileName);
        MostTemps = std::max(MostTemps, static_cast<int>(Writers.size()));
        LeftATemp += Writers.empty() ? 0 : 1;
        ASSERT_LE(Writers.size(), 1u) << "kill " << Kills;
        const auto AtStep = static_cast<TVxSaveStep>(Step);
        if (AtStep == TVxSaveStep::Writing || AtStep == TVxSaveStep::Flushing) {
            // The killed save's own file; any older one it removed first.
            ASSERT_EQ(Writers.size(), 1u) << "kill " << Kills;
            ASSERT_EQ(Writers[0].rfind(Helper.WriterPrefix(), 0), 0u) << Writers[0];
        } else if (AtStep == TVxSaveStep::Done) {
            ASSERT_TRUE(Writers.empty()) << "kill " << Kills << " after a complete save: " << Writers[0];
        }
    }
    for (const TVxSaveStep Step : Steps)
        EXPECT_GE(PerStep[static_cast<std::size_t>(Step)], MinPerStep) << StepNames[static_cast<std::size_t>(Step)];

    THelper Final(Path, ProgressName(Temp, "single"), true);
    ASSERT_EQ(Final.Wait(60), 0);
    EXPECT_EQ(ReadShared(Path), Contents[1]);
    EXPECT_TRUE(TempWriters(Temp.Path(), FileName).empty()) << "left after a complete save";

    const double Seconds = std::chrono::duration<double>(Clock::now() - Begin).count();
    std::printf("%d kills in %.1f s (a round of the loop: %.2f ms, a start until the first save: %.1f ms); by step:",
                Kills, Seconds, Period * 1000, std::chrono::duration<double>(Starting).count() * 1000 / Kills);
    for (std::size_t S = 0; S < PerStep.size(); ++S)
        std::printf(" %s %d%s", StepNames[S], PerStep[S], S + 1 < PerStep.size() ? "," : "\n");
    std::printf("every file whole; kills that left a temporary file: %d, never more than %d at once; none after "
                "the final save\n",
                LeftATemp, MostTemps);
}

TEST_F(ConfigSaveKills, TwoProcessesSavingAtOnceNeverTearTheFileOrTakeTheOthersTemporaryFile)
{
    const int Rounds = EnvInt("QUORVEL_SAVE_KILL_PAIRS", 24);
    const std::array<std::string, 2> Names = {ProgressName(Temp, "a"), ProgressName(Temp, "b")};
    const SaveLoop::TProgressView ViewA(Names[0], true);
    const SaveLoop::TProgressView ViewB(Names[1], true);
    const std::array<TSaveProgress*, 2> Progress = {ViewA.Get(), ViewB.Get()};
    ASSERT_TRUE(Progress[0] != nullptr && Progress[1] != nullptr);
    std::array<std::unique_ptr<THelper>, 2> Helpers;
    std::array<int, 2> Saves{};
    int Failures = 0;
    const auto Restart = [&](std::size_t I) {
        if (Helpers[I]) {
            Helpers[I]->Kill();
            Saves[I] += Progress[I]->Saves.load();
            Failures += Progress[I]->Failures.load();
        }
        Progress[I]->Saves = 0;
        Progress[I]->Failures = 0;
        Helpers[I] = std::make_unique<THelper>(Path, Names[I]);
        return Helpers[I]->Started() && WaitUntil([&] { return Progress[I]->Saves.load() >= 1; }, 30);
    };
    ASSERT_TRUE(Restart(0));
    ASSERT_TRUE(Restart(1));
    std::mt19937 Random(7);
    for (int Round = 0; Round < Rounds; ++Round) {
        std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(0, 20000)(Random)));
        const auto Killed = static_cast<std::size_t>(Round % 2);
        Helpers[Killed]->Kill();
        // Read while the other one goes on saving.
        const std::string Text = ReadShared(Path);
        ASSERT_TRUE(IsWhole(Text)) << "round " << Round << " left " << Describe(Text);
        // The running save's file and at most one of the killed process.
        ASSERT_LE(TempWriters(Temp.Path(), FileName).size(), 2u) << "round " << Round;
        ASSERT_TRUE(Restart(Killed)) << "round " << Round;
    }
    for (std::size_t I = 0; I < 2; ++I) {
        Helpers[I]->Kill();
        Saves[I] += Progress[I]->Saves.load();
        Failures += Progress[I]->Failures.load();
    }
#if !defined(_WIN32)
    // Had a sweep removed a running save's temporary file, that save would
    // have failed. (Windows cannot replace a file that another process has
    // open, and each process reads the other's saves: there some saves fail
    // and are retried.)
    EXPECT_EQ(Failures, 0);
#endif
    THelper Final(Path, Names[0], true);
    ASSERT_EQ(Final.Wait(60), 0);
    EXPECT_TRUE(IsWhole(ReadShared(Path)));
    EXPECT_TRUE(TempWriters(Temp.Path(), FileName).empty());
    std::printf("%d kills of one of two processes saving at once: every file whole; saves %d and %d, failed %d\n",
                Rounds, Saves[0], Saves[1], Failures);
}
