#include "config/VxConfigOS.h"

#include "config/VxConfigText.h"
#include "framework/Exceptions.h"
#include "framework/SysError.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

namespace {

// Owner of a handle from CreateFileA.
class TFileHandle {
public:
    explicit TFileHandle(HANDLE Handle) : FHandle(Handle) {}
    ~TFileHandle()
    {
        if (Valid())
            ::CloseHandle(FHandle);
    }
    TFileHandle(const TFileHandle&) = delete;
    TFileHandle& operator=(const TFileHandle&) = delete;
    bool Valid() const { return FHandle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return FHandle; }
    // Closes now, so a failing close is seen.
    bool Close()
    {
        const HANDLE Handle = std::exchange(FHandle, INVALID_HANDLE_VALUE);
        return ::CloseHandle(Handle) != FALSE;
    }

private:
    HANDLE FHandle;
};

// Owner of a search handle from FindFirstFileA.
class TFindHandle {
public:
    explicit TFindHandle(HANDLE Handle) : FHandle(Handle) {}
    ~TFindHandle()
    {
        if (Valid())
            ::FindClose(FHandle);
    }
    TFindHandle(const TFindHandle&) = delete;
    TFindHandle& operator=(const TFindHandle&) = delete;
    bool Valid() const { return FHandle != INVALID_HANDLE_VALUE; }

private:
    HANDLE FHandle;
};

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

}  // namespace

TVxFileLookup VxLookupFile(const std::string& Path)
{
    TVxFileLookup Result;
    if (Path.empty())
        return Result;
    WIN32_FIND_DATAA Data{};
    const TFindHandle Find(::FindFirstFileA(Path.c_str(), &Data));
    if (!Find.Valid())
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
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER Size{};
    if (!File.Valid() || !::GetFileSizeEx(File.Get(), &Size))
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
    // Windows refuses to replace a read-only file, Wine running as root does
    // not: refuse it here, so a file marked read-only is never replaced.
    const DWORD Attributes = ::GetFileAttributesA(Path.c_str());
    if (Attributes != INVALID_FILE_ATTRIBUTES && (Attributes & FILE_ATTRIBUTE_READONLY) != 0)
        RaiseWriteError(Path, ERROR_ACCESS_DENIED);
    const std::string Temp = Path + Format(".%lx.tmp", static_cast<unsigned long>(::GetCurrentProcessId()));
    try {
        TFileHandle File(::CreateFileA(Temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!File.Valid())
            RaiseWriteError(Path, ::GetLastError());
        while (!Data.empty()) {
            const auto Chunk = static_cast<DWORD>(std::min<std::size_t>(Data.size(), 1u << 20));
            DWORD Written = 0;
            if (!::WriteFile(File.Get(), Data.data(), Chunk, &Written, nullptr) || Written == 0)
                RaiseWriteError(Path, ::GetLastError());
            Data.remove_prefix(Written);
        }
        if (!::FlushFileBuffers(File.Get()) || !File.Close())
            RaiseWriteError(Path, ::GetLastError());
        if (!::MoveFileExA(Temp.c_str(), Path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            RaiseWriteError(Path, ::GetLastError());
    } catch (...) {
        ::DeleteFileA(Temp.c_str());
        throw;
    }
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
