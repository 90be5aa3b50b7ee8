#include "config/VxConfigOS.h"

#include "config/VxConfigOSShared.h"
#include "config/VxConfigText.h"
#include "framework/Exceptions.h"
#include "framework/Handles.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <utility>
#include <vector>

namespace {

// The system's text for an error code without its full stop, so it can stand
// inside a longer message.
std::string SysErrorPhrase(DWORD Code)
{
    std::string Text = SysErrorMessage(Code);
    while (!Text.empty() && Text.back() == '.')
        Text.pop_back();
    return Text;
}

double SystemTimeToDateTime(const SYSTEMTIME& Time)
{
    return EncodeDate(Time.wYear, Time.wMonth, Time.wDay) +
           EncodeTime(Time.wHour, Time.wMinute, Time.wSecond, Time.wMilliseconds);
}

[[noreturn]] void RaiseWriteError(const std::string& Path, DWORD Code)
{
    throw EOSError(Format("Unable to write \"%s\". %s", Path.c_str(), SysErrorPhrase(Code).c_str()), Code);
}

bool IsSeparator(char C)
{
    return C == '\\' || C == '/';
}

// Length of the part of a folder that is never created: "C:\" or "\\server\share\".
std::size_t RootLength(const std::string& Folder)
{
    if (Folder.size() >= 2 && Folder[1] == ':')
        return Folder.size() > 2 && IsSeparator(Folder[2]) ? 3 : 2;
    if (Folder.size() >= 2 && IsSeparator(Folder[0]) && IsSeparator(Folder[1])) {
        std::size_t Separators = 0;
        for (std::size_t I = 2; I < Folder.size(); ++I)
            if (IsSeparator(Folder[I]) && ++Separators == 2)
                return I + 1;
        return Folder.size();
    }
    return IsSeparator(Folder.front()) ? 1 : 0;
}

std::uint64_t Ticks(const FILETIME& Time)
{
    return (std::uint64_t{Time.dwHighDateTime} << 32) | Time.dwLowDateTime;
}

// A writer is a process and the moment it started, so an id that a later
// process reuses names another writer.
struct TWriter {
    DWORD Process = 0;
    std::uint64_t Started = 0;
};

std::string WriterId(const TWriter& Writer)
{
    return Format("%lx-%llx", static_cast<unsigned long>(Writer.Process),
                  static_cast<unsigned long long>(Writer.Started));
}

std::optional<TWriter> ParseWriterId(std::string_view Id)
{
    const std::size_t Dash = Id.find('-');
    if (Dash == std::string_view::npos || Dash == 0 || Dash + 1 == Id.size())
        return std::nullopt;
    const std::string Text{Id};
    char* End = nullptr;
    TWriter Writer;
    Writer.Process = static_cast<DWORD>(std::strtoul(Text.c_str(), &End, 16));
    if (End != Text.c_str() + Dash)
        return std::nullopt;
    Writer.Started = std::strtoull(Text.c_str() + Dash + 1, &End, 16);
    if (End != Text.c_str() + Text.size())
        return std::nullopt;
    return Writer;
}

std::uint64_t StartOf(HANDLE Process)
{
    FILETIME Created{}, Exited{}, Kernel{}, User{};
    return ::GetProcessTimes(Process, &Created, &Exited, &Kernel, &User) ? Ticks(Created) : 0;
}

TWriter ThisWriter()
{
    static const TWriter Writer{::GetCurrentProcessId(), StartOf(::GetCurrentProcess())};
    return Writer;
}

// True unless the writer is known to be gone: a process that cannot be
// looked at counts as running.
bool StillRunning(const TWriter& Writer)
{
    const TKernelHandle Process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, Writer.Process));
    if (!Process)
        return ::GetLastError() == ERROR_ACCESS_DENIED;
    DWORD Code = 0;
    if (!::GetExitCodeProcess(Process.Get(), &Code))
        return true;
    const std::uint64_t Started = StartOf(Process.Get());
    return Code == STILL_ACTIVE && (Started == 0 || Started == Writer.Started);
}

