// The build's download packages used as a user would: the setup program run
// silently, the installed program started through its Start-menu shortcut,
// a silent uninstall through the command Add or Remove Programs runs; and
// the portable zip's program started where it was unpacked.

#include <gtest/gtest.h>

#include <shlobj.h>
#include <tlhelp32.h>

#include <algorithm>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <vector>

#include "framework/Handles.h"
#include "tests/EndToEndData/EndToEndSupport.h"
#include "tests/support/TestDriver.h"

[[maybe_unused]] const bool OnOwnDesktop = TestDriver::UsePrivateDesktop();

namespace {

using TRegKey = TUniqueHandle<HKEY, HandleTraits::Null<HKEY, ::RegCloseKey>>;

const char* const UninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorvel";
const char* const ShortcutFolder = "Quorvel";
const std::set<std::string> PackagedFiles = {"LICENSE.txt", "Quorvel.chm", "Quorvel.exe", "README.txt"};

bool Exists(const std::string& path)
{
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return in ? text.str() : "(missing)";
}

std::string BuildFolder()
{
    return TestDriver::TestExeFolder() + "\\..";
}

std::string SpecialFolder(int csidl)
{
    char path[MAX_PATH + 1] = {};
    if (::SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK)
        return {};
    return path;
}

// Program Files as this build sees it: the 32-bit folder for the 32-bit
// build on 64-bit Windows.
std::string InstallFolder()
{
    return SpecialFolder(CSIDL_PROGRAM_FILES) + "\\Talmore\\Quorvel";
}

std::string ShortcutPath()
{
    return SpecialFolder(CSIDL_COMMON_PROGRAMS) + "\\" + ShortcutFolder + "\\Quorvel.lnk";
}

std::set<std::string> FilesIn(const std::string& folder)
{
    std::set<std::string> names;
    WIN32_FIND_DATAA found{};
    const HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.insert(name);
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return names;
}

// A value of the uninstall entry, in this build's view of the registry;
// nullopt when the entry or the value is missing.
std::optional<std::string> UninstallValue(const char* name)
{
    HKEY raw = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, UninstallKey, 0, KEY_READ, &raw) != ERROR_SUCCESS)
        return std::nullopt;
    TRegKey key(raw);
    char data[1024] = {};
    DWORD size = sizeof data - 1;
    DWORD type = 0;
    if (::RegQueryValueExA(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return std::nullopt;
    return std::string(data);
}

bool MachineKeyExists(const char* path)
{
    HKEY raw = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &raw) != ERROR_SUCCESS)
        return false;
    TRegKey key(raw);
    return true;
}

// The file a shell link points at, or empty.
std::string LinkTarget(const std::string& link)
{
    std::string result;
    IShellLinkA* shellLink = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(&shellLink))))
        return result;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        std::wstring wide(link.begin(), link.end());
        char target[MAX_PATH + 1] = {};
        if (SUCCEEDED(file->Load(wide.c_str(), STGM_READ)) &&
            SUCCEEDED(shellLink->GetPath(target, MAX_PATH, nullptr, 0)))
            result = target;
        file->Release();
    }
    shellLink->Release();
    return result;
}

bool SamePath(const std::string& a, const std::string& b)
{
    char fullA[MAX_PATH * 4] = {};
    char fullB[MAX_PATH * 4] = {};
    ::GetFullPathNameA(a.c_str(), sizeof fullA, fullA, nullptr);
    ::GetFullPathNameA(b.c_str(), sizeof fullB, fullB, nullptr);
    return ::lstrcmpiA(fullA, fullB) == 0;
}

// Processes started by the given one (which may have ended already).
std::vector<DWORD> ChildrenOf(DWORD parent)
{
    std::vector<DWORD> children;
    TFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return children;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32First(snapshot.Get(), &entry); more; more = ::Process32Next(snapshot.Get(), &entry)) {
        if (entry.th32ParentProcessID == parent && entry.th32ProcessID != parent)
            children.push_back(entry.th32ProcessID);
    }
    return children;
}

// Runs `exe` with `arguments` and waits until it and every process it
// started have ended: an uninstaller copies itself to a temporary folder,
// starts the copy and returns at once, and the copy does the work.
bool RunToTheEnd(const std::string& exe, const std::string& arguments, DWORD* exitCode)
{
    TestDriver::TProcess process = TestDriver::TProcess::Start(exe, arguments, "");
    if (!process.WaitForExit(120000, exitCode))
        return false;
    for (DWORD child : ChildrenOf(process.Id())) {
        TKernelHandle handle(::OpenProcess(SYNCHRONIZE, FALSE, child));
        if (handle && ::WaitForSingleObject(handle.Get(), 120000) != WAIT_OBJECT_0)
            return false;
    }
    return true;
}

// Starts the program, waits for its main window and closes it as a user
// does, so it saves its settings.
void StartsAndShowsItsWindow(const std::string& exe)
{
    TestDriver::TProcess program = TestDriver::TProcess::Start(exe);
    const HWND main = TestDriver::WaitForMainWindow(program);
    ASSERT_NE(main, nullptr) << exe << " showed no main window";
    EXPECT_EQ(TestDriver::WindowText(main), "Quorvel");
    EXPECT_NE(EndToEnd::ViewerOf(main), nullptr) << "no viewer fills the main window";
    EXPECT_TRUE(program.Close()) << exe << " did not end when its window was closed";
}

