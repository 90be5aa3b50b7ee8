#pragma once

// A scratch folder for the tests of every build.

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

// A fresh folder under the temporary folder, removed with what it holds
// when the object goes, even where a test took its write permission away.
class TScratchFolder {
public:
    TScratchFolder()
    {
        // Process ids come back, and a killed run leaves its folder behind.
        std::random_device Random;
        do
            FPath = std::filesystem::temp_directory_path() /
                    ("qvtest-" + std::to_string(Random()) + std::to_string(Random()));
        while (!std::filesystem::create_directory(FPath));
    }
    ~TScratchFolder()
    {
        std::error_code Ignored;
        std::filesystem::permissions(FPath, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                     Ignored);
        std::filesystem::remove_all(FPath, Ignored);
    }
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return FPath; }
    std::string File(const std::string& Name) const { return (FPath / Name).string(); }

private:
    std::filesystem::path FPath;
};
