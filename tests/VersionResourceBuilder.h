#pragma once

// Builds version resources byte by byte, in the 32-bit layout (type words,
// UTF-16 keys) or the 16-bit layout (8-bit keys), for the reader's tests.

#include <cstdint>
#include <string>
#include <vector>

namespace vrb {

struct Block {
    std::string Key;
    std::vector<std::uint8_t> Value;
    std::uint16_t ValueLen = 0;
    std::uint16_t Type = 1;
    std::vector<Block> Children;
    int LenDelta = 0;  // added to the true length, for blocks that lie
};

inline void PutWord(std::vector<std::uint8_t>& out, std::uint32_t word)
{
    out.push_back(static_cast<std::uint8_t>(word & 0xFF));
    out.push_back(static_cast<std::uint8_t>(word >> 8 & 0xFF));
}

inline void PutDWord(std::vector<std::uint8_t>& out, std::uint32_t word)
{
    PutWord(out, word & 0xFFFF);
    PutWord(out, word >> 16);
}

inline void Pad4(std::vector<std::uint8_t>& out)
{
    while (out.size() % 4 != 0)
        out.push_back(0);
}

inline void Append(std::vector<std::uint8_t>& out, const Block& block, bool wide)
{
    Pad4(out);
    const std::size_t start = out.size();
    PutWord(out, 0);
    PutWord(out, block.ValueLen);
    if (wide) {
        PutWord(out, block.Type);
        for (const char c : block.Key)
            PutWord(out, static_cast<unsigned char>(c));
        PutWord(out, 0);
    } else {
        out.insert(out.end(), block.Key.begin(), block.Key.end());
        out.push_back(0);
    }
    Pad4(out);
    out.insert(out.end(), block.Value.begin(), block.Value.end());
    for (const auto& child : block.Children)
        Append(out, child, wide);
    const auto len = static_cast<std::uint32_t>(static_cast<int>(out.size() - start) + block.LenDelta);
    out[start] = static_cast<std::uint8_t>(len & 0xFF);
    out[start + 1] = static_cast<std::uint8_t>(len >> 8 & 0xFF);
}

inline std::vector<std::uint8_t> Serialize(const Block& root, bool wide)
{
    std::vector<std::uint8_t> out;
    Append(out, root, wide);
    return out;
}

// A text value stored with its terminating NUL counted in ValueLen; in the
// 32-bit layout each character below 256 becomes one UTF-16 unit, or pass
// the units directly.
inline Block Text(const std::string& key, const std::u16string& value, bool wide)
{
    Block block{key, {}, 0, 1, {}, 0};
    if (wide) {
        for (const char16_t unit : value)
            PutWord(block.Value, unit);
        PutWord(block.Value, 0);
    } else {
        for (const char16_t unit : value)
            block.Value.push_back(static_cast<std::uint8_t>(unit));
        block.Value.push_back(0);
    }
    block.ValueLen = static_cast<std::uint16_t>(value.size() + 1);
    return block;
}

inline Block Text(const std::string& key, const std::string& value, bool wide)
{
    return Text(key, std::u16string(value.begin(), value.end()), wide);
}

inline Block Binary(const std::string& key, std::vector<std::uint8_t> bytes)
{
    const auto size = static_cast<std::uint16_t>(bytes.size());
    return Block{key, std::move(bytes), size, 0, {}, 0};
}

inline Block Table(const std::string& key, std::vector<Block> strings)
{
    return Block{key, {}, 0, 1, std::move(strings), 0};
}

inline Block StringFileInfo(std::vector<Block> tables)
{
    return Block{"StringFileInfo", {}, 0, 1, std::move(tables), 0};
}

inline Block Var(const std::string& key, const std::vector<std::uint32_t>& words)
{
    Block block{key, {}, static_cast<std::uint16_t>(words.size() * 4), 0, {}, 0};
    for (const auto word : words)
        PutDWord(block.Value, word);
    return block;
}

inline Block VarFileInfo(std::vector<Block> vars)
{
    return Block{"VarFileInfo", {}, 0, 1, std::move(vars), 0};
}

struct Fixed {
    std::uint32_t Words[13] = {0xFEEF04BD, 0x00010000, 0x00010002, 0x00030004, 0x00050006, 0x00070008, 0x3F,
                               0,          0x00040004, 1,          0,          0,          0};
};

inline Block Root(const Fixed& fixed, std::vector<Block> children)
{
    Block block{"VS_VERSION_INFO", {}, 52, 0, std::move(children), 0};
    for (const auto word : fixed.Words)
        PutDWord(block.Value, word);
    return block;
}

}  // namespace vrb
