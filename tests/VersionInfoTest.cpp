#include "components/VxFileUtils.h"

#include "tests/VersionResourceBuilder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace vrb;
using F = TVersionBuildFlag;
using testing::ElementsAre;

namespace {

const char* const NoVersionInfo = "File contains no version information";

std::string ErrorOf(const std::vector<std::uint8_t>& data)
{
    try {
        TVxFileVersionInfo info(data);
    } catch (const EVxFileVersionInfoError& e) {
        return e.Message();
    }
    return "no error";
}

const char* const AllKeys[12] = {"Comments",     "CompanyName",    "FileDescription", "FileVersion",
                                 "InternalName", "LegalCopyright", "LegalTrademarks", "OriginalFilename",
                                 "ProductName",  "ProductVersion", "SpecialBuild",    "PrivateBuild"};

// Both layouts of the resource format, as a test parameter.
class VersionInfoLayout : public testing::TestWithParam<bool> {
protected:
    bool Wide() const { return GetParam(); }
    Block T(const std::string& key, const std::string& value) const { return Text(key, value, Wide()); }
    std::vector<std::uint8_t> Bytes(const Block& root) const { return Serialize(root, Wide()); }
};

INSTANTIATE_TEST_SUITE_P(Layouts, VersionInfoLayout, testing::Bool(),
                         [](const auto& layout) { return layout.param ? "Wide" : "Narrow"; });

TEST_P(VersionInfoLayout, StandardKeysAnswerByNumber)
{
    std::vector<Block> strings;
    for (int i = 0; i < 12; ++i)
        strings.push_back(T(AllKeys[i], "value " + std::to_string(i + 1)));
    TVxFileVersionInfo info(Bytes(
        Root({}, {StringFileInfo({Table("040904B0", strings)}), VarFileInfo({Var("Translation", {0x04B00409})})})));
    for (int i = 1; i <= 12; ++i)
        EXPECT_EQ(info.StandardKeyValue(i), "value " + std::to_string(i)) << "key " << i;
    EXPECT_THAT(info.StringTableLanguages(), ElementsAre(0x04B00409u));
    EXPECT_THAT(info.TranslationList(), ElementsAre(0x04B00409u));
    ASSERT_EQ(info.LanguageItems().size(), 12u);
    EXPECT_EQ(info.LanguageItems()[8].Text, "ProductName=value 9");
    EXPECT_EQ(info.LanguageItems()[8].Tag, 0x04B00409u);
}

TEST_P(VersionInfoLayout, FixedBlockIsCopiedWordForWord)
{
    Fixed fixed;
    for (std::uint32_t i = 1; i < 13; ++i)
        fixed.Words[i] = 0x01020304u * i;
    TVxFileVersionInfo info(Bytes(Root(fixed, {})));
    TVxFixedFileInfo block{};
    info.FixedBlock(block);
    EXPECT_EQ(block.dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(block.dwFileVersionMS, fixed.Words[2]);
    EXPECT_EQ(block.dwProductVersionLS, fixed.Words[5]);
    EXPECT_EQ(block.dwFileDateLS, fixed.Words[12]);
}

TEST_P(VersionInfoLayout, LookupIgnoresCaseOfResourceKeys)
{
    TVxFileVersionInfo info(
        Bytes(Root({}, {StringFileInfo({Table("040904E4", {T("LegalTrademarks", "TM"), T("PRODUCTNAME", "Q")})})})));
    EXPECT_EQ(info.StandardKeyValue(7), "TM");
    EXPECT_EQ(info.StandardKeyValue(9), "Q");
    EXPECT_EQ(info.StandardKeyValue(1), "");
}

TEST_P(VersionInfoLayout, OnlyTheFirstStringTableIsExposed)
{
    TVxFileVersionInfo info(Bytes(Root({}, {StringFileInfo({Table("040904B0", {T("CompanyName", "First")}),
                                                            Table("040704B0", {T("ProductName", "Second")})})})));
    EXPECT_EQ(info.StandardKeyValue(2), "First");
    EXPECT_EQ(info.StandardKeyValue(9), "");
    EXPECT_THAT(info.StringTableLanguages(), ElementsAre(0x04B00409u, 0x04B00407u));
    ASSERT_EQ(info.AllItems().size(), 2u);
    EXPECT_EQ(info.AllItems()[1].Text, "ProductName=Second");
    EXPECT_EQ(info.AllItems()[1].Tag, 1);
    EXPECT_EQ(info.LanguageItems().size(), 1u);
}

TEST_P(VersionInfoLayout, TableKeysAreCleanedToEightHexDigits)
{
    const std::pair<const char*, std::uint32_t> cases[] = {
        {"0x040904b0", 0x04B00409},
        {"0x04090x04B0", 0x04B00409},
        {"04-09:04 b0", 0x04B00409},
        {"{0407_04E4}", 0x04E40407},
    };
    for (const auto& [key, language] : cases) {
        TVxFileVersionInfo info(Bytes(Root({}, {StringFileInfo({Table(key, {T("ProductName", "Q")})})})));
        EXPECT_THAT(info.StringTableLanguages(), ElementsAre(language)) << key;
        EXPECT_EQ(info.StandardKeyValue(9), "Q") << key;
    }
    for (const char* key : {"0409", "040904B0F", "0x0409zz04"})
        EXPECT_EQ(ErrorOf(Bytes(Root({}, {StringFileInfo({Table(key, {})})}))), NoVersionInfo) << key;
}

TEST_P(VersionInfoLayout, MissingStringFileInfoLeavesValuesEmpty)
{
    Fixed fixed;
    fixed.Words[6] = 0x3F;
    fixed.Words[7] = 0x01;
    for (const auto& children : {std::vector<Block>{}, std::vector<Block>{VarFileInfo({Var("Translation", {1})})}}) {
        TVxFileVersionInfo info(Bytes(Root(fixed, children)));
        for (int i = 1; i <= 12; ++i)
            EXPECT_EQ(info.StandardKeyValue(i), "");
        EXPECT_TRUE(info.LanguageItems().empty());
        EXPECT_EQ(info.BuildFlags(), TVersionBuildFlags{F::vfDebug});
    }
}

TEST_P(VersionInfoLayout, StringValueIsCutAtItsFirstNul)
{
    Block nulInside = T("Comments", "ab");
    nulInside.Value.resize(nulInside.Value.size() + (Wide() ? 4 : 2), 'x');
    nulInside.ValueLen = static_cast<std::uint16_t>(nulInside.ValueLen + 2);
    Block withoutNul = T("CompanyName", "Talmore");
    withoutNul.ValueLen = 7;
    Block empty = T("FileDescription", "ignored");
    empty.ValueLen = 0;
    TVxFileVersionInfo info(
        Bytes(Root({}, {StringFileInfo({Table("040904B0", {nulInside, withoutNul, empty, T("FileVersion", "")})})})));
    EXPECT_EQ(info.StandardKeyValue(1), "ab");
    EXPECT_EQ(info.StandardKeyValue(2), "Talmore");
    EXPECT_EQ(info.StandardKeyValue(3), "");
    EXPECT_EQ(info.LanguageItems()[3].Text, "FileVersion=");
}

TEST_P(VersionInfoLayout, UnknownChildOfTheRootEndsTheWalkQuietly)
{
    TVxFileVersionInfo info(Bytes(Root({}, {StringFileInfo({Table("040904B0", {T("ProductName", "Q")})}),
                                            Table("Other", {}), VarFileInfo({Var("Translation", {1})})})));
    EXPECT_EQ(info.StandardKeyValue(9), "Q");
    EXPECT_TRUE(info.TranslationList().empty());
}

TEST_P(VersionInfoLayout, VarFileInfoEntriesAroundTranslationAreSteppedOver)
{
    TVxFileVersionInfo info(
        Bytes(Root({}, {VarFileInfo({Var("Other", {7, 8, 9}), Var("translation", {0x04B00409, 0x04E40407}),
                                     Var("Translation", {5}), Var("Last", {1})}),
                        StringFileInfo({Table("040904B0", {T("ProductName", "Q")})})})));
    EXPECT_THAT(info.TranslationList(), ElementsAre(0x04B00409u, 0x04E40407u));
    EXPECT_EQ(info.StandardKeyValue(9), "Q");
}

TEST_P(VersionInfoLayout, MalformedResourcesHaveNoVersionInformation)
{
    const Block good = Root({}, {StringFileInfo({Table("040904B0", {T("ProductName", "Q")})})});
    std::vector<std::pair<const char*, Block>> cases;
    auto add = [&](const char* name, auto change) {
        Block block = good;
        change(block);
        cases.emplace_back(name, block);
    };
    add("wrong root key", [](Block& b) { b.Key = "VS_VERSION"; });
    add("fixed block size", [](Block& b) {
        b.ValueLen = 48;
        b.Value.resize(48);
    });
    add("signature", [](Block& b) { b.Value[0] = 0xBE; });
    add("table with value", [](Block& b) { b.Children[0].Children[0].ValueLen = 2; });
    add("zero-length string", [](Block& b) {
        Block empty;
        empty.LenDelta = -8;
        b.Children[0].Children[0].Children.push_back(empty);
    });
    add("root past end", [](Block& b) { b.LenDelta = 4; });
    add("table past end", [](Block& b) { b.Children[0].Children[0].LenDelta = 8; });
    add("text at the end without NUL", [](Block& b) { b.Children[0].Children[0].Children[0].Value.pop_back(); });
    if (Wide()) {
        add("text value past end", [](Block& b) { b.Children[0].Children[0].Children[0].ValueLen = 500; });
        add("string of type 2", [](Block& b) { b.Children[0].Children[0].Children[0].Type = 2; });
    }
    for (const auto& [name, block] : cases)
        EXPECT_EQ(ErrorOf(Bytes(block)), NoVersionInfo) << name;
}

TEST_P(VersionInfoLayout, TruncatedOrDamagedDataNeverReadsOutside)
{
    const auto data = Bytes(Root({}, {StringFileInfo({Table("040904B0", {T("ProductName", "Q"), T("Comments", "c")})}),
                                      VarFileInfo({Var("Translation", {0x04B00409})})}));
    for (std::size_t size = 0; size < data.size(); ++size)
        EXPECT_EQ(ErrorOf({data.begin(), data.begin() + static_cast<std::ptrdiff_t>(size)}), NoVersionInfo) << size;
    // Sanitizers catch any read outside; the result is a reader or the error.
    for (std::size_t at = 0; at < data.size(); ++at)
        for (const int value : {0x00, 0x01, 0x7F, 0xFF}) {
            auto damaged = data;
            damaged[at] = static_cast<std::uint8_t>(value);
            const std::string error = ErrorOf(damaged);
            EXPECT_TRUE(error == "no error" || error == NoVersionInfo) << at << ": " << error;
        }
}

TEST(VersionInfo, BinaryValuesReadAsLittleEndianHex)
{
    const std::pair<std::vector<std::uint8_t>, const char*> cases[] = {
        {{0xAB}, "$AB"},
        {{0x12, 0x34}, "$3412"},
        {{0x01, 0x02, 0x03}, "$030201"},
        {{0x00, 0x00, 0x00, 0x0F}, "$0F000000"},
        {{}, ""},
        {{1, 2, 3, 4, 5}, ""},
    };
    for (const auto& [bytes, expected] : cases) {
        TVxFileVersionInfo info(
            Serialize(Root({}, {StringFileInfo({Table("040904B0", {Binary("Comments", bytes)})})}), true));
        EXPECT_EQ(info.StandardKeyValue(1), expected);
    }
}

TEST(VersionInfo, BuildFlagsAreTheFlagsWithinTheMask)
{
    const struct {
        std::uint32_t Flags, Mask;
        TVersionBuildFlags Expected;
    } cases[] = {
        {0x3F, 0x0B, {F::vfDebug, F::vfPreRelease, F::vfPrivateBuild}},
        {0x3F,
         0x3F,
         {F::vfDebug, F::vfInfoInferred, F::vfPatched, F::vfPreRelease, F::vfPrivateBuild, F::vfSpecialBuild}},
        {0x14, 0xFF, {F::vfPatched, F::vfInfoInferred}},
        {0x20, 0x20, {F::vfSpecialBuild}},
        {0x00, 0x3F, {}},
        {0x3F, 0x00, {}},
    };
    for (const auto& c : cases) {
        Fixed fixed;
        fixed.Words[6] = c.Mask;
        fixed.Words[7] = c.Flags;
        TVxFileVersionInfo info(Serialize(Root(fixed, {}), true));
        EXPECT_EQ(info.BuildFlags().Bits(), c.Expected.Bits()) << std::hex << c.Flags << "/" << c.Mask;
    }
}

TEST(VersionInfo, WideTextGoesThroughTheGivenConversion)
{
    const auto data =
        Serialize(Root({}, {StringFileInfo({Table("040904E4", {Text("Comments", u"\u20AC 5", true)})})}), true);
    EXPECT_EQ(TVxFileVersionInfo(data).StandardKeyValue(1), "? 5");
    const TVxFileVersionInfo info(data, [](std::u16string_view text) {
        std::string result;
        for (const char16_t unit : text)
            result += unit == 0x20AC ? '\x80' : static_cast<char>(unit);
        return result;
    });
    EXPECT_EQ(info.StandardKeyValue(1), "\x80 5");
}

TEST(VersionInfo, KeyNumberOutsideTheTableIsAnAssertion)
{
    TVxFileVersionInfo info(Serialize(Root({}, {}), true));
    EXPECT_THROW(info.StandardKeyValue(0), EAssertionFailed);
    EXPECT_THROW(info.StandardKeyValue(13), EAssertionFailed);
}

}  // namespace
