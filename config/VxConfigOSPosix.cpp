#include "config/VxConfigOS.h"

#include "config/VxConfigOSShared.h"
#include "config/VxConfigText.h"
#include "framework/Exceptions.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string Reason(int Code)
{
    return std::strerror(Code);
}

double LocalDateTime(std::time_t Seconds, long Nanoseconds)
{
    std::tm Local{};
    if (localtime_r(&Seconds, &Local) == nullptr)
        return 0;
    // A leap second shows as second 60; the date-time scale has no room for it.
    const int Second = Local.tm_sec > 59 ? 59 : Local.tm_sec;
    return EncodeDate(Local.tm_year + 1900, Local.tm_mon + 1, Local.tm_mday) +
           EncodeTime(Local.tm_hour, Local.tm_min, Second, static_cast<int>(Nanoseconds / 1000000));
}

class TFd {
public:
    explicit TFd(int Fd) : FFd(Fd) {}
    ~TFd()
    {
        if (FFd >= 0)
            ::close(FFd);
    }
    TFd(TFd&& Other) noexcept : FFd(Other.FFd) { Other.FFd = -1; }
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    int Get() const { return FFd; }
    // Closes now, so a failing close is seen.
    bool Close()
    {
        const int Fd = FFd;
        FFd = -1;
        return ::close(Fd) == 0;
    }

private:
    int FFd;
};

[[noreturn]] void RaiseWriteError(const std::string& Path, int Code)
{
    throw EOSError(Format("Unable to write \"%s\". %s", Path.c_str(), Reason(Code).c_str()),
                   static_cast<std::uint32_t>(Code));
}

void WriteAll(int Fd, std::string_view Data, const std::string& Path)
{
    while (!Data.empty()) {
        const ssize_t Written = ::write(Fd, Data.data(), Data.size());
        if (Written < 0) {
            if (errno == EINTR)
                continue;
            RaiseWriteError(Path, errno);
        }
        Data.remove_prefix(static_cast<std::size_t>(Written));
    }
}

bool SameFile(const struct stat& A, const struct stat& B)
{
    return A.st_dev == B.st_dev && A.st_ino == B.st_ino;
}

// True when Fd is still the file at Path.
bool StillNamed(int Fd, const std::string& Path)
{
    struct stat Open {};
    struct stat Named {};
    return ::fstat(Fd, &Open) == 0 && ::lstat(Path.c_str(), &Named) == 0 && SameFile(Open, Named);
}

std::string FolderOf(const std::string& Path)
{
    const auto Slash = Path.find_last_of('/');
    return Slash == std::string::npos ? "." : Path.substr(0, Slash + 1);
}

