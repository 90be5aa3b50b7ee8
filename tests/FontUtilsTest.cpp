#include "config/FontUtils.h"

#include "framework/Exceptions.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <vector>

// Found by argument-dependent lookup, so it stays beside the type's namespace.
void PrintTo(const TVxFontValues& v, std::ostream* os);
void PrintTo(const TVxFontValues& v, std::ostream* os)
{
    *os << "{" << v.Size << ", " << std::hex << v.Color << std::dec << ", styles " << v.Style.Bits() << ", charset "
        << int{v.Charset} << ", \"" << v.Name << "\"}";
}

namespace {

using S = TVxFontStyle;

// A font whose every attribute differs from what any text below sets.
const TVxFontValues Before{99, 0xABCDEF, {S::fsUnderline}, 77, "Before"};

TVxFontValues Apply(const std::string& text)
{
    TVxPlainFont font(Before);
    TextToFont(font, text);
    return font.Values;
}

TEST(FontText, WritesEveryFieldInItsForm)
{
    const std::pair<TVxFontValues, const char*> cases[] = {
        {{10, 0xFF000008, {S::fsBold}, 0, "Courier New"}, "10,FF000008,B0,Courier New"},
        {{10, 0xFF000008, {}, 1, "Courier New"}, "10,FF000008,N1,Courier New"},
        {{-8, 0, {S::fsStrikeOut, S::fsItalic, S::fsUnderline, S::fsBold}, 255, "a,b c"}, "-8,0,BIUS255,a,b c"},
        {{12, 0x800080, {S::fsUnderline}, 204, "Lucida Console"}, "12,800080,U204,Lucida Console"},
    };
    for (const auto& [values, text] : cases)
        EXPECT_EQ(FontToText(values), text);
}

TEST(FontText, ReadsWhatItWrites)
{
    std::vector<TVxFontValues> fonts;
    for (std::uint32_t styles = 0; styles < 16; ++styles)
        fonts.push_back({static_cast<std::int32_t>(styles) * 3 - 20, 0x80000000u + styles,
                         TVxFontStyles::FromBits(styles), static_cast<std::uint8_t>(styles * 17),
                         "Face, with, commas "});
    fonts.push_back({INT_MIN, 0xFFFFFFFF, {}, 0, " "});
    fonts.push_back({INT_MAX, 0, {}, 255, "%s%d"});
    for (const auto& values : fonts) {
        TVxPlainFont font;
        TextToFont(font, FontToText(values));
        EXPECT_EQ(font.Values, values) << FontToText(values);
    }
}

TEST(FontText, AcceptsLooseForms)
{
    const std::pair<const char*, TVxFontValues> cases[] = {
        {"10,FF000008,B0,Courier New", {10, 0xFF000008, {S::fsBold}, 0, "Courier New"}},
        {"10,ff,bi,X", {10, 0xFF, {S::fsBold, S::fsItalic}, 0, "X"}},
        {"10,1,sUNx1,X", {10, 1, {S::fsStrikeOut, S::fsUnderline}, 1, "X"}},
        {"10,1,B2B0,X", {10, 1, {S::fsBold}, 20, "X"}},
        {"10,1,N0,X", {10, 1, {}, 0, "X"}},
        {"10,1,,X", {10, 1, {}, 0, "X"}},
        {"10,1,N1,a,b", {10, 1, {}, 1, "a,b"}},
        {"10,1,N1, a ", {10, 1, {}, 1, " a "}},
        {" \t10,\r $fF,N2,X", {10, 0xFF, {}, 2, "X"}},
        {"+7,0,N,X", {7, 0, {}, 0, "X"}},
        {"-2147483648,0,N,X", {INT_MIN, 0, {}, 0, "X"}},
        {"0012,80000000,N,X", {12, 0x80000000, {}, 0, "X"}},
        // A character set beyond 8 bits is no character set.
        {"10,1,N256,X", {10, 1, {}, 0, "X"}},
        {"10,1,B99999999999999999999,X", {10, 1, {S::fsBold}, 0, "X"}},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(Apply(text), expected) << text;
}

TEST(FontText, EmptyTextChangesNothing)
{
    EXPECT_EQ(Apply(""), Before);
}

TEST(FontText, FailuresKeepWhatEarlierStepsSet)
{
    const struct {
        const char* Text;
        const char* Message;
        TVxFontValues After;
    } cases[] = {
        {"x", "Number expected", Before},
        {",FF,N1,X", "Number expected", Before},
        {"-,FF,N1,X", "'-' is not a valid integer value", Before},
        {" +", "'+' is not a valid integer value", Before},
        {"2147483648,FF,N1,X", "'2147483648' is not a valid integer value", Before},
        {"-2147483649,FF,N1,X", "'-2147483649' is not a valid integer value", Before},
        {"10", "Syntax error", {10, 0xABCDEF, {S::fsUnderline}, 0, "Before"}},
        {"10,", "Syntax error", {10, 0xABCDEF, {S::fsUnderline}, 0, "Before"}},
        {"10 ,FF,N1,X", "Syntax error", {10, 0xABCDEF, {S::fsUnderline}, 0, "Before"}},
        {"10,,N1,X", "Number expected", {10, 0xABCDEF, {S::fsUnderline}, 0, "Before"}},
        {"10,$,N1,X", "Number expected", {10, 0xABCDEF, {S::fsUnderline}, 0, "Before"}},
        {"10,G,N1,X", "Number expected", {10, 0xABCDEF, {S::fsUnderline}, 0, "Before"}},
        {"10,123456789,N1,X", "Syntax error", {10, 0x12345678, {S::fsUnderline}, 0, "Before"}},
        {"10,FF ,N1,X", "Syntax error", {10, 0xFF, {S::fsUnderline}, 0, "Before"}},
        {"10,FF", "Syntax error", {10, 0xFF, {S::fsUnderline}, 0, "Before"}},
        {"10,FF,B1", "Syntax error", {10, 0xFF, {S::fsBold}, 0, "Before"}},
        {"10,FF,BI1,", "Syntax error", {10, 0xFF, {S::fsBold, S::fsItalic}, 0, "Before"}},
    };
    for (const auto& c : cases) {
        TVxPlainFont font(Before);
        try {
            TextToFont(font, c.Text);
            ADD_FAILURE() << c.Text << ": no error";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), c.Message) << c.Text;
        }
        EXPECT_EQ(font.Values, c.After) << c.Text;
    }
}

