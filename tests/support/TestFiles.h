#pragma once

// Whole files read and written in one call, for the tests of every build.

#include <fstream>
#include <iterator>
#include <string>

// What the file holds; empty when it cannot be read. Opened as any other
// reader would be, so a file the program holds open can still be read.
inline std::string ReadWhole(const std::string& Path)
{
    std::ifstream In(Path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

// Replaces the file's bytes; false when they could not all be written.
inline bool WriteWhole(const std::string& Path, const std::string& Bytes)
{
    std::ofstream Out(Path, std::ios::binary | std::ios::trunc);
    Out.write(Bytes.data(), static_cast<std::streamsize>(Bytes.size()));
    Out.close();
    return static_cast<bool>(Out);
}
