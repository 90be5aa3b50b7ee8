#include "components/VxFileUtils.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace {

constexpr std::uint32_t FixedBlockSignature = 0xFEEF04BD;
constexpr std::size_t FixedBlockSize = 52;

constexpr std::array<const char*, 12> StandardKeys = {
    "Comments",        "CompanyName",      "FileDescription", "FileVersion",    "InternalName", "LegalCopyright",
    "LegalTradeMarks", "OriginalFilename", "ProductName",     "ProductVersion", "SpecialBuild", "PrivateBuild",
};

[[noreturn]] void RaiseNoVersionInfo()
{
    throw EVxFileVersionInfoError("File contains no version information");
}

char UpperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameTextAscii(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return UpperAscii(x) == UpperAscii(y); });
}

bool IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

std::uint32_t HexValue(std::string_view digits)
{
    std::uint32_t result = 0;
    for (const char c : digits) {
        const char u = UpperAscii(c);
        result = result * 16 + static_cast<std::uint32_t>(u <= '9' ? u - '0' : u - 'A' + 10);
    }
    return result;
}

// A string table's key names its language and code page in eight hex
// digits; writers decorate it with "0x" prefixes or stray characters.
std::string CleanTableKey(const std::string& key)
{
    std::string withoutPrefixes;
    for (std::size_t i = 0; i < key.size(); ++i) {
        if (key[i] == '0' && i + 1 < key.size() && key[i + 1] == 'x')
            ++i;
        else
            withoutPrefixes += key[i];
    }
    std::string digits;
    std::copy_if(withoutPrefixes.begin(), withoutPrefixes.end(), std::back_inserter(digits), IsHexDigit);
    return digits;
}

std::size_t AlignUp4(std::size_t position)
{
    return (position + 3) & ~static_cast<std::size_t>(3);
}

}  // namespace

std::string VxWideToLatin1(std::u16string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (const char16_t unit : text)
        result += unit < 0x100 ? static_cast<char>(unit) : '?';
    return result;
}

// One pass over the raw resource. Every read is checked against the end of
// the data, so lengths that lie end the walk instead of reading past it;
// every block advances the position past its own start, so the walk ends.
class TVxVersionWalker {
public:
    TVxVersionWalker(TVxFileVersionInfo& info, const TVxWideToAnsi& wideToAnsi)
        : FInfo(info), FData(info.FRawData), FWideToAnsi(wideToAnsi)
    {}

    void Walk();

private:
    struct THeader {
        std::size_t Start = 0;
        std::size_t HeaderLen = 0;
        std::uint16_t Len = 0;
        std::uint16_t ValueLen = 0;
        std::uint16_t Type = 1;
        std::string Key;

        std::size_t End() const { return Start + Len; }
    };

    std::uint8_t Byte(std::size_t position) const
    {
        if (position >= FData.size())
            RaiseNoVersionInfo();
        return FData[position];
    }
    std::uint16_t Word(std::size_t position) const
    {
        return static_cast<std::uint16_t>(Byte(position) | Byte(position + 1) << 8);
    }
    std::uint32_t DWord(std::size_t position) const
    {
        return static_cast<std::uint32_t>(Word(position)) | static_cast<std::uint32_t>(Word(position + 2)) << 16;
    }
    void RequireBytes(std::size_t position, std::size_t count) const
    {
        if (position > FData.size() || FData.size() - position < count)
            RaiseNoVersionInfo();
    }

    THeader ReadHeader();
    std::string ReadWideText(std::size_t& position, std::size_t maxUnits) const;
    std::string ReadNarrowText(std::size_t position) const;
    std::string ReadStringValue(const THeader& header) const;
    void ReadStringTables(std::size_t end);
    void ReadTranslation(std::size_t end);

    TVxFileVersionInfo& FInfo;
    const std::vector<std::uint8_t>& FData;
    const TVxWideToAnsi& FWideToAnsi;
    std::size_t FPos = 0;
    bool FWide = true;
};

std::string TVxVersionWalker::ReadWideText(std::size_t& position, std::size_t maxUnits) const
{
    std::u16string text;
    for (std::size_t i = 0; i < maxUnits; ++i) {
        const char16_t unit = Word(position);
        position += 2;
        if (unit == 0)
            break;
        text += unit;
    }
    return FWideToAnsi(text);
}

std::string TVxVersionWalker::ReadNarrowText(std::size_t position) const
{
    std::string text;
    for (char c; (c = static_cast<char>(Byte(position))) != 0; ++position)
        text += c;
    return text;
}

TVxVersionWalker::THeader TVxVersionWalker::ReadHeader()
{
    THeader header;
    header.Start = FPos;
    header.Len = Word(FPos);
    if (header.Len == 0 || header.End() > FData.size())
        RaiseNoVersionInfo();
    header.ValueLen = Word(FPos + 2);
    std::size_t position = FPos + 4;
    if (FWide) {
        header.Type = Word(position);
        position += 2;
        header.Key = ReadWideText(position, FData.size());
    } else {
        header.Key = ReadNarrowText(position);
        position += header.Key.size() + 1;
    }
    FPos = AlignUp4(position);
    header.HeaderLen = FPos - header.Start;
    return header;
}

std::string TVxVersionWalker::ReadStringValue(const THeader& header) const
{
    const std::size_t valueLen = header.ValueLen;
    switch (header.Type) {
    case 0: {
        if (valueLen < 1 || valueLen > 4)
            return {};
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < valueLen; ++i)
            value |= static_cast<std::uint32_t>(Byte(FPos + i)) << (8 * i);
        char text[16];
        std::snprintf(text, sizeof text, "$%.*X", static_cast<int>(valueLen * 2), static_cast<unsigned>(value));
        return text;
    }
    case 1: {
        if (valueLen == 0)
            return {};
        if (!FWide)
            return ReadNarrowText(FPos);
        RequireBytes(FPos, valueLen * 2);
        std::size_t position = FPos;
        return ReadWideText(position, valueLen);
    }
    default: RaiseNoVersionInfo();
    }
}

