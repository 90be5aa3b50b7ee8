#include <windows.h>

#include "framework/Exceptions.h"
#include "framework/Handles.h"
#include "hexview/VxMemoryStream.h"

namespace {

std::string ExpandFileName(const std::string& name)
{
    char buffer[MAX_PATH];
    char* filePart = nullptr;
    const DWORD length = ::GetFullPathNameA(name.c_str(), MAX_PATH, buffer, &filePart);
    if (length > 0 && length < MAX_PATH)
        return buffer;
    if (length >= MAX_PATH) {
        std::string longer(length, '\0');
        const DWORD written = ::GetFullPathNameA(name.c_str(), length, longer.data(), &filePart);
        if (written > 0 && written < length) {
            longer.resize(written);
            return longer;
        }
    }
    return name;
}

[[noreturn]] void RaiseReadError()
{
    throw EReadError("Stream read error");
}

}  // namespace

void TVxMemoryStream::ReadWhole(const std::string& fileName)
{
    TFileHandle file(::CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) {
        const DWORD code = ::GetLastError();
        throw EFOpenError(
            Format("Cannot open file \"%s\". %s", ExpandFileName(fileName).c_str(), SysErrorMessage(code).c_str()));
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size))
        RaiseReadError();
    if (size.QuadPart >= MaxLoadableSize)
        throw EFOpenError(Format("Cannot open file \"%s\". The file is %lld bytes long; only files "
                                 "smaller than 2 GiB (2147483648 bytes) can be shown",
                                 ExpandFileName(fileName).c_str(), static_cast<long long>(size.QuadPart)));
    SetSize(size.QuadPart);

    // One read takes the whole file; further reads only follow a short one
    // that made progress, which some file systems deliver for large counts.
    std::uint8_t* memory = FMemory.get();
    const auto total = static_cast<DWORD>(size.QuadPart);
    DWORD done = 0;
    while (done < total) {
        DWORD got = 0;
        if (!::ReadFile(file.Get(), memory + done, total - done, &got, nullptr) || got == 0)
            RaiseReadError();
        done += got;
    }
}

void TVxMemoryStream::LoadFromFile(const std::string& fileName)
{
    Clear();
    try {
        ReadWhole(fileName);
    } catch (...) {
        Clear();
        throw;
    }
}