// Removes the temporary files of Path whose writers are gone. A running
// save's file also stays because its writer keeps it open without sharing
// until it is complete.
void RemoveStaleTemps(const std::string& Path, const TWriter& Own)
{
    const std::size_t Separator = Path.find_last_of("\\/");
    const std::string Folder = Separator == std::string::npos ? std::string() : Path.substr(0, Separator + 1);
    const std::string Name = Path.substr(Separator == std::string::npos ? 0 : Separator + 1);
    WIN32_FIND_DATAA Data{};
    const TFindHandle Find(::FindFirstFileA((Path + ".*.tmp").c_str(), &Data));
    if (!Find)
        return;
    do {
        const std::optional<TWriter> Writer = ParseWriterId(VxTempFileWriter(Name, Data.cFileName));
        if (!Writer || (Data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
            (Writer->Process == Own.Process && Writer->Started == Own.Started) || StillRunning(*Writer))
            continue;
        ::DeleteFileA((Folder + Data.cFileName).c_str());
    } while (::FindNextFileA(Find.Get(), &Data));
}

// What a user may have set on the file that a save replaces.
struct TKept {
    DWORD Attributes = 0;
    FILETIME Created{};
    std::vector<char> Security;
};

std::optional<TKept> WhatToKeep(const std::string& Path)
{
    WIN32_FILE_ATTRIBUTE_DATA Data{};
    if (!::GetFileAttributesExA(Path.c_str(), GetFileExInfoStandard, &Data))
        return std::nullopt;
    TKept Kept;
    Kept.Attributes = Data.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                               FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    Kept.Created = Data.ftCreationTime;
    DWORD Needed = 0;
    ::GetFileSecurityA(Path.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &Needed);
    Kept.Security.resize(Needed);
    if (Needed == 0 ||
        !::GetFileSecurityA(Path.c_str(), DACL_SECURITY_INFORMATION, Kept.Security.data(), Needed, &Needed))
        Kept.Security.clear();
    return Kept;
}

// Gives the complete Temp what the old file had, then renames it over the
// old one. The rename is one step, so a process stopped at any moment leaves
// the old file or the new one; a replacement by ReplaceFileA is two steps
// under Wine (the old file goes first) and is not used for that reason.
// A file system without security or attributes has none to keep.
void ReplaceWith(const std::string& Path, const std::string& Temp, const std::optional<TKept>& Kept)
{
    if (Kept) {
        if (Kept->Attributes != 0)
            ::SetFileAttributesA(Temp.c_str(), Kept->Attributes);
        if (!Kept->Security.empty())
            ::SetFileSecurityA(Temp.c_str(), DACL_SECURITY_INFORMATION, const_cast<char*>(Kept->Security.data()));
    }
    if (!::MoveFileExA(Temp.c_str(), Path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        RaiseWriteError(Path, ::GetLastError());
}

}  // namespace

TVxFileLookup VxLookupFile(const std::string& Path)
{
    TVxFileLookup Result;
    if (Path.empty())
        return Result;
    WIN32_FIND_DATAA Data{};
    const TFindHandle Find(::FindFirstFileA(Path.c_str(), &Data));
    if (!Find)
        return Result;
    Result.Found = true;
    Result.IsFolder = (Data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    FILETIME Local{};
    SYSTEMTIME Time{};
    if ((Data.ftLastWriteTime.dwLowDateTime != 0 || Data.ftLastWriteTime.dwHighDateTime != 0) &&
        ::FileTimeToLocalFileTime(&Data.ftLastWriteTime, &Local) && ::FileTimeToSystemTime(&Local, &Time))
        Result.LastWrite = SystemTimeToDateTime(Time);
    return Result;
}

bool VxFolderExists(const std::string& Folder)
{
    const DWORD Attributes = ::GetFileAttributesA(Folder.c_str());
    return Attributes != INVALID_FILE_ATTRIBUTES && (Attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool VxCreateFolders(const std::string& Folder)
{
    if (Folder.empty())
        return false;
    for (std::size_t End = RootLength(Folder); End <= Folder.size(); ++End) {
        if (End < Folder.size() && !IsSeparator(Folder[End]))
            continue;
        const std::string Part = Folder.substr(0, End);
        if (Part.empty() || IsSeparator(Part.back()) || VxFolderExists(Part))
            continue;
        if (!::CreateDirectoryA(Part.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
    }
    return VxFolderExists(Folder);
}

std::string VxReadFile(const std::string& Path)
{
    const TFileHandle File(::CreateFileA(Path.c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER Size{};
    if (!File || !::GetFileSizeEx(File.Get(), &Size))
        throw EFOpenError(
            Format("Cannot open file \"%s\". %s", Path.c_str(), SysErrorPhrase(::GetLastError()).c_str()));
    std::string Text;
    Text.reserve(static_cast<std::size_t>(Size.QuadPart));
    char Buffer[65536];
    for (;;) {
        DWORD Count = 0;
        if (!::ReadFile(File.Get(), Buffer, sizeof Buffer, &Count, nullptr))
            throw EReadError(
                Format("Cannot read file \"%s\". %s", Path.c_str(), SysErrorPhrase(::GetLastError()).c_str()));
        if (Count == 0)
            break;
        Text.append(Buffer, Count);
    }
    return Text;
}

void VxWriteFileSafely(const std::string& Path, std::string_view Data)
{
    VxNoteSaveStep(TVxSaveStep::Preparing);
    // Windows refuses to replace a read-only file, Wine running as root does
    // not: refuse it here, so a file marked read-only is never replaced.
    const DWORD Attributes = ::GetFileAttributesA(Path.c_str());
    if (Attributes != INVALID_FILE_ATTRIBUTES && (Attributes & FILE_ATTRIBUTE_READONLY) != 0)
        RaiseWriteError(Path, ERROR_ACCESS_DENIED);
    const std::optional<TKept> Kept = WhatToKeep(Path);
    const TWriter Own = ThisWriter();
    RemoveStaleTemps(Path, Own);
    const std::string Temp = VxTempFileName(Path, WriterId(Own));
    try {
        TFileHandle File(
            ::CreateFileA(Temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!File)
            RaiseWriteError(Path, ::GetLastError());
        VxNoteSaveStep(TVxSaveStep::Writing);
        while (!Data.empty()) {
            const auto Chunk = static_cast<DWORD>(std::min<std::size_t>(Data.size(), 1u << 20));
            DWORD Written = 0;
            if (!::WriteFile(File.Get(), Data.data(), Chunk, &Written, nullptr) || Written == 0)
                RaiseWriteError(Path, ::GetLastError());
            Data.remove_prefix(Written);
        }
        VxNoteSaveStep(TVxSaveStep::Flushing);
        if (Kept)
            ::SetFileTime(File.Get(), &Kept->Created, nullptr, nullptr);
        if (!::FlushFileBuffers(File.Get()) || !File.Close())
            RaiseWriteError(Path, ::GetLastError());
        VxNoteSaveStep(TVxSaveStep::Replacing);
        ReplaceWith(Path, Temp, Kept);
    } catch (...) {
        ::DeleteFileA(Temp.c_str());
        throw;
    }
    VxNoteSaveStep(TVxSaveStep::Done);
}

double VxNowLocal()
{
    SYSTEMTIME Now{};
    ::GetLocalTime(&Now);
    return SystemTimeToDateTime(Now);
}

std::string VxAnsiUpperCase(std::string_view S)
{
    // In a single-byte code page each byte maps alone, so the system's mapping
    // of all 256 bytes, taken once, serves every call; a double-byte code page
    // needs the whole text, whose trail bytes must stay as they are.
    static const std::optional<std::array<char, 256>> Table = []() -> std::optional<std::array<char, 256>> {
        CPINFO Info{};
        if (!::GetCPInfo(CP_ACP, &Info) || Info.MaxCharSize != 1)
            return std::nullopt;
        std::array<char, 256> Bytes{};
        for (std::size_t C = 0; C < Bytes.size(); ++C)
            Bytes[C] = static_cast<char>(C);
        ::CharUpperBuffA(Bytes.data(), static_cast<DWORD>(Bytes.size()));
        return Bytes;
    }();
    std::string Result{S};
    if (Table) {
        for (char& C : Result)
            C = (*Table)[static_cast<unsigned char>(C)];
        return Result;
    }
    for (std::size_t Done = 0; Done < Result.size();) {
        const auto Chunk = static_cast<DWORD>(std::min<std::size_t>(Result.size() - Done, 1u << 30));
        ::CharUpperBuffA(Result.data() + Done, Chunk);
        Done += Chunk;
    }
    return Result;
}