// The version the program's manifest gives for it, or empty.
std::string ManifestVersion(const std::string& exe)
{
    TModuleHandle module(::LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module)
        return {};
    const HRSRC resource = ::FindResourceA(module.Get(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    const HGLOBAL loaded = resource ? ::LoadResource(module.Get(), resource) : nullptr;
    if (!loaded)
        return {};
    const std::string manifest(static_cast<const char*>(::LockResource(loaded)),
                               ::SizeofResource(module.Get(), resource));
    const std::string identity = "name=\"Talmore.Quorvel\" version=\"";
    const auto start = manifest.find(identity);
    if (start == std::string::npos)
        return {};
    const auto from = start + identity.size();
    return manifest.substr(from, manifest.find('"', from) - from);
}

class Setup : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(::CoInitialize(nullptr), S_OK);
        ASSERT_FALSE(FirstRun.Folder().empty()) << "the per-user folder could not be set aside";
        SetupExe = BuildFolder() + "\\packages\\" QUORVEL_PACKAGE_FILE_NAME ".exe";
        ASSERT_TRUE(Exists(SetupExe)) << SetupExe;
        // What an earlier run that was stopped half-way left installed goes
        // first, the same way.
        if (const auto command = UninstallValue("UninstallString"))
            RunToTheEnd(Unquoted(*command), "/S", nullptr);
        ASSERT_FALSE(Exists(InstallFolder())) << "left from an earlier run";
    }

    void TearDown() override { ::CoUninitialize(); }

    static std::string Unquoted(const std::string& text)
    {
        return text.size() >= 2 && text.front() == '"' && text.back() == '"' ? text.substr(1, text.size() - 2) : text;
    }

    EndToEnd::TFirstRun FirstRun;
    std::string SetupExe;
};

TEST_F(Setup, InstallsRunsAndUninstallsLeavingTheUsersSettings)
{
    DWORD exitCode = 1;
    ASSERT_TRUE(RunToTheEnd(SetupExe, "/S", &exitCode)) << "the setup program did not end";
    ASSERT_EQ(exitCode, 0u);

    const std::string folder = InstallFolder();
    std::set<std::string> expected = PackagedFiles;
    expected.insert("Uninstall.exe");
    EXPECT_EQ(FilesIn(folder), expected) << folder;

    EXPECT_EQ(UninstallValue("DisplayName"), "Quorvel");
    EXPECT_EQ(UninstallValue("DisplayVersion"), QUORVEL_VERSION);
    EXPECT_EQ(UninstallValue("Publisher"), "Talmore");
    const auto uninstall = UninstallValue("UninstallString");
    ASSERT_TRUE(uninstall.has_value()) << "no uninstall entry";
    EXPECT_TRUE(SamePath(Unquoted(*uninstall), folder + "\\Uninstall.exe")) << *uninstall;

    const std::string shortcut = ShortcutPath();
    const std::string target = LinkTarget(shortcut);
    ASSERT_FALSE(target.empty()) << "no Start-menu shortcut at " << shortcut;
    EXPECT_TRUE(SamePath(target, folder + "\\Quorvel.exe")) << target;

    EXPECT_EQ(ManifestVersion(target), QUORVEL_MANIFEST_VERSION);
    StartsAndShowsItsWindow(target);
    if (HasFatalFailure())
        return;
    // The settings the program saved on closing are the user's own.
    const std::string settings = FirstRun.Folder() + "\\Quorvel.ini";
    const std::string saved = ReadText(settings);
    ASSERT_NE(saved, "(missing)") << "the program saved no settings in " << settings;

    ASSERT_TRUE(RunToTheEnd(Unquoted(*uninstall), "/S", &exitCode)) << "the uninstaller did not end";
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(Exists(folder)) << "left installed: " << ::testing::PrintToString(FilesIn(folder));
    EXPECT_FALSE(Exists(SpecialFolder(CSIDL_PROGRAM_FILES) + "\\Talmore"));
    EXPECT_FALSE(Exists(shortcut));
    EXPECT_FALSE(Exists(SpecialFolder(CSIDL_COMMON_PROGRAMS) + "\\" + ShortcutFolder));
    EXPECT_FALSE(MachineKeyExists(UninstallKey));
    EXPECT_FALSE(MachineKeyExists("Software\\Talmore")) << "the setup's own registry key is left";
    EXPECT_EQ(ReadText(settings), saved) << "the user's settings were touched";
}

TEST(PortableZip, UnpacksToAProgramThatStarts)
{
    EndToEnd::TFirstRun firstRun;
    ASSERT_FALSE(firstRun.Folder().empty()) << "the per-user folder could not be set aside";
    const std::string folder = BuildFolder() + "\\unpacked\\" QUORVEL_PACKAGE_FILE_NAME;
    EXPECT_EQ(FilesIn(folder), PackagedFiles) << folder;
    EXPECT_EQ(ManifestVersion(folder + "\\Quorvel.exe"), QUORVEL_MANIFEST_VERSION);
    StartsAndShowsItsWindow(folder + "\\Quorvel.exe");
}

}  // namespace
