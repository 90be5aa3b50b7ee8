#pragma once

// Reader of a file's version resource. The walk over the raw bytes is
// window-free; only the construction from a file name touches the OS.

#include "framework/Exceptions.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

QUORVEL_DECLARE_ERROR(EVxFileVersionInfoError, EVxError);

// The fixed version block, word for word as the resource stores it.
struct TVxFixedFileInfo {
    std::uint32_t dwSignature;
    std::uint32_t dwStrucVersion;
    std::uint32_t dwFileVersionMS;
    std::uint32_t dwFileVersionLS;
    std::uint32_t dwProductVersionMS;
    std::uint32_t dwProductVersionLS;
    std::uint32_t dwFileFlagsMask;
    std::uint32_t dwFileFlags;
    std::uint32_t dwFileOS;
    std::uint32_t dwFileType;
    std::uint32_t dwFileSubtype;
    std::uint32_t dwFileDateMS;
    std::uint32_t dwFileDateLS;
};
static_assert(sizeof(TVxFixedFileInfo) == 52);

enum class TVersionBuildFlag : std::uint8_t {
    vfDebug,
    vfInfoInferred,
    vfPatched,
    vfPreRelease,
    vfPrivateBuild,
    vfSpecialBuild,
};

// A set of build flags, one bit per flag in declaration order.
class TVersionBuildFlags {
public:
    constexpr TVersionBuildFlags() = default;
    constexpr TVersionBuildFlags(std::initializer_list<TVersionBuildFlag> flags)
    {
        for (const auto flag : flags)
            Include(flag);
    }
    constexpr void Include(TVersionBuildFlag flag) { FBits = static_cast<std::uint8_t>(FBits | Bit(flag)); }
    constexpr bool Contains(TVersionBuildFlag flag) const { return (FBits & Bit(flag)) != 0; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr std::uint8_t Bits() const { return FBits; }
    friend constexpr bool operator==(TVersionBuildFlags, TVersionBuildFlags) = default;

private:
    static constexpr std::uint8_t Bit(TVersionBuildFlag flag)
    {
        return static_cast<std::uint8_t>(1u << static_cast<unsigned>(flag));
    }
    std::uint8_t FBits = 0;
};

template <typename TTag>
struct TVxTaggedString {
    std::string Text;
    TTag Tag;
};

// Converts UTF-16 text to the 8-bit code page the program works in.
using TVxWideToAnsi = std::function<std::string(std::u16string_view)>;

// Fixed conversion for builds without the OS: code units below 256 map to
// the same byte, every other unit to '?'.
std::string VxWideToLatin1(std::u16string_view text);

class TVxFileVersionInfo {
public:
#if defined(_WIN32)
    // Reads and walks the version resource of fileName (ANSI path).
    explicit TVxFileVersionInfo(const std::string& fileName);
#endif
    // Walks a version resource already in memory, as the platform returns it.
    explicit TVxFileVersionInfo(std::vector<std::uint8_t> rawData, const TVxWideToAnsi& wideToAnsi = VxWideToLatin1);

    // Standard keys 1 to 12: "Comments" to "PrivateBuild".
    std::string StandardKeyValue(int keyIndex) const;
    void FixedBlock(TVxFixedFileInfo& block) const;
    TVersionBuildFlags BuildFlags() const
    {
        return FBuildFlags;
    }
    const std::vector<TVxTaggedString<std::uint32_t>>& LanguageItems() const
    {
        return FLanguageItems;
    }

    const std::vector<TVxTaggedString<std::int32_t>>& AllItems() const
    {
        return FAllItems;
    }
    // One word per string table, language id in the low half.
    const std::vector<std::uint32_t>& StringTableLanguages() const
    {
        return FStringTableLanguages;
    }
    const std::vector<std::uint32_t>& TranslationList() const
    {
        return FTranslationList;
    }
    std::int32_t SelectedLanguage() const
    {
        return FSelectedLanguage;
    }
    const std::vector<std::uint8_t>& RawData() const
    {
        return FRawData;
    }

private:
    friend class TVxVersionWalker;
    void ComputeBuildFlags();
    void FillLanguageItems();

    std::vector<std::uint8_t> FRawData;
    std::size_t FFixedBlockOffset = 0;
    TVersionBuildFlags FBuildFlags;
    std::vector<TVxTaggedString<std::int32_t>> FAllItems;
    std::vector<TVxTaggedString<std::uint32_t>> FLanguageItems;
    std::vector<std::uint32_t> FStringTableLanguages;
    std::int32_t FSelectedLanguage = 0;
    std::vector<std::uint32_t> FTranslationList;
};