// A save holds an exclusive lock on its temporary file from creation until
// the file has its final name. One that nobody locks was left by a process
// that stopped part-way; it is removed only while locked here, and only if
// it still has its name, so a save that just made it notices (StillNamed)
// and makes another.
void RemoveStaleTemps(const std::string& Path, const std::string& Own)
{
    const std::string Folder = FolderOf(Path);
    const std::string Name = Path.substr(Path.find_last_of('/') + 1);
    DIR* const Dir = ::opendir(Folder.c_str());
    if (Dir == nullptr)
        return;
    while (const dirent* Entry = ::readdir(Dir)) {
        const std::string_view Writer = VxTempFileWriter(Name, Entry->d_name);
        if (Writer.empty() || Writer == Own)
            continue;
        const std::string Temp = (Folder.back() == '/' ? Folder : Folder + "/") + Entry->d_name;
        TFd File(::open(Temp.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
        struct stat Info {};
        if (File.Get() < 0 || ::fstat(File.Get(), &Info) != 0 || !S_ISREG(Info.st_mode) ||
            ::flock(File.Get(), LOCK_EX | LOCK_NB) != 0)
            continue;
        if (StillNamed(File.Get(), Temp))
            ::unlink(Temp.c_str());
    }
    ::closedir(Dir);
}

// The new temporary file, locked. A leftover of an earlier process with this
// process's id is removed first.
TFd CreateLockedTemp(const std::string& Temp, const std::string& Path)
{
    for (int Attempt = 0; Attempt < 16; ++Attempt) {
        ::unlink(Temp.c_str());
        TFd File(::open(Temp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (File.Get() < 0) {
            if (errno == EEXIST)
                continue;
            RaiseWriteError(Path, errno);
        }
        int Locked = 0;
        while ((Locked = ::flock(File.Get(), LOCK_EX)) != 0 && errno == EINTR) {}
        // Without locks (a file system that has none) no sweep can lock it
        // either, so it is safe all the same.
        if (Locked != 0 || StillNamed(File.Get(), Temp))
            return File;
    }
    RaiseWriteError(Path, EBUSY);
}

}  // namespace

TVxFileLookup VxLookupFile(const std::string& Path)
{
    TVxFileLookup Result;
    struct stat Info {};
    if (Path.empty() || ::stat(Path.c_str(), &Info) != 0)
        return Result;
    Result.Found = true;
    Result.IsFolder = S_ISDIR(Info.st_mode);
    if (Info.st_mtim.tv_sec != 0 || Info.st_mtim.tv_nsec != 0)
        Result.LastWrite = LocalDateTime(Info.st_mtim.tv_sec, Info.st_mtim.tv_nsec);
    return Result;
}

bool VxFolderExists(const std::string& Folder)
{
    struct stat Info {};
    return ::stat(Folder.c_str(), &Info) == 0 && S_ISDIR(Info.st_mode);
}

bool VxCreateFolders(const std::string& Folder)
{
    for (std::size_t Slash = Folder.find('/', 1);; Slash = Folder.find('/', Slash + 1)) {
        const std::string Part = Folder.substr(0, Slash);
        if (!Part.empty() && !VxFolderExists(Part) && ::mkdir(Part.c_str(), 0777) != 0 && errno != EEXIST)
            return false;
        if (Slash == std::string::npos)
            break;
    }
    return VxFolderExists(Folder);
}

std::string VxReadFile(const std::string& Path)
{
    TFd File(::open(Path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat Info {};
    int Code = 0;
    if (File.Get() < 0 || ::fstat(File.Get(), &Info) != 0)
        Code = errno;
    else if (S_ISDIR(Info.st_mode))
        Code = EISDIR;
    if (Code != 0)
        throw EFOpenError(Format("Cannot open file \"%s\". %s", Path.c_str(), Reason(Code).c_str()));
    std::string Text;
    Text.reserve(static_cast<std::size_t>(Info.st_size));
    std::array<char, 65536> Buffer;
    for (;;) {
        const ssize_t Count = ::read(File.Get(), Buffer.data(), Buffer.size());
        if (Count == 0)
            break;
        if (Count < 0) {
            if (errno == EINTR)
                continue;
            throw EReadError(Format("Cannot read file \"%s\". %s", Path.c_str(), Reason(errno).c_str()));
        }
        Text.append(Buffer.data(), static_cast<std::size_t>(Count));
    }
    return Text;
}

void VxWriteFileSafely(const std::string& Path, std::string_view Data)
{
    VxNoteSaveStep(TVxSaveStep::Preparing);
    struct stat Old {};
    const bool HasOld = ::stat(Path.c_str(), &Old) == 0;
    // As on Windows, a file nobody may write is not replaced, also by root.
    if (HasOld && S_ISREG(Old.st_mode) && (Old.st_mode & 0222) == 0)
        RaiseWriteError(Path, EACCES);
    const std::string Own = std::to_string(::getpid());
    RemoveStaleTemps(Path, Own);
    const std::string Temp = VxTempFileName(Path, Own);
    TFd File = CreateLockedTemp(Temp, Path);
    try {
        if (HasOld)
            ::fchmod(File.Get(), Old.st_mode & 07777);
        VxNoteSaveStep(TVxSaveStep::Writing);
        WriteAll(File.Get(), Data, Path);
        VxNoteSaveStep(TVxSaveStep::Flushing);
        if (::fsync(File.Get()) != 0)
            RaiseWriteError(Path, errno);
        VxNoteSaveStep(TVxSaveStep::Replacing);
        if (::rename(Temp.c_str(), Path.c_str()) != 0)
            RaiseWriteError(Path, errno);
    } catch (...) {
        ::unlink(Temp.c_str());
        throw;
    }
    // Closed (and so unlocked) only under its final name: a sweep never finds
    // the complete file unlocked. Its data is on the disk already.
    File.Close();
    // Make the rename itself durable; the file is complete either way.
    TFd Dir(::open(FolderOf(Path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (Dir.Get() >= 0)
        ::fsync(Dir.Get());
    VxNoteSaveStep(TVxSaveStep::Done);
}

double VxNowLocal()
{
    timespec Now{};
    ::clock_gettime(CLOCK_REALTIME, &Now);
    return LocalDateTime(Now.tv_sec, Now.tv_nsec);
}

std::string VxAnsiUpperCase(std::string_view S)
{
    // Windows-1252: ASCII letters, the accented range E0-FE but the division
    // sign, and the four letters whose capitals sit in 80-9F.
    static const std::array<unsigned char, 256> Table = [] {
        std::array<unsigned char, 256> T{};
        for (int C = 0; C < 256; ++C)
            T[static_cast<std::size_t>(C)] = static_cast<unsigned char>(C);
        for (int C = 'a'; C <= 'z'; ++C)
            T[static_cast<std::size_t>(C)] = static_cast<unsigned char>(C - 32);
        for (int C = 0xE0; C <= 0xFE; ++C)
            if (C != 0xF7)
                T[static_cast<std::size_t>(C)] = static_cast<unsigned char>(C - 32);
        T[0x9A] = 0x8A;
        T[0x9C] = 0x8C;
        T[0x9E] = 0x8E;
        T[0xFF] = 0x9F;
        return T;
    }();
    std::string Result{S};
    for (char& C : Result)
        C = static_cast<char>(Table[static_cast<unsigned char>(C)]);
    return Result;
}
