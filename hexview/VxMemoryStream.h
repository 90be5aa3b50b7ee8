#pragma once

// The viewer's one buffer: a whole file's bytes in one contiguous block.

#include <cstdint>
#include <memory>
#include <string>

class TVxMemoryStream {
public:
    const std::uint8_t* Memory() const { return FMemory.get(); }
    std::int64_t Size() const { return FSize; }

    // Releases the buffer.
    void Clear();
    // Makes the buffer `size` bytes, keeping what fits of the old contents;
    // new bytes are not zero-filled. Raises EOutOfMemory when the block
    // cannot be had (the old buffer then stays).
    void SetSize(std::int64_t size);
    // Reads a whole file into the buffer, left empty when that fails
    // (Windows build only).
    void LoadFromFile(const std::string& fileName);

private:
    void ReadWhole(const std::string& fileName);

    std::unique_ptr<std::uint8_t[]> FMemory;
    std::int64_t FSize = 0;
};

// Files from this size on cannot be held: their length is a 32-bit count.
inline constexpr std::int64_t MaxLoadableSize = std::int64_t{1} << 31;
