#include "config/VxMemIniFile.h"

#include "config/VxConfigOS.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> Keys(TVxMemIniFile& Store, const std::string& Section)
{
    std::vector<std::string> Result;
    Store.ReadSection(Section, Result);
    return Result;
}

}  // namespace

TEST(MemIniFile, LoadStripsBlanksAndDropsCommentsAndOrphanLines)
{
    TVxMemIniFile Store("");
    Store.SetText("orphan=1\n; comment\n[ A ]\r\n  key = value \r\n\r\n;x=1\n\tplain line\t\nk2=\n=v\n[B]");
    EXPECT_EQ(Store.GetText(), "[A]\r\nkey=value\r\nplain line\r\nk2=\r\n=v\r\n\r\n[B]\r\n\r\n");
    EXPECT_EQ(Store.ReadString("a", "KEY", "d"), "value");
    EXPECT_EQ(Store.ReadString("A", "", "d"), "v");  // "=v" has the empty key
    EXPECT_EQ(Store.ReadString("A", "plain line", "d"), "d");
    EXPECT_EQ(Store.ReadString("A", "orphan", "d"), "d");
}

TEST(MemIniFile, EveryLineEndKindEndsALine)
{
    TVxMemIniFile Store("");
    Store.SetText("[S]\ra=1\nb=2\r\nc=3\r\r\nd=4\n\re=5");
    EXPECT_EQ(Keys(Store, "S"), (std::vector<std::string>{"a", "b", "c", "d", "e"}));
}

TEST(MemIniFile, NulEndsTheReadableText)
{
    TVxMemIniFile Store("");
    Store.SetText(std::string("[S]\r\na=1\r\nb=2\0\r\nc=3\r\n[T]\r\nd=4", 29));
    EXPECT_EQ(Store.GetText(), "[S]\r\na=1\r\nb=2\r\n\r\n");
}

TEST(MemIniFile, BracketsMakeAHeaderOnlyAtBothEnds)
{
    TVxMemIniFile Store("");
    Store.SetText("[S]\n[\n[x=1\n]\n[]\nk=v\n[a]b]\n");
    EXPECT_EQ(Keys(Store, "S"), (std::vector<std::string>{"", "[x", ""}));
    EXPECT_EQ(Store.ReadString("", "k", "d"), "v");
    std::vector<std::string> Names;
    Store.ReadSections(Names);
    EXPECT_EQ(Names, (std::vector<std::string>{"S", "", "a]b"}));
}

TEST(MemIniFile, LookupIgnoresCaseByTheAnsiRule)
{
    TVxMemIniFile Store("");
    Store.SetText("[Caf\xE9]\nKey=1\n\xFF=2\n\x9A=3\n");
    EXPECT_EQ(Store.ReadString("CAF\xC9", "kEY", ""), "1");
    EXPECT_EQ(Store.ReadString("caf\xE9", "\x9F", ""), "2");
    EXPECT_EQ(Store.ReadString("caf\xE9", "\x8A", ""), "3");
    // The division and multiplication signs are not a case pair.
    EXPECT_EQ(VxAnsiUpperCase("a\xF7\xE0z"), "A\xF7\xC0Z");
}

TEST(MemIniFile, LastOccurrenceWinsAndAllAreWrittenBack)
{
    TVxMemIniFile Store("");
    Store.SetText("[A]\nk=1\nk=2\n[B]\nx=0\n[a]\nk=3\n");
    EXPECT_EQ(Store.ReadString("A", "K", ""), "3");
    Store.WriteString("A", "K", "4");
    Store.WriteString("B", "k", "5");
    EXPECT_EQ(Store.GetText(), "[A]\r\nk=1\r\nk=2\r\n\r\n[B]\r\nx=0\r\nk=5\r\n\r\n[a]\r\nK=4\r\n\r\n");

    Store.EraseSection("a");
    EXPECT_EQ(Store.ReadString("A", "k", ""), "2");  // the first A shows again
    Store.DeleteKey("A", "k");
    EXPECT_EQ(Store.ReadString("A", "k", ""), "1");
    EXPECT_EQ(Store.GetText(), "[A]\r\nk=1\r\n\r\n[B]\r\nx=0\r\nk=5\r\n\r\n");
}

TEST(MemIniFile, WritesAppendMissingSectionsAndKeepTheWritersCase)
{
    TVxMemIniFile Store("");
    Store.SetText("[main]\nfont=a\n");
    Store.WriteString("MAIN", "FONT", "b");
    Store.WriteString("Window", "Left", "3");
    EXPECT_EQ(Store.GetText(), "[main]\r\nFONT=b\r\n\r\n[Window]\r\nLeft=3\r\n\r\n");
}

TEST(MemIniFile, EntriesWithoutEqualsHaveNoKey)
{
    TVxMemIniFile Store("");
    Store.SetText("[S]\njust text\nk=v\n");
    EXPECT_FALSE(Store.ValueExists("S", "just text"));
    EXPECT_TRUE(Store.ValueExists("S", "K"));
    EXPECT_EQ(Keys(Store, "S"), (std::vector<std::string>{"", "k"}));
}

TEST(MemIniFile, SectionExistsOnlyWithAnEntry)
{
    TVxMemIniFile Store("");
    Store.SetText("[Empty]\n[Full]\nx\n");
    EXPECT_FALSE(Store.SectionExists("Empty"));
    EXPECT_TRUE(Store.SectionExists("full"));
    EXPECT_FALSE(Store.SectionExists("None"));
    std::vector<std::string> Names;
    Store.ReadSections(Names);
    EXPECT_EQ(Names, (std::vector<std::string>{"Empty", "Full"}));
}

TEST(MemIniFile, IntegersAcceptTheZeroXForm)
{
    TVxMemIniFile Store("");
    Store.SetText("[S]\na=0x10\nb=0X1f\nc=0x\nd=12a\ne=-5\n");
    EXPECT_EQ(Store.ReadInteger("S", "a", -1), 16);
    EXPECT_EQ(Store.ReadInteger("S", "b", -1), 31);
    EXPECT_EQ(Store.ReadInteger("S", "c", -1), -1);
    EXPECT_EQ(Store.ReadInteger("S", "d", -1), -1);
    EXPECT_EQ(Store.ReadInteger("S", "e", -1), -5);
    EXPECT_EQ(Store.ReadInteger("S", "missing", 9), 9);
}
