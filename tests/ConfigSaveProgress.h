#pragma once

// What the save loop helper and the tests that stop it share: the two
// contents it alternates, and the progress it publishes in shared memory
// (a file mapped by both natively, a named mapping on Windows).

#include <atomic>
#include <cstdint>
#include <string>

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

struct TSaveProgress {
    // The save step (TVxSaveStep) begun last; 0 before the first save.
    std::atomic<std::int32_t> Step;
    std::atomic<std::int32_t> Saves;
    // Saves that failed (the file stayed modified).
    std::atomic<std::int32_t> Failures;
};
static_assert(std::atomic<std::int32_t>::is_always_lock_free);

namespace SaveLoop {

constexpr int Keys = 250;
constexpr std::size_t ValueLength = 400;

// Variant 0 and 1 differ in every byte of every value.
inline std::string Value(int Variant, int Key)
{
    return std::string(ValueLength, static_cast<char>((Variant == 0 ? 'a' : 'N') + Key % 13));
}

inline std::string KeyName(int Key)
{
    // Appended, not "k" + ...: GCC 12 warns wrongly on that form.
    std::string Name = "k";
    Name += std::to_string(Key);
    return Name;
}

// The file as the store writes it with every value of one variant.
inline std::string Content(int Variant)
{
    std::string Text = "[VXS:CONFIG:HEADER]\r\nSchemaVersion=1\r\n\r\n[Data]\r\n";
    for (int Key = 0; Key < Keys; ++Key)
        Text += KeyName(Key) + "=" + Value(Variant, Key) + "\r\n";
    return Text + "\r\n";
}

// A view of the progress block named Name; Create makes it (zeroed).
class TProgressView {
public:
    TProgressView(const std::string& Name, bool Create)
    {
#if defined(_WIN32)
        FMapping = Create ? ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                                 sizeof(TSaveProgress), Name.c_str())
                          : ::OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, Name.c_str());
        if (FMapping != nullptr)
            FView = ::MapViewOfFile(FMapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(TSaveProgress));
#else
        const int Fd = ::open(Name.c_str(), Create ? O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC : O_RDWR | O_CLOEXEC, 0600);
        if (Fd >= 0 && (!Create || ::ftruncate(Fd, sizeof(TSaveProgress)) == 0)) {
            void* View = ::mmap(nullptr, sizeof(TSaveProgress), PROT_READ | PROT_WRITE, MAP_SHARED, Fd, 0);
            FView = View == MAP_FAILED ? nullptr : View;
        }
        if (Fd >= 0)
            ::close(Fd);
#endif
        if (FView != nullptr && Create)
            new (FView) TSaveProgress{};
    }
    ~TProgressView()
    {
#if defined(_WIN32)
        if (FView != nullptr)
            ::UnmapViewOfFile(FView);
        if (FMapping != nullptr)
            ::CloseHandle(FMapping);
#else
        if (FView != nullptr)
            ::munmap(FView, sizeof(TSaveProgress));
#endif
    }
    TProgressView(const TProgressView&) = delete;
    TProgressView& operator=(const TProgressView&) = delete;

    // Null when the block could not be made or opened.
    TSaveProgress* Get() const
    {
        return static_cast<TSaveProgress*>(FView);
    }

private:
#if defined(_WIN32)
    HANDLE FMapping = nullptr;
#endif
    void* FView = nullptr;
};

}  // namespace SaveLoop
