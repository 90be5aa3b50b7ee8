#include "config/VXConfig.h"

#include "framework/Exceptions.h"
#include "resources/ResourceIds.h"
#include "tests/ConfigTestSupport.h"
#include "tests/support/PerUserFolder.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <sddl.h>

#include <cstdio>
#include <vector>

namespace {

const std::string HeaderOnly = "[VXS:CONFIG:HEADER]\r\nSchemaVersion=1\r\n\r\n";

std::string AppData()
{
    const std::string Folder = TestDriver::AppDataFolder();
    EXPECT_FALSE(Folder.empty());
    return Folder;
}

std::string ExeFolder()
{
    char Buffer[MAX_PATH + 1] = {};
    const DWORD Length = ::GetModuleFileNameA(nullptr, Buffer, MAX_PATH);
    std::string Path(Buffer, Length);
    return Path.substr(0, Path.find_last_of('\\') + 1);
}

bool Exists(const std::string& Path)
{
    return ::GetFileAttributesA(Path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Runs the writer helper to its end; its exit code.
DWORD RunWriter(const std::string& File, const std::string& Section, const std::string& Key, const std::string& Value)
{
    std::string Command = "\"" + ExeFolder() + "ConfigWriterHelper.exe\" \"" + File + "\" \"" + Section + "\" \"" +
                          Key + "\" \"" + Value + "\"";
    STARTUPINFOA Startup{};
    Startup.cb = sizeof Startup;
    PROCESS_INFORMATION Process{};
    if (!::CreateProcessA(nullptr, Command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &Startup, &Process))
        return ::GetLastError() | 0x80000000u;
    ::CloseHandle(Process.hThread);
    DWORD Code = STILL_ACTIVE;
    if (::WaitForSingleObject(Process.hProcess, 60000) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(Process.hProcess, &Code);
    ::CloseHandle(Process.hProcess);
    return Code;
}

}  // namespace

TEST(ConfigurationWin, FailsWithoutAppDataThenFindsTheRealPath)
{
    const std::string Expected = AppData() + "\\Talmore\\ConfigWinTest.ini";
    ::DeleteFileA(Expected.c_str());
    {
        // Somewhere it cannot be made.
        TestDriver::TAppDataRedirect Override("Q:\\nowhere\\AppData");
        ASSERT_TRUE(Override.Redirected());
        try {
            Configuration();
            FAIL() << "no error";
        } catch (const EVxError& E) {
            EXPECT_EQ(E.Message(), "Unable to find/create APPDATA folder");
        }
    }
    TVXConfiguration& Config = Configuration();
    EXPECT_EQ(Config.FileName(), Expected);
    EXPECT_EQ(&Configuration(), &Config);

    Config.OpenSection("Window").Release();
    EXPECT_EQ(ReadWhole(Expected), HeaderOnly);
    auto Section = Config.MainSection();
    Section->WriteInteger("Left", 283);
    Section.Release();
    EXPECT_EQ(ReadWhole(Expected), HeaderOnly + "[MAIN]\r\nLeft=283\r\n\r\n");
    ::DeleteFileA(Expected.c_str());
}

TEST(ConfigurationWin, FirstSaveCreatesMissingFoldersUnderAppData)
{
    const std::string Unique = std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(::GetTickCount());
    const std::string Top = AppData() + "\\Talmore\\ConfigWinTest-" + Unique;
    TVXConfiguration Config(VxSystemConfigPlatform(), "ConfigWinTest-" + Unique + "\\deeper");
    EXPECT_EQ(Config.FileName(), Top + "\\deeper\\ConfigWinTest.ini");
    EXPECT_FALSE(Exists(Top));
    Config.MainSection().Release();
    EXPECT_EQ(ReadWhole(Config.FileName()), HeaderOnly);
    ::DeleteFileA(Config.FileName().c_str());
    ::RemoveDirectoryA((Top + "\\deeper").c_str());
    ::RemoveDirectoryA(Top.c_str());
}

TEST(ConfigFileWin, ReadOnlyOrLockedFileIsRetriedAtTheNextSave)
{
    TScratchFolder Temp;
    const std::string Path = Temp.File("locked.ini");
    TVxConfigFile File(Path, false);
    File.OpenSection("S").Release();
    ASSERT_EQ(ReadWhole(Path), HeaderOnly);

    ASSERT_TRUE(::SetFileAttributesA(Path.c_str(), FILE_ATTRIBUTE_READONLY));
    auto Section = File.OpenSection("S");
    Section->WriteString("k", "v");
    EXPECT_NO_THROW(Section.Release());
    EXPECT_TRUE(File.Modified());
    ::SetFileAttributesA(Path.c_str(), FILE_ATTRIBUTE_NORMAL);

    const HANDLE Lock = ::CreateFileA(Path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(Lock, INVALID_HANDLE_VALUE);
    File.UpdateFile();
    EXPECT_TRUE(File.Modified());
    ::CloseHandle(Lock);
    EXPECT_EQ(ReadWhole(Path), HeaderOnly);
    for (const auto& Entry : std::filesystem::directory_iterator(Temp.Path()))
        EXPECT_EQ(Entry.path().filename().string(), "locked.ini");

    File.UpdateFile();
    EXPECT_FALSE(File.Modified());
    EXPECT_EQ(ReadWhole(Path), HeaderOnly + "[S]\r\nk=v\r\n\r\n");
}

TEST(ConfigFileWin, ChangeByAnotherProcessIsReloadedBeforeTheFirstWrite)
{
    TScratchFolder Temp;
    const std::string Path = Temp.File("shared.ini");
    TVxConfigFile Mine(Path, false);
    Mine.OpenSection("Mine").Release();
    ::Sleep(50);
    ASSERT_EQ(RunWriter(Path, "Other", "key", "from helper"), 0u);
    // Reads never look at the disk again.
    EXPECT_EQ(Mine.ReadString("Other", "key", "none"), "none");

    auto Section = Mine.OpenSection("Mine");
    Section->WriteString("key", "mine");
    EXPECT_EQ(Mine.ReadString("Other", "key", "none"), "from helper");
    Section.Release();
    EXPECT_EQ(ReadWhole(Path), HeaderOnly + "[Other]\r\nkey=\"from helper\"\r\n\r\n[Mine]\r\nkey=mine\r\n\r\n");

    // Once modified, the other process's later change is overwritten: the
    // last save wins.
    Section = Mine.OpenSection("Mine");
    Section->WriteString("key", "again");
    ::Sleep(50);
    ASSERT_EQ(RunWriter(Path, "Other", "key", "lost"), 0u);
    Section.Release();
    TVxConfigFile Check(Path, true);
    EXPECT_EQ(Check.ReadString("Other", "key", ""), "from helper");
    EXPECT_EQ(Check.ReadString("Mine", "key", ""), "again");
}

namespace {

// A process that runs no code: a helper started suspended, for the tests
// that need a live process other than this one.
class TIdleProcess {
public:
    TIdleProcess()
    {
        // Appended, not "..." + string: GCC 12 warns wrongly on that form.
        std::string Command(1, '"');
        Command.append(ExeFolder()).append("ConfigWriterHelper.exe\"");
        STARTUPINFOA Startup{};
        Startup.cb = sizeof Startup;
        PROCESS_INFORMATION Info{};
        if (::CreateProcessA(nullptr, Command.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                             &Startup, &Info)) {
            ::CloseHandle(Info.hThread);
            FProcess = Info.hProcess;
        }
    }
    ~TIdleProcess() { End(); }
    TIdleProcess(const TIdleProcess&) = delete;
    TIdleProcess& operator=(const TIdleProcess&) = delete;

    HANDLE Handle() const { return FProcess; }
    // The writer id its temporary files would carry.
    std::string WriterId() const
    {
        FILETIME Created{}, Exited{}, Kernel{}, User{};
        ::GetProcessTimes(FProcess, &Created, &Exited, &Kernel, &User);
        const unsigned long long Start =
            (static_cast<unsigned long long>(Created.dwHighDateTime) << 32) | Created.dwLowDateTime;
        char Text[64];
        std::snprintf(Text, sizeof Text, "%lx-%llx", ::GetProcessId(FProcess), Start);
        return Text;
    }
    void End()
    {
        if (FProcess == nullptr)
            return;
        ::TerminateProcess(FProcess, 1);
        ::WaitForSingleObject(FProcess, INFINITE);
        ::CloseHandle(FProcess);
        FProcess = nullptr;
    }

private:
    HANDLE FProcess = nullptr;
};

std::vector<std::string> FolderNames(const TScratchFolder& Temp)
{
    std::vector<std::string> Names;
    for (const auto& Entry : std::filesystem::directory_iterator(Temp.Path()))
        Names.push_back(Entry.path().filename().string());
    return Names;
}

}  // namespace

TEST(ConfigFileWin, FileHeldByAnotherProcessWithoutDeleteSharingIsRetriedOnceReleased)
{
    TScratchFolder Temp;
    const std::string Path = Temp.File("held.ini");
    TVxConfigFile File(Path, false);
    File.OpenSection("S").Release();
    ASSERT_EQ(ReadWhole(Path), HeaderOnly);

    TIdleProcess Other;
    ASSERT_NE(Other.Handle(), nullptr);
    // The handle moves into the other process; this one keeps none.
    const HANDLE Mine = ::CreateFileA(Path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(Mine, INVALID_HANDLE_VALUE);
    HANDLE Theirs = nullptr;
    ASSERT_TRUE(::DuplicateHandle(::GetCurrentProcess(), Mine, Other.Handle(), &Theirs, 0, FALSE,
                                  DUPLICATE_SAME_ACCESS | DUPLICATE_CLOSE_SOURCE));
    auto Section = File.OpenSection("S");
    Section->WriteString("k", "v");
    EXPECT_NO_THROW(Section.Release());
    EXPECT_TRUE(File.Modified());
    EXPECT_EQ(ReadWhole(Path), HeaderOnly);
    EXPECT_EQ(FolderNames(Temp), std::vector<std::string>{"held.ini"});

    Other.End();
    File.UpdateFile();
    EXPECT_FALSE(File.Modified());
    EXPECT_EQ(ReadWhole(Path), HeaderOnly + "[S]\r\nk=v\r\n\r\n");
}

TEST(ConfigFileWin, SaveKeepsTheFilesAttributesAndAccessList)
{
    TScratchFolder Temp;
    const std::string Path = Temp.File("kept.ini");
    TVxConfigFile File(Path, false);
    File.OpenSection("S").Release();

    const DWORD Attributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
    ASSERT_TRUE(::SetFileAttributesA(Path.c_str(), Attributes));
    PSECURITY_DESCRIPTOR Wanted = nullptr;
    ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;FA;;;WD)(A;;FR;;;BU)", SDDL_REVISION_1,
                                                                       &Wanted, nullptr));
    ASSERT_TRUE(::SetFileSecurityA(Path.c_str(), DACL_SECURITY_INFORMATION, Wanted));
    ::LocalFree(Wanted);
    const auto AccessList = [&] {
        char Buffer[4096];
        DWORD Needed = 0;
        char* Text = nullptr;
        if (!::GetFileSecurityA(Path.c_str(), DACL_SECURITY_INFORMATION, Buffer, sizeof Buffer, &Needed) ||
            !::ConvertSecurityDescriptorToStringSecurityDescriptorA(Buffer, SDDL_REVISION_1, DACL_SECURITY_INFORMATION,
                                                                    &Text, nullptr))
            return std::string("(none)");
        const std::string Result = Text;
        ::LocalFree(Text);
        return Result;
    };
    const std::string Before = AccessList();
    ASSERT_NE(Before.find("WD"), std::string::npos) << Before;

    auto Section = File.OpenSection("S");
    Section->WriteString("k", "v");
    Section.Release();
    ASSERT_FALSE(File.Modified());
    EXPECT_EQ(ReadWhole(Path), HeaderOnly + "[S]\r\nk=v\r\n\r\n");
    EXPECT_EQ(::GetFileAttributesA(Path.c_str()) & (Attributes | FILE_ATTRIBUTE_READONLY), Attributes);
    EXPECT_EQ(AccessList(), Before);
    ::SetFileAttributesA(Path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(ConfigFileWin, SaveKeepsTheFilesCreationTime)
{
    TScratchFolder Temp;
    const std::string Path = Temp.File("born.ini");
    TVxConfigFile File(Path, false);
    File.OpenSection("S").Release();
    SYSTEMTIME Long{};
    Long.wYear = 2001;
    Long.wMonth = 2;
    Long.wDay = 3;
    FILETIME Created{};
    ASSERT_TRUE(::SystemTimeToFileTime(&Long, &Created));
    const HANDLE Handle =
        ::CreateFileA(Path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(Handle, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(::SetFileTime(Handle, &Created, nullptr, nullptr));
    ::CloseHandle(Handle);
    const auto CreationTime = [&] {
        WIN32_FILE_ATTRIBUTE_DATA Data{};
        ::GetFileAttributesExA(Path.c_str(), GetFileExInfoStandard, &Data);
        return Data.ftCreationTime;
    };
    FILETIME Set = CreationTime();
    if (::CompareFileTime(&Set, &Created) != 0)
        GTEST_SKIP() << "the file system keeps no creation time that can be set (so under Wine on Linux)";

    auto Section = File.OpenSection("S");
    Section->WriteString("k", "v");
    Section.Release();
    ASSERT_FALSE(File.Modified());
    Set = CreationTime();
    EXPECT_EQ(::CompareFileTime(&Set, &Created), 0);
}

TEST(ConfigFileWin, SaveRemovesTemporaryFilesOfGoneWritersOnly)
{
    TScratchFolder Temp;
    const std::string Path = Temp.File("swept.ini");
    TVxConfigFile File(Path, false);
    File.OpenSection("S").Release();

    TIdleProcess Running;
    ASSERT_NE(Running.Handle(), nullptr);
    const std::string RunningId = Running.WriterId();
    const std::string Live = Path + "." + RunningId + ".tmp";
    // The same process id with another start: a writer that is gone.
    const std::string Reused = Path + "." + RunningId.substr(0, RunningId.find('-') + 1) + "1.tmp";
    std::string GoneId;
    {
        TIdleProcess Ended;
        GoneId = Ended.WriterId();
    }
    const std::string Gone = Path + "." + GoneId + ".tmp";
    const std::string HeldGone = Path + "." + GoneId.substr(0, GoneId.find('-') + 1) + "2.tmp";
    const std::string Unrelated = Path + ".x.tmp";
    for (const std::string& Name : {Live, Reused, Gone, HeldGone, Unrelated})
        WriteWhole(Name, "left part-way");
    // Held open without sharing: a save still writing it.
    const HANDLE Held = ::CreateFileA(HeldGone.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(Held, INVALID_HANDLE_VALUE);

    auto Section = File.OpenSection("S");
    Section->WriteString("k", "v");
    Section.Release();
    EXPECT_FALSE(File.Modified());
    EXPECT_TRUE(Exists(Live));
    EXPECT_FALSE(Exists(Reused));
    EXPECT_FALSE(Exists(Gone));
    EXPECT_TRUE(Exists(HeldGone));
    EXPECT_TRUE(Exists(Unrelated));

    ::CloseHandle(Held);
    Running.End();
    Section = File.OpenSection("S");
    Section->WriteString("k", "w");
    Section.Release();
    EXPECT_EQ(FolderNames(Temp), (std::vector<std::string>{"swept.ini", "swept.ini.x.tmp"}));
}

namespace {

// A small memory file system of the host, mounted from under Wine (where a
// program can start host programs) below Z:, which fills up and turns
// read-only for root as well. Unmounted on destruction.
class THostDisk {
public:
    explicit THostDisk(const char* Options)
    {
        using TSpawn = LONG(WINAPI*)(char* const*, int);
        FSpawn = reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "__wine_unix_spawnvp"));
        if (FSpawn == nullptr) {
            FRefusal = "no host programs can be started (not under Wine)";
            return;
        }
        (void)sizeof(TSpawn);
        FUnix = std::string("/tmp/qvdisk-").append(std::to_string(::GetCurrentProcessId())).append("-");
        FUnix.append(std::to_string(::GetTickCount()));
        FFolder = std::string("Z:").append(FUnix);
        for (char& C : FFolder)
            C = C == '/' ? '\\' : C;
        if (!::CreateDirectoryA(FFolder.c_str(), nullptr)) {
            FRefusal = "cannot make " + FFolder;
            return;
        }
        Host({"mount", "-t", "tmpfs", "-o", Options, "tmpfs", FUnix});
        ULARGE_INTEGER Free{}, Total{};
        FMounted =
            ::GetDiskFreeSpaceExA((FFolder + "\\").c_str(), &Free, &Total, nullptr) && Total.QuadPart <= (1u << 20);
        if (!FMounted)
            FRefusal = "mounting a file system was refused";
    }
    ~THostDisk()
    {
        if (FMounted)
            Host({"umount", "-l", FUnix});
        if (!FFolder.empty())
            ::RemoveDirectoryA(FFolder.c_str());
    }
    THostDisk(const THostDisk&) = delete;
    THostDisk& operator=(const THostDisk&) = delete;

    bool Mounted() const { return FMounted; }
    const std::string& Refusal() const { return FRefusal; }
    const std::string& Folder() const { return FFolder; }
    void Remount(const std::string& Options) { Host({"mount", "-o", std::string("remount,").append(Options), FUnix}); }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> Result;
        WIN32_FIND_DATAA Data{};
        const HANDLE Find = ::FindFirstFileA((FFolder + "\\*").c_str(), &Data);
        if (Find == INVALID_HANDLE_VALUE)
            return Result;
        do
            if (Data.cFileName[0] != '.')
                Result.push_back(Data.cFileName);
        while (::FindNextFileA(Find, &Data));
        ::FindClose(Find);
        return Result;
    }

private:
    void Host(std::vector<std::string> Args) const
    {
        std::vector<char*> Argv;
        for (std::string& Arg : Args)
            Argv.push_back(Arg.data());
        Argv.push_back(nullptr);
        reinterpret_cast<LONG(WINAPI*)(char* const*, int)>(FSpawn)(Argv.data(), TRUE);
    }

    void* FSpawn = nullptr;
    std::string FUnix;
    std::string FFolder;
    bool FMounted = false;
    std::string FRefusal;
};

}  // namespace

TEST(ConfigFileWin, FullDiskAndReadOnlyFolderLeaveTheOldFileAndTheNextSaveWorksOnceTheyAreGone)
{
    THostDisk Disk("size=64k");
    if (!Disk.Mounted())
        GTEST_SKIP() << Disk.Refusal();
    const std::string Path = Disk.Folder() + "\\c.ini";
    TVxConfigFile File(Path, false);
    File.WriteString("S", "k", "old");
    File.UpdateFile();
    ASSERT_FALSE(File.Modified());
    const std::string Old = ReadWhole(Path);
    const std::vector<std::string> Alone{"c.ini"};

    // More than the disk holds: the write fails part-way.
    for (int I = 0; I < 400; ++I)
        File.WriteString("Big", "key" + std::to_string(I), std::string(500, 'x'));
    EXPECT_NO_THROW(File.UpdateFile());
    EXPECT_TRUE(File.Modified());
    EXPECT_EQ(ReadWhole(Path), Old);
    EXPECT_EQ(Disk.Names(), Alone);
    Disk.Remount("size=1m");
    File.UpdateFile();
    EXPECT_FALSE(File.Modified());
    EXPECT_EQ(ReadWhole(Path), File.GetText());
    const std::string Saved = File.GetText();

    File.WriteString("S", "k", "new");
    Disk.Remount("ro");
    EXPECT_NO_THROW(File.UpdateFile());
    EXPECT_TRUE(File.Modified());
    EXPECT_EQ(ReadWhole(Path), Saved);
    Disk.Remount("rw");
    EXPECT_EQ(Disk.Names(), Alone);
    File.UpdateFile();
    EXPECT_FALSE(File.Modified());
    EXPECT_EQ(TVxConfigFile(Path, true).ReadString("S", "k", ""), "new");
}

int main(int argc, char** argv)
{
    // As the program does at start: the test's resources hold the maker folder.
    SetMakerFolderResource(IDS_MAKER_FOLDER);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
