#include "tests/support/PerUserFolder.h"

#include <shlobj.h>

#include <vector>

namespace TestDriver {

namespace {

constexpr const char* ShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr const char* DefaultAppData = "%USERPROFILE%\\AppData\\Roaming";

bool Exists(const std::string& path)
{
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The setting unexpanded, as it is stored; nothing when there is none.
std::optional<std::string> AppDataSetting(DWORD* type = nullptr)
{
    DWORD size = 0;
    if (::RegGetValueA(HKEY_CURRENT_USER, ShellFolders, "AppData", RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND,
                       type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    std::vector<char> value(size + 1, '\0');
    if (::RegGetValueA(HKEY_CURRENT_USER, ShellFolders, "AppData", RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND,
                       type, value.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::string(value.data());
}

bool SetAppDataSetting(const std::string& value, DWORD type = REG_EXPAND_SZ)
{
    return ::RegSetKeyValueA(HKEY_CURRENT_USER, ShellFolders, "AppData", type, value.c_str(),
                             static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

// Deletes what the program saves in its per-user folder (its .ini files)
// and the folder when nothing else is left there. True when it is gone.
bool ClearProgramFolder(const std::string& folder)
{
    WIN32_FIND_DATAA found{};
    const HANDLE search = ::FindFirstFileA((folder + "\\*.ini").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do
            ::DeleteFileA((folder + "\\" + found.cFileName).c_str());
        while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    return ::RemoveDirectoryA(folder.c_str()) || !Exists(folder);
}

// Moves the set-aside folder back; an empty one stood for no folder at all.
bool PutBack(const std::string& aside, const std::string& folder)
{
    if (::RemoveDirectoryA(aside.c_str()))
        return true;
    return ::MoveFileA(aside.c_str(), folder.c_str()) != 0;
}

}  // namespace

std::string AppDataFolder()
{
    char buffer[MAX_PATH + 1] = {};
    if (::SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buffer) != S_OK)
        return std::string();
    return buffer;
}

TAppDataRedirect::TAppDataRedirect(const std::string& path) : FOld(AppDataSetting(&FOldType))
{
    FRedirected = SetAppDataSetting(path);
}

void TAppDataRedirect::Restore()
{
    if (!FRedirected)
        return;
    FRedirected = false;
    if (FOld)
        SetAppDataSetting(*FOld, FOldType);
    else
        ::RegDeleteKeyValueA(HKEY_CURRENT_USER, ShellFolders, "AppData");
}

void TAppDataRedirect::RestoreLeftOver(const std::string& marker)
{
    const auto value = AppDataSetting();
    if (value && value->find(marker) != std::string::npos)
        SetAppDataSetting(DefaultAppData);
}

TFirstRun::TFirstRun()
{
    const std::string appData = AppDataFolder();
    if (appData.empty())
        return;
    const std::string folder = appData + "\\Talmore";
    FAside = folder + ".endtoend-aside";
    // A run that was killed half-way left the real folder aside, and maybe
    // a folder its program saved in meanwhile: that one goes, the real one
    // comes back. What is not the program's own is kept under another name
    // rather than deleted.
    if (Exists(FAside)) {
        if (Exists(folder) && !ClearProgramFolder(folder)) {
            const std::string kept = folder + ".endtoend-left-" + std::to_string(::GetTickCount64());
            if (!::MoveFileA(folder.c_str(), kept.c_str()))
                return;
        }
        if (!PutBack(FAside, folder))
            return;
    }
    // With no folder to set aside an empty one stands for it, so a killed
    // run is told apart from a user's folder.
    if (Exists(folder) ? !::MoveFileA(folder.c_str(), FAside.c_str()) : !::CreateDirectoryA(FAside.c_str(), nullptr))
        return;
    FFolder = folder;
}

TFirstRun::~TFirstRun()
{
    if (FFolder.empty())
        return;
    ClearProgramFolder(FFolder);
    PutBack(FAside, FFolder);
}

}  // namespace TestDriver