// Records the order in which the attributes reach the font.
class TRecordingFont : public IVxFontTarget {
public:
    void SetSize(std::int32_t points) override { Calls.push_back("size " + std::to_string(points)); }
    void SetColor(std::uint32_t color) override { Calls.push_back("colour " + std::to_string(color)); }
    void SetStyle(TVxFontStyles style) override { Calls.push_back("style " + std::to_string(style.Bits())); }
    void SetCharset(std::uint8_t charset) override { Calls.push_back("charset " + std::to_string(charset)); }
    void SetName(const std::string& name) override { Calls.push_back("name " + name); }
    std::vector<std::string> Calls;
};

TEST(FontText, EachStepReachesTheFontAsItRuns)
{
    TRecordingFont font;
    TextToFont(font, "10,1F,bNi3,Face");
    EXPECT_EQ(font.Calls, (std::vector<std::string>{"size 10", "charset 0", "colour 31", "style 0", "style 1",
                                                    "style 3", "name Face", "charset 3"}));
}

TEST(FontNumbers, ParsersAdvanceOneBasedPositions)
{
    std::size_t pos = 1;
    SkipBlanks("\t\n\v\f\r x", pos);
    EXPECT_EQ(pos, 7u);
    SkipBlanks("ab", pos = 3);
    EXPECT_EQ(pos, 3u);

    EXPECT_EQ(ParseInteger("a  -12x", pos = 2), -12);
    EXPECT_EQ(pos, 7u);
    EXPECT_EQ(ParseInteger("7", pos = 1), 7);
    EXPECT_EQ(pos, 2u);
    EXPECT_THROW(ParseInteger("7", pos = 2), EConvertError);

    EXPECT_EQ(ParseHex(" $fF,", pos = 1), 255);
    EXPECT_EQ(pos, 5u);
    EXPECT_EQ(ParseHex("FFFFFFFFF", pos = 1), -1);
    EXPECT_EQ(pos, 9u);
}

TEST(FontNumbers, HexToIntWrapsInThirtyTwoBits)
{
    const std::pair<const char*, std::int32_t> cases[] = {
        {"", 0},
        {"0", 0},
        {"7fffffff", INT_MAX},
        {"80000000", INT_MIN},
        {"FF000008", static_cast<std::int32_t>(0xFF000008u)},
        {"123456789", 0x23456789},
    };
    for (const auto& [digits, value] : cases)
        EXPECT_EQ(HexToInt(digits), value) << digits;
    EXPECT_THROW(HexToInt("12G"), EConvertError);
}

}  // namespace