void TVxVersionWalker::ReadStringTables(std::size_t end)
{
    for (std::int32_t table = 0; FPos < end; ++table) {
        const THeader header = ReadHeader();
        const std::string digits = CleanTableKey(header.Key);
        if (header.ValueLen != 0 || digits.size() != 8)
            RaiseNoVersionInfo();
        const std::uint32_t language = HexValue(std::string_view(digits).substr(0, 4));
        const std::uint32_t codePage = HexValue(std::string_view(digits).substr(4, 4));
        FInfo.FStringTableLanguages.push_back(language | codePage << 16);
        while (FPos < header.End()) {
            const THeader item = ReadHeader();
            std::string text = item.Key + "=" + ReadStringValue(item);
            FPos = AlignUp4(item.End());
            FInfo.FAllItems.push_back({std::move(text), table});
        }
        FPos = std::max(FPos, AlignUp4(header.End()));
    }
}

// Only the first "Translation" entry counts; other entries around it are
// stepped over by their own lengths.
void TVxVersionWalker::ReadTranslation(std::size_t end)
{
    bool found = false;
    while (FPos < end) {
        const THeader header = ReadHeader();
        if (!found && SameTextAscii(header.Key, "Translation")) {
            found = true;
            const std::size_t count = header.ValueLen / 4u;
            RequireBytes(FPos, count * 4);
            for (std::size_t i = 0; i < count; ++i)
                FInfo.FTranslationList.push_back(DWord(FPos + 4 * i));
        }
        FPos = std::max(FPos, AlignUp4(header.End()));
    }
}

void TVxVersionWalker::Walk()
{
    // The 32-bit layout has a type word (0 or 1) where the 16-bit layout
    // already has the first character of its key.
    FWide = Word(4) < 2;
    const THeader root = ReadHeader();
    if (!SameTextAscii(root.Key, "VS_VERSION_INFO") || root.ValueLen != FixedBlockSize)
        RaiseNoVersionInfo();
    RequireBytes(FPos, FixedBlockSize);
    if (DWord(FPos) != FixedBlockSignature)
        RaiseNoVersionInfo();
    FInfo.FFixedBlockOffset = FPos;
    FPos = AlignUp4(FPos + root.ValueLen);

    while (FPos < root.End()) {
        const THeader child = ReadHeader();
        FPos += child.ValueLen;
        const std::size_t childEnd = std::max(FPos, child.End());
        if (SameTextAscii(child.Key, "StringFileInfo"))
            ReadStringTables(childEnd);
        else if (SameTextAscii(child.Key, "VarFileInfo"))
            ReadTranslation(childEnd);
        else
            break;
        FPos = std::max(FPos, AlignUp4(childEnd));
    }
}

TVxFileVersionInfo::TVxFileVersionInfo(std::vector<std::uint8_t> rawData, const TVxWideToAnsi& wideToAnsi)
    : FRawData(std::move(rawData))
{
    TVxVersionWalker(*this, wideToAnsi).Walk();
    ComputeBuildFlags();
    FillLanguageItems();
}

void TVxFileVersionInfo::ComputeBuildFlags()
{
    TVxFixedFileInfo block{};
    FixedBlock(block);
    const std::uint32_t flags = block.dwFileFlags & block.dwFileFlagsMask;
    constexpr std::pair<std::uint32_t, TVersionBuildFlag> Bits[] = {
        {0x01, TVersionBuildFlag::vfDebug},        {0x10, TVersionBuildFlag::vfInfoInferred},
        {0x04, TVersionBuildFlag::vfPatched},      {0x02, TVersionBuildFlag::vfPreRelease},
        {0x08, TVersionBuildFlag::vfPrivateBuild}, {0x20, TVersionBuildFlag::vfSpecialBuild},
    };
    FBuildFlags = {};
    for (const auto& [bit, flag] : Bits)
        if (flags & bit)
            FBuildFlags.Include(flag);
}

void TVxFileVersionInfo::FillLanguageItems()
{
    FLanguageItems.clear();
    for (const auto& item : FAllItems)
        if (item.Tag == FSelectedLanguage)
            FLanguageItems.push_back({item.Text, FStringTableLanguages[static_cast<std::size_t>(FSelectedLanguage)]});
}

std::string TVxFileVersionInfo::StandardKeyValue(int keyIndex) const
{
    VX_ASSERT(keyIndex >= 1 && keyIndex <= static_cast<int>(StandardKeys.size()));
    const std::string_view key = StandardKeys[static_cast<std::size_t>(keyIndex - 1)];
    for (const auto& item : FLanguageItems) {
        const std::string_view text = item.Text;
        const std::size_t equals = text.find('=');
        if (equals != std::string_view::npos && SameTextAscii(text.substr(0, equals), key))
            return std::string(text.substr(equals + 1));
    }
    return {};
}

void TVxFileVersionInfo::FixedBlock(TVxFixedFileInfo& block) const
{
    std::uint32_t words[FixedBlockSize / 4];
    for (std::size_t i = 0; i < std::size(words); ++i) {
        const std::uint8_t* p = &FRawData[FFixedBlockOffset + 4 * i];
        words[i] = static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                   static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
    }
    block = {words[0], words[1], words[2], words[3],  words[4],  words[5], words[6],
             words[7], words[8], words[9], words[10], words[11], words[12]};
}
