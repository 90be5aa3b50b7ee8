// The font setting on a real framework font: what a stored text does to the
// font and to the font handle it makes, and what saving writes.

#include "config/VXConfigFont.h"
#include "framework/Exceptions.h"

#include "tests/ConfigTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

LOGFONTA LogFontOf(TFont& Font)
{
    LOGFONTA Log{};
    EXPECT_EQ(::GetObjectA(Font.Handle(), sizeof Log, &Log), static_cast<int>(sizeof Log));
    return Log;
}

void SetUpViewerFont(TFont& Font)
{
    Font.SetName("Courier New");
    Font.SetHeight(-13);
    Font.SetStyle(TFontStyles{fsBold});
    Font.SetCharset(ANSI_CHARSET);
    Font.SetColor(clWindowText);
}

class FontConfig : public testing::Test {
protected:
    // An in-memory file: nothing reaches the disk.
    TVxConfigFile File{std::string(), false};
    TVxConfigSectionRef Main = File.OpenSection("MAIN");
    TFont Font;
    TVXFontConfig Item{"font", Font};
};

TEST_F(FontConfig, LoadAppliesTheTextToTheFontAndItsHandle)
{
    Font.SetName("Arial");
    Font.SetSize(8);
    Main->WriteString("font", "14,FF000008,BI0,Courier New");
    Item.Load(*Main);

    EXPECT_EQ(Font.Name(), "Courier New");
    EXPECT_EQ(Font.Size(), 14);
    EXPECT_EQ(Font.Color(), clWindowText);
    EXPECT_EQ(Font.Style(), (TFontStyles{fsBold, fsItalic}));
    EXPECT_EQ(Font.Charset(), 0);
    const LOGFONTA Log = LogFontOf(Font);
    EXPECT_STREQ(Log.lfFaceName, "Courier New");
    EXPECT_EQ(Log.lfHeight, Font.Height());
    EXPECT_GE(Log.lfWeight, FW_BOLD);
    EXPECT_TRUE(Log.lfItalic);
    EXPECT_EQ(Log.lfCharSet, 0);
}

TEST_F(FontConfig, TheFontChangesOnceForAStoredTextAndNotForItsOwnText)
{
    SetUpViewerFont(Font);
    int Changes = 0;
    Font.OnChange = [&](TFont&) { ++Changes; };
    Item.Save(*Main);
    Item.Load(*Main);
    EXPECT_EQ(Changes, 0) << "the text the font has already";

    Main->WriteString("font", "14,FF000008,I0,Arial");
    Item.Load(*Main);
    EXPECT_EQ(Changes, 1);
    EXPECT_EQ(Font.Name(), "Arial");
    EXPECT_EQ(Font.Style(), TFontStyles{fsItalic});

    Main->WriteString("font", "20,FF,BUx");
    EXPECT_THROW(Item.Load(*Main), EConvertError);
    EXPECT_EQ(Changes, 2) << "the steps before the damage, at once";
    EXPECT_EQ(Font.Size(), 20);
}

TEST_F(FontConfig, SaveWritesTheViewerFontInTextForm)
{
    SetUpViewerFont(Font);
    Item.Save(*Main);
    EXPECT_EQ(Main->ReadString("font", ""), Format("%d,FF000008,B0,Courier New", Font.Size()));
}

TEST_F(FontConfig, SavedTextLoadsBackIntoAnotherFont)
{
    Font.SetName("Odd, Name");
    Font.SetSize(11);
    Font.SetStyle(TFontStyles{fsItalic, fsUnderline, fsStrikeOut});
    Font.SetCharset(RUSSIAN_CHARSET);
    Font.SetColor(0x123456);
    Item.Save(*Main);

    TFont Copy;
    TVXFontConfig(std::string("font"), Copy).Load(*Main);
    EXPECT_EQ(Copy.Name(), "Odd, Name");
    EXPECT_EQ(Copy.Size(), 11);
    EXPECT_EQ(Copy.Style(), Font.Style());
    EXPECT_EQ(Copy.Charset(), RUSSIAN_CHARSET);
    EXPECT_EQ(Copy.Color(), 0x123456u);
}

TEST_F(FontConfig, EmptyOrMissingTextLeavesTheFontAlone)
{
    SetUpViewerFont(Font);
    const int Height = Font.Height();
    Main->WriteString("font", "");
    Item.Load(*Main);
    TVxConfigItems Items;
    Items.Add(std::make_unique<TVXFontConfig>("other", Font));
    Items.LoadAll(*Main);
    EXPECT_EQ(Font.Name(), "Courier New");
    EXPECT_EQ(Font.Height(), Height);
    EXPECT_EQ(Font.Style(), TFontStyles{fsBold});
}

TEST_F(FontConfig, DamagedTextRaisesWithTheEarlierStepsInEffect)
{
    SetUpViewerFont(Font);
    Main->WriteString("font", "20,FF,BUx");
    try {
        Item.Load(*Main);
        FAIL() << "no error";
    } catch (const EConvertError& E) {
        EXPECT_EQ(E.Message(), "Syntax error");
    }
    EXPECT_EQ(Font.Size(), 20);
    EXPECT_EQ(Font.Color(), 0xFFu);
    EXPECT_EQ(Font.Style(), (TFontStyles{fsBold, fsUnderline}));
    EXPECT_EQ(Font.Name(), "Courier New");
    EXPECT_EQ(LogFontOf(Font).lfUnderline, TRUE);
}

TEST(FontConfigFile, FaceNameWithBlanksIsStoredQuoted)
{
    TScratchFolder Folder;
    const std::string Path = Folder.File("font.ini");
    TFont Font;
    SetUpViewerFont(Font);
    Font.SetSize(10);
    {
        TVxConfigFile File(Path, false);
        TVxConfigSectionRef Main = File.OpenSection("MAIN");
        TVXFontConfig("font", Font).Save(*Main);
        Main.Release();
    }
    EXPECT_NE(ReadWhole(Path).find("[MAIN]\r\nfont=\"10,FF000008,B0,Courier New\"\r\n"), std::string::npos)
        << ReadWhole(Path);
}

}  // namespace
