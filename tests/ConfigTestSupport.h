#pragma once

// Scratch folders, whole files and file dates for the configuration tests.

#include <chrono>
#include <filesystem>
#include <string>

#include "tests/support/ScratchFolder.h"
#include "tests/support/TestFiles.h"

// Dates a file into the future, so a process that synced before sees it as
// written after its last sync.
inline void TouchLater(const std::string& Path, std::chrono::seconds Ahead = std::chrono::seconds(5))
{
    std::filesystem::last_write_time(Path, std::filesystem::file_time_type::clock::now() + Ahead);
}
