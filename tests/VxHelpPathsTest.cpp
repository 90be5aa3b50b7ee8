#include "help/VxHelpPaths.h"

#include <gtest/gtest.h>

namespace {

struct TExtCase {
    const char* Name;
    const char* Ext;
    const char* WithChm;
};

class HelpFileExtension : public testing::TestWithParam<TExtCase> {};

TEST_P(HelpFileExtension, FindsAndReplacesTheLastDotOfTheFileName)
{
    const auto& c = GetParam();
    EXPECT_EQ(HelpFileExt(c.Name), c.Ext);
    EXPECT_EQ(ChangeHelpFileExt(c.Name, ".chm"), c.WithChm);
}

INSTANTIATE_TEST_SUITE_P(
    Names, HelpFileExtension,
    testing::Values(TExtCase{"Quorvel.chm", ".chm", "Quorvel.chm"}, TExtCase{"Guide.hlp", ".hlp", "Guide.chm"},
                    TExtCase{"C:\\Docs\\Other.chm", ".chm", "C:\\Docs\\Other.chm"},
                    TExtCase{"archive.tar.hlp", ".hlp", "archive.tar.chm"}, TExtCase{"Guide", "", "Guide.chm"},
                    TExtCase{"Guide.", ".", "Guide.chm"}, TExtCase{".hlp", ".hlp", ".chm"}, TExtCase{"", "", ".chm"},
                    // A dot in a folder name is not an extension.
                    TExtCase{"C:\\My.Docs\\Guide", "", "C:\\My.Docs\\Guide.chm"},
                    TExtCase{"D:Guide", "", "D:Guide.chm"}, TExtCase{"x.y:Guide", "", "x.y:Guide.chm"},
                    // A forward slash is not a folder delimiter here.
                    TExtCase{"docs.v2/Guide", ".v2/Guide", "docs.chm"}));

TEST(HelpFileDir, EndsAtTheLastBackslashOrColon)
{
    EXPECT_EQ(HelpFileDir("C:\\App\\Guide.chm"), "C:\\App\\");
    EXPECT_EQ(HelpFileDir("C:Guide.chm"), "C:");
    EXPECT_EQ(HelpFileDir("Help.chm::/CSHelp.txt"), "Help.chm::");
    EXPECT_EQ(HelpFileDir("Guide.chm"), "");
    EXPECT_EQ(HelpFileDir("\\\\server\\share\\"), "\\\\server\\share\\");
}

TEST(LowerAscii, ChangesOnlyTheLettersAToZ)
{
    EXPECT_EQ(LowerAscii("Popups.HLP"), "popups.hlp");
    EXPECT_EQ(LowerAscii("\xC4@[`{Z"), "\xC4@[`{z");
}

TEST(MixedPopupHelpFile, TakesTheHelpFilesFolderUnlessTheTopicsNameOne)
{
    EXPECT_EQ(MixedPopupHelpFile("C:\\App\\Guide.chm", "Popups.HLP"), "C:\\App\\Popups.HLP");
    EXPECT_EQ(MixedPopupHelpFile("C:\\App\\Guide.chm", "D:\\Pop\\Popups.HLP"), "D:\\Pop\\Popups.HLP");
    EXPECT_EQ(MixedPopupHelpFile("Guide.chm", "Popups.HLP"), "Popups.HLP");
}

TEST(UnpackHelpPoint, SignExtendsEachHalf)
{
    EXPECT_EQ(UnpackHelpPoint(0x00C80064), (THelpPoint{100, 200}));
    EXPECT_EQ(UnpackHelpPoint(static_cast<std::int32_t>(0xFFFEFFFFu)), (THelpPoint{-1, -2}));
    EXPECT_EQ(UnpackHelpPoint(static_cast<std::int32_t>(0x80007FFFu)), (THelpPoint{32767, -32768}));
    EXPECT_EQ(UnpackHelpPoint(0), (THelpPoint{0, 0}));
}

}  // namespace
