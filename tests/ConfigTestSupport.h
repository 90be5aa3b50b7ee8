#pragma once

// Temporary folders and whole-file helpers for the configuration tests.

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

class TTempFolder {
public:
    TTempFolder()
    {
        std::random_device Random;
        FPath = std::filesystem::temp_directory_path() / ("qvcfg-" + std::to_string(Random()) + std::to_string(Random()));
        std::filesystem::create_directories(FPath);
    }
    ~TTempFolder()
    {
        std::error_code Ignored;
        std::filesystem::permissions(FPath, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, Ignored);
        std::filesystem::remove_all(FPath, Ignored);
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    const std::filesystem::path& Path() const { return FPath; }
    std::string File(const std::string& Name) const { return (FPath / Name).string(); }

private:
    std::filesystem::path FPath;
};

inline std::string ReadWhole(const std::string& Path)
{
    std::ifstream In(Path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

inline void WriteWhole(const std::string& Path, const std::string& Bytes)
{
    std::ofstream Out(Path, std::ios::binary | std::ios::trunc);
    Out.write(Bytes.data(), static_cast<std::streamsize>(Bytes.size()));
}

// Dates a file into the future, so a process that synced before sees it as
// written after its last sync.
inline void TouchLater(const std::string& Path, std::chrono::seconds Ahead = std::chrono::seconds(5))
{
    std::filesystem::last_write_time(Path, std::filesystem::file_time_type::clock::now() + Ahead);
}
