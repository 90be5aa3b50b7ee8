// The program's font and window placement between runs, driven from outside
// with its real configuration file in the prefix's per-user folder. Each
// test puts back the folder and file it found.

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>
#include <algorithm>
#include <string>
#include <thread>

#include "tests/support/PerUserFolder.h"
#include "tests/support/TestDriver.h"
#include "tests/support/TestFiles.h"

using namespace TestDriver;

namespace {

// Keys pressed here reach only this test's windows.
[[maybe_unused]] const bool OnOwnDesktop = TestDriver::UsePrivateDesktop();

const std::string HeaderOnly = "[VXS:CONFIG:HEADER]\r\nSchemaVersion=1\r\n\r\n";

bool Exists(const std::string& Path)
{
    return ::GetFileAttributesA(Path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string WindowSection(int Left, int Top, int Width, int Height, int State)
{
    return "[Window]\r\nLeft=" + std::to_string(Left) + "\r\nTop=" + std::to_string(Top) +
           "\r\nWidth=" + std::to_string(Width) + "\r\nHeight=" + std::to_string(Height) +
           "\r\nState=" + std::to_string(State) + "\r\n\r\n";
}

::testing::AssertionResult HasRect(HWND Window, int Left, int Top, int Width, int Height)
{
    const RECT R = WindowRect(Window);
    if (R.left == Left && R.top == Top && R.right - R.left == Width && R.bottom - R.top == Height)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "window at " << R.left << "," << R.top << " " << R.right - R.left << "x"
                                         << R.bottom - R.top;
}

// Points the prefix's per-user application-data folder to a place that
// cannot be made while it lives, so the system's lookup of it fails.
class TAppDataFolderMoved {
public:
    TAppDataFolderMoved() = default;
    ~TAppDataFolderMoved() { Restore(); }
    TAppDataFolderMoved(const TAppDataFolderMoved&) = delete;
    TAppDataFolderMoved& operator=(const TAppDataFolderMoved&) = delete;

    // `Blocker` becomes a plain file; the folder would lie below it.
    bool Move(const std::string& Blocker)
    {
        if (!WriteWhole(Blocker, "in the way"))
            return false;
        FBlocker = Blocker;
        FRedirect.emplace(Blocker + "\\Roaming");
        return FRedirect->Redirected();
    }
    void Restore()
    {
        if (FBlocker.empty())
            return;
        FRedirect.reset();
        ::DeleteFileA(FBlocker.c_str());
        FBlocker.clear();
    }
    // A run killed while the folder was moved left the setting behind.
    static void RestoreLeftOver() { TAppDataRedirect::RestoreLeftOver(".blocker"); }

private:
    std::string FBlocker;
    std::optional<TAppDataRedirect> FRedirect;
};

// The maker folder is moved aside for each test and put back afterwards, so
// every test starts as a first run and leaves the prefix as it was.
class Persistence : public ::testing::Test {
protected:
    void SetUp() override
    {
        TAppDataFolderMoved::RestoreLeftOver();
        FirstRun.emplace();
        Folder = FirstRun->Folder();
        ASSERT_FALSE(Folder.empty()) << "the per-user folder could not be set aside";
        Blocked = Folder + ".persistence-blocked";
        File = Folder + "\\Quorvel.ini";
    }

    void TearDown() override
    {
        Program.Close();
        if (!Folder.empty() && Exists(Blocked)) {
            ::DeleteFileA(Folder.c_str());
            ::MoveFileA(Blocked.c_str(), Folder.c_str());
        }
        // A plain file standing in for the folder goes; the folder and the
        // program's files in it go with the first run.
        if (!Folder.empty() && !(::GetFileAttributesA(Folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY))
            ::DeleteFileA(Folder.c_str());
        FirstRun.reset();
    }

    HWND Start(const std::string& Exe = QuorvelExePath())
    {
        Program = TProcess::Start(Exe);
        return WaitForMainWindow(Program);
    }

    // Closes the main window as its close box does; true when the program
    // then ended on its own.
    bool CloseMain(HWND Main)
    {
        ::PostMessageA(Main, WM_CLOSE, 0, 0);
        DWORD ExitCode = 1;
        return Program.WaitForExit(15000, &ExitCode) && ExitCode == 0;
    }

    void WriteConfig(const std::string& Sections)
    {
        ASSERT_TRUE(::CreateDirectoryA(Folder.c_str(), nullptr) || Exists(Folder));
        ASSERT_TRUE(WriteWhole(File, HeaderOnly + Sections));
    }

    // Dismisses the error box of the program titled "Quorvel"; its message.
    std::string DismissErrorBox()
    {
        const HWND Box = WaitForDialog(Program.Id(), "Quorvel");
        if (!Box)
            return "(no error box)";
        const std::string Text = MessageBoxText(Box);
        ::PostMessageA(Box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        EXPECT_TRUE(WaitForWindowGone(Box));
        return Text;
    }

    std::optional<TFirstRun> FirstRun;
    std::string Folder;
    // Where the folder goes while a plain file stands in its place.
    std::string Blocked;
    std::string File;
    TProcess Program;
};

TEST_F(Persistence, FirstRunWritesTheHeaderThenClosingAddsFontAndPlacement)
{
    const HWND Main = Start();
    ASSERT_NE(Main, nullptr);
    EXPECT_EQ(ReadWhole(File), HeaderOnly) << "made while the window was loading";
    const RECT Designed = WindowRect(Main);
    EXPECT_EQ(Designed.left, 283);
    EXPECT_EQ(Designed.top, 237);

    ASSERT_TRUE(::MoveWindow(Main, 200, 150, 640, 400, TRUE));
    Pause(300);
    ASSERT_TRUE(CloseMain(Main));
    EXPECT_EQ(ReadWhole(File), HeaderOnly + "[MAIN]\r\nfont=\"10,FF000008,B0,Courier New\"\r\n\r\n" +
                                   WindowSection(200, 150, 640, 400, 0));
}

TEST_F(Persistence, SecondRunComesBackWithTheSavedFontAndPlacement)
{
    WriteConfig("[MAIN]\r\nfont=\"14,FF000008,I0,Lucida Console\"\r\n\r\n" + WindowSection(210, 170, 560, 330, 0));
    const HWND Main = Start();
    ASSERT_NE(Main, nullptr);
    EXPECT_TRUE(HasRect(Main, 210, 170, 560, 330));
    ASSERT_TRUE(CloseMain(Main));
    // Closing saves the viewer's font as it is, so it must be the loaded one.
    EXPECT_NE(ReadWhole(File).find("font=\"14,FF000008,I0,Lucida Console\""), std::string::npos) << ReadWhole(File);
}

TEST_F(Persistence, ClosedMaximisedComesBackMaximisedOverItsNormalRectangle)
{
    WriteConfig(WindowSection(220, 160, 600, 380, 0));
    HWND Main = Start();
    ASSERT_NE(Main, nullptr);
    ::ShowWindow(Main, SW_MAXIMIZE);
    Pause(300);
    ASSERT_TRUE(::IsZoomed(Main));
    ASSERT_TRUE(CloseMain(Main));
    EXPECT_NE(ReadWhole(File).find(WindowSection(220, 160, 600, 380, 2)), std::string::npos) << ReadWhole(File);

    Main = Start();
    ASSERT_NE(Main, nullptr);
    EXPECT_TRUE(::IsZoomed(Main));
    ::ShowWindow(Main, SW_RESTORE);
    Pause(300);
    EXPECT_TRUE(HasRect(Main, 220, 160, 600, 380));
}

TEST_F(Persistence, ClosedWhileMinimisedStoresStateOne)
{
    WriteConfig(WindowSection(230, 180, 500, 300, 0));
    const HWND Main = Start();
    ASSERT_NE(Main, nullptr);
    ::ShowWindow(Main, SW_MINIMIZE);
    Pause(300);
    ASSERT_TRUE(::IsIconic(Main));
    ASSERT_TRUE(CloseMain(Main));
    EXPECT_NE(ReadWhole(File).find(WindowSection(230, 180, 500, 300, 1)), std::string::npos) << ReadWhole(File);
}

TEST_F(Persistence, StoredRectangleOnePixelBeyondTheVirtualScreenIsNotRestored)
{
    const int Right = ::GetSystemMetrics(SM_XVIRTUALSCREEN) + ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    WriteConfig(WindowSection(Right - 400, 100, 401, 300, 0));
    const HWND Main = Start();
    ASSERT_NE(Main, nullptr);
    const RECT R = WindowRect(Main);
    EXPECT_EQ(R.left, 283);
    EXPECT_EQ(R.top, 237);
}

TEST_F(Persistence, DamagedFontTextShowsTheErrorAndTheWindowStillOpens)
{
    WriteConfig("[MAIN]\r\nfont=\"12,FF000008,B0\"\r\n\r\n");
    Program = TProcess::Start(QuorvelExePath());
    EXPECT_EQ(DismissErrorBox(), "Syntax error.");
    const HWND Main = WaitForMainWindow(Program);
    ASSERT_NE(Main, nullptr);
    ASSERT_TRUE(CloseMain(Main));
    // The size and style were set before the text failed.
    EXPECT_NE(ReadWhole(File).find("font=\"12,FF000008,B0,Courier New\""), std::string::npos) << ReadWhole(File);
}

TEST_F(Persistence, UnwritableConfigurationKeepsTheWindowOpenWithTheErrorShown)
{
    const HWND Main = Start();
    ASSERT_NE(Main, nullptr);
    // The folder becomes a plain file, so it cannot be made again.
    ASSERT_TRUE(::MoveFileA(Folder.c_str(), Blocked.c_str()));
    ASSERT_TRUE(WriteWhole(Folder, "not a folder"));

    ::PostMessageA(Main, WM_CLOSE, 0, 0);
    EXPECT_EQ(DismissErrorBox(), "Unable to create configuration folder: " + Folder + "\\.");
    Pause(300);
    EXPECT_TRUE(Program.Running());
    EXPECT_TRUE(::IsWindowVisible(Main));

    ASSERT_TRUE(::DeleteFileA(Folder.c_str()));
    ASSERT_TRUE(::MoveFileA(Blocked.c_str(), Folder.c_str()));
    ASSERT_TRUE(CloseMain(Main)) << "closes once the folder is back";
    EXPECT_NE(ReadWhole(File).find("[Window]"), std::string::npos);
}

TEST_F(Persistence, ASaveFailingAtEveryCloseStillEndsTheProgramAtTheSecond)
{
    const HWND Main = Start();
    ASSERT_NE(Main, nullptr);
    ASSERT_TRUE(::MoveFileA(Folder.c_str(), Blocked.c_str()));
    ASSERT_TRUE(WriteWhole(Folder, "not a folder"));
    const std::string Message = "Unable to create configuration folder: " + Folder + "\\.";

    ::PostMessageA(Main, WM_CLOSE, 0, 0);
    EXPECT_EQ(DismissErrorBox(), Message);
    Pause(300);
    ASSERT_TRUE(Program.Running()) << "the first failing close is abandoned";
    ChooseMenuItem(Main, 'F', 'x');
    EXPECT_EQ(DismissErrorBox(), Message) << "the failure of the second close is shown too";
    DWORD ExitCode = 1;
    EXPECT_TRUE(Program.WaitForExit(15000, &ExitCode)) << "the second close did not end the program";
    EXPECT_EQ(ExitCode, 0u);
    EXPECT_EQ(ReadWhole(Folder), "not a folder");
}

// What makes the configuration unusable at start, and what the user is told.
enum class TUnusable { NewerSchema, Unreadable, FolderCannotBeMade, NoAppDataFolder };

TEST_F(Persistence, AConfigurationUnusableAtStartIsReportedOnceAndNeverKeepsTheProgramOpen)
{
    const std::string Newer =
        "[VXS:CONFIG:HEADER]\r\nSchemaVersion=2\r\n\r\n[MAIN]\r\nfont=\"9,0,N0,Newer Face\"\r\n\r\n";
    for (const TUnusable Case :
         {TUnusable::NewerSchema, TUnusable::Unreadable, TUnusable::FolderCannotBeMade, TUnusable::NoAppDataFolder}) {
        for (const bool ThroughExit : {false, true}) {
            SCOPED_TRACE(std::to_string(static_cast<int>(Case)) +
                         (ThroughExit ? " closed by File, Exit" : " closed by its close box"));
            std::string Expected;
            TFileHandle Held;
            TAppDataFolderMoved Moved;
            switch (Case) {
            case TUnusable::NewerSchema:
                ASSERT_TRUE(::CreateDirectoryA(Folder.c_str(), nullptr) || Exists(Folder));
                ASSERT_TRUE(WriteWhole(File, Newer));
                Expected = "Unsupported schema version: 2.";
                break;
            case TUnusable::Unreadable:
                WriteConfig("");
                // Held by another program that lets no one read it.
                Held.Reset(::CreateFileA(File.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
                ASSERT_TRUE(Held);
                Expected = "Cannot open file \"" + File + "\". " + SystemText(ERROR_SHARING_VIOLATION);
                break;
            case TUnusable::FolderCannotBeMade:
                ASSERT_TRUE(WriteWhole(Folder, "not a folder"));
                Expected = "Unable to create configuration folder: " + Folder + "\\.";
                break;
            case TUnusable::NoAppDataFolder:
                ASSERT_TRUE(Moved.Move(Folder + ".blocker"));
                Expected = "Unable to find/create APPDATA folder.";
                break;
            }
            Program = TProcess::Start(QuorvelExePath());
            EXPECT_EQ(DismissErrorBox(), Expected);
            const HWND Main = WaitForMainWindow(Program);
            ASSERT_NE(Main, nullptr);
            EXPECT_EQ(WaitForDialog(Program.Id(), "Quorvel", 1500), nullptr) << "told more than once";
            EXPECT_EQ(WindowText(Main), "Quorvel");
            if (ThroughExit)
                ChooseMenuItem(Main, 'F', 'x');
            else
                ::PostMessageA(Main, WM_CLOSE, 0, 0);
            DWORD ExitCode = 1;
            EXPECT_TRUE(Program.WaitForExit(15000, &ExitCode)) << "the close did not end the program";
            EXPECT_EQ(ExitCode, 0u);
            Program.Terminate();
            Held.Reset();
            Moved.Restore();
            if (Case == TUnusable::NewerSchema || Case == TUnusable::Unreadable) {
                EXPECT_EQ(ReadWhole(File), Case == TUnusable::NewerSchema ? Newer : HeaderOnly)
                    << "the file was written";
            }
            if (Case == TUnusable::FolderCannotBeMade) {
                EXPECT_EQ(ReadWhole(Folder), "not a folder");
                ASSERT_TRUE(::DeleteFileA(Folder.c_str()));
            }
            ::DeleteFileA(File.c_str());
            ::RemoveDirectoryA(Folder.c_str());
        }
    }
}

TEST_F(Persistence, TheEndOfTheSessionSavesAndEndsTheProgram)
{
    const HWND Main = Start();
    ASSERT_NE(Main, nullptr);
    ASSERT_TRUE(::MoveWindow(Main, 210, 160, 600, 350, TRUE));
    Pause(300);
    DWORD_PTR Answer = 0;
    ASSERT_TRUE(::SendMessageTimeoutA(Main, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &Answer));
    EXPECT_EQ(Answer, static_cast<DWORD_PTR>(TRUE)) << "the program held the session up";
    ::SendMessageTimeoutA(Main, WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 5000, &Answer);
    DWORD ExitCode = 1;
    EXPECT_TRUE(Program.WaitForExit(15000, &ExitCode));
    EXPECT_EQ(ExitCode, 0u);
    EXPECT_EQ(ReadWhole(File), HeaderOnly + "[MAIN]\r\nfont=\"10,FF000008,B0,Courier New\"\r\n\r\n" +
                                   WindowSection(210, 160, 600, 350, 0));

    // A save that fails then shows no box the ending session would wait for.
    const HWND Again = Start();
    ASSERT_NE(Again, nullptr);
    ASSERT_TRUE(::MoveFileA(Folder.c_str(), Blocked.c_str()));
    ASSERT_TRUE(WriteWhole(Folder, "not a folder"));
    ::SendMessageTimeoutA(Again, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &Answer);
    ::SendMessageTimeoutA(Again, WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 5000, &Answer);
    EXPECT_TRUE(Program.WaitForExit(15000, &ExitCode)) << "a box or the failed save kept the program";
    EXPECT_EQ(ExitCode, 0u);
}

// The temporary files of the configuration file beside it.
int TemporaryFiles(const std::string& File)
{
    int Count = 0;
    WIN32_FIND_DATAA Data{};
    const HANDLE Find = ::FindFirstFileA((File + ".*.tmp").c_str(), &Data);
    if (Find == INVALID_HANDLE_VALUE)
        return 0;
    do
        ++Count;
    while (::FindNextFileA(Find, &Data));
    ::FindClose(Find);
    return Count;
}

TEST_F(Persistence, KilledAtAnyMomentOfClosingTheProgramLeavesAWholeFile)
{
    using Clock = std::chrono::steady_clock;
    // The program writes the style letters in capitals and the window where
    // it is: each of its two saves at closing gives a file of its own.
    const std::string Old =
        HeaderOnly + "[MAIN]\r\nfont=\"10,FF000008,b0,Courier New\"\r\n\r\n" + WindowSection(250, 200, 500, 300, 0);
    const std::string FontSaved =
        HeaderOnly + "[MAIN]\r\nfont=\"10,FF000008,B0,Courier New\"\r\n\r\n" + WindowSection(250, 200, 500, 300, 0);
    const std::string AllSaved =
        HeaderOnly + "[MAIN]\r\nfont=\"10,FF000008,B0,Courier New\"\r\n\r\n" + WindowSection(260, 210, 520, 310, 0);
    const char* const Names[] = {"the old file", "the font saved", "font and placement saved"};
    const auto Outcome = [&](const std::string& Text) {
        return Text == Old ? 0 : Text == FontSaved ? 1 : Text == AllSaved ? 2 : -1;
    };
    // Until the window shows moved; false when it did not.
    const auto StartMoved = [&] {
        WriteConfig(Old.substr(HeaderOnly.size()));
        const HWND Main = Start();
        return Main != nullptr && ::MoveWindow(Main, 260, 210, 520, 310, TRUE) ? Main : nullptr;
    };

    // A close to its end, watched from the folder so that no open of the
    // file is in the program's way: the moments of its two saves.
    const auto Stamp = [&] {
        WIN32_FIND_DATAA Data{};
        const HANDLE Find = ::FindFirstFileA(File.c_str(), &Data);
        if (Find != INVALID_HANDLE_VALUE)
            ::FindClose(Find);
        return (static_cast<unsigned long long>(Data.ftLastWriteTime.dwHighDateTime) << 32 |
                Data.ftLastWriteTime.dwLowDateTime) ^
               Data.nFileSizeLow;
    };
    HWND Main = StartMoved();
    ASSERT_NE(Main, nullptr);
    std::vector<double> Saves;
    auto Last = Stamp();
    const auto Asked = Clock::now();
    ::PostMessageA(Main, WM_CLOSE, 0, 0);
    while (Program.Running() && std::chrono::duration<double>(Clock::now() - Asked).count() < 15) {
        if (const auto Now = Stamp(); Now != Last) {
            Saves.push_back(std::chrono::duration<double>(Clock::now() - Asked).count());
            Last = Now;
        }
    }
    const double Closing = std::chrono::duration<double>(Clock::now() - Asked).count();
    ASSERT_TRUE(Program.WaitForExit(15000));
    ASSERT_EQ(ReadWhole(File), AllSaved);
    ASSERT_EQ(Saves.size(), 2u) << "saves seen while closing";

    const char* Budget = std::getenv("QUORVEL_CLOSE_KILL_SECONDS");
    const double Seconds = Budget != nullptr && std::atof(Budget) > 0 ? std::atof(Budget) : 15;
    std::mt19937 Random(1207);
    int Counts[3] = {};
    int Kills = 0;
    int EndedFirst = 0;
    const auto Begin = Clock::now();
    while (Kills < 10 || std::chrono::duration<double>(Clock::now() - Begin).count() < Seconds) {
        Main = StartMoved();
        ASSERT_NE(Main, nullptr) << "kill " << Kills;
        // Just before or just after one of the two saves (whichever comes
        // first: a moment picked around the save's usual time, or the save
        // seen), or any moment of the close.
        const std::size_t Kind = static_cast<std::size_t>(Kills % 3);
        auto Seen = Stamp();
        std::size_t Changes = 0;
        const auto Posted = Clock::now();
        ::PostMessageA(Main, WM_CLOSE, 0, 0);
        const double From = Kind == 1 ? Saves[1] - 0.01 : 0;
        const double To = Kind == 2 ? Closing : Kind == 1 ? Saves[1] + 0.05 : Saves[0] + 0.002;
        const double Delay = std::uniform_real_distribution<double>(From, To)(Random);
        const auto At = Posted + std::chrono::duration<double>(std::max(Delay, 0.0));
        while (Clock::now() < At) {
            if (Kind == 2)
                continue;
            if (const auto Now = Stamp(); Now != Seen) {
                Seen = Now;
                if (++Changes > Kind)
                    break;
            }
        }
        EndedFirst += Program.Running() ? 0 : 1;
        Program.Terminate();
        ++Kills;
        const std::string Text = ReadWhole(File);
        const int Which = Outcome(Text);
        ASSERT_GE(Which, 0) << "kill " << Kills << " left a torn file of " << Text.size() << " bytes:\n" << Text;
        ++Counts[Which];
        ASSERT_LE(TemporaryFiles(File), 1) << "kill " << Kills;
    }
    Main = StartMoved();
    ASSERT_NE(Main, nullptr);
    ASSERT_TRUE(CloseMain(Main));
    EXPECT_EQ(ReadWhole(File), AllSaved);
    EXPECT_EQ(TemporaryFiles(File), 0) << "left after a complete close";
    std::printf("%d kills of the program while closing (a close takes %.0f ms, its saves come at %.1f and %.1f ms), "
                "every file whole: %s %d, %s %d, %s %d (of these %d ended before the kill)\n",
                Kills, Closing * 1000, Saves[0] * 1000, Saves[1] * 1000, Names[0], Counts[0], Names[1], Counts[1],
                Names[2], Counts[2], EndedFirst);
}

TEST_F(Persistence, AFileHeldWithoutDeleteSharingAtClosingIsLeftWholeAndNothingIsShown)
{
    WriteConfig(WindowSection(250, 200, 500, 300, 0));
    const std::string Old = ReadWhole(File);
    const HWND Main = Start();
    ASSERT_NE(Main, nullptr);
    ASSERT_TRUE(::MoveWindow(Main, 260, 210, 520, 310, TRUE));
    TFileHandle Held(::CreateFileA(File.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(Held);
    // A failed write is silent: no box, and the program ends.
    ASSERT_TRUE(CloseMain(Main));
    EXPECT_EQ(ReadWhole(File), Old);
    EXPECT_EQ(TemporaryFiles(File), 0);
}

TEST_F(Persistence, RenamedProgramNamesItsOwnFileInTheSameFolder)
{
    const std::string Copy = TestExeFolder() + "\\QvRenamedCopy.exe";
    ASSERT_TRUE(::CopyFileA(QuorvelExePath().c_str(), Copy.c_str(), FALSE));
    const std::string RenamedFile = Folder + "\\QvRenamedCopy.ini";
    const HWND Main = Start(Copy);
    ASSERT_NE(Main, nullptr);
    ASSERT_TRUE(CloseMain(Main));
    EXPECT_NE(ReadWhole(RenamedFile).find("[Window]"), std::string::npos) << ReadWhole(RenamedFile);
    EXPECT_FALSE(Exists(File));
    ::DeleteFileA(RenamedFile.c_str());
    ::DeleteFileA(Copy.c_str());
}

}  // namespace
