#include "help/VxHtmlHelpApi.h"

#include <gtest/gtest.h>

#include "framework/Handles.h"

#include "tests/HelpData/HtmlHelpStandIn.h"

namespace {

class HtmlHelpApi : public testing::Test {
protected:
    void SetUp() override
    {
        UnloadHtmlHelp();
        RemoveHelpLibrary();
    }
    void TearDown() override
    {
        UnloadHtmlHelp();
        RemoveHelpLibrary();
    }
};

TEST_F(HtmlHelpApi, MissingLibraryIsTriedAgainUntilItAppears)
{
    EXPECT_FALSE(HtmlHelpAvailable());
    EXPECT_FALSE(HtmlHelpLoaded());
    EXPECT_FALSE(LoadHtmlHelp());

    InstallHelpLibrary("HtmlHelpStandIn.dll");
    EXPECT_TRUE(HtmlHelpAvailable());
    EXPECT_TRUE(HtmlHelpLoaded());

    TStandInLog log;
    const HWND window = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x42));
    EXPECT_EQ(CallHtmlHelp(window, "Quorvel.chm", HH_HELP_CONTEXT, 30500),
              reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x1234)));
    ASSERT_EQ(log.Count(), 1);
    EXPECT_EQ(log.Last().Window, window);
    EXPECT_STREQ(log.Last().File, "Quorvel.chm");
    EXPECT_EQ(log.Last().Command, HH_HELP_CONTEXT);
    EXPECT_EQ(log.Last().Data, 30500u);
}

TEST_F(HtmlHelpApi, LoadsOnceAndUnloadFreesTheLibrary)
{
    InstallHelpLibrary("HtmlHelpStandIn.dll");
    EXPECT_TRUE(LoadHtmlHelp());
    EXPECT_TRUE(LoadHtmlHelp());
    EXPECT_TRUE(HtmlHelpAvailable());
    // One FreeLibrary leaves nothing loaded only if it was loaded once.
    UnloadHtmlHelp();
    EXPECT_FALSE(HtmlHelpLoaded());
    EXPECT_EQ(::GetModuleHandleA("HHCTRL.OCX"), nullptr);
    UnloadHtmlHelp();
    EXPECT_FALSE(HtmlHelpLoaded());
}

TEST_F(HtmlHelpApi, UnloadClosesTheLibrarysWindowsFirstAndLoadsNothingForIt)
{
    InstallHelpLibrary("HtmlHelpStandIn.dll");
    UnloadHtmlHelp();
    EXPECT_EQ(::GetModuleHandleA("HHCTRL.OCX"), nullptr) << "loaded only to be closed";

    ASSERT_TRUE(HtmlHelpAvailable());
    // Held here too, so its log can be read once the binding has freed it.
    const TModuleHandle held(::LoadLibraryA("HHCTRL.OCX"));
    ASSERT_TRUE(held);
    TStandInLog log;
    log.Reset();
    UnloadHtmlHelp();
    EXPECT_FALSE(HtmlHelpLoaded());
    ASSERT_EQ(log.Count(), 1);
    EXPECT_EQ(log.Last().Window, nullptr);
    EXPECT_TRUE(log.Last().FileIsNull);
    EXPECT_EQ(log.Last().Command, HH_CLOSE_ALL);
    EXPECT_EQ(log.Last().Data, 0u);
}

TEST_F(HtmlHelpApi, LibraryWithoutEntryPointIsNotLoadedAgain)
{
    InstallHelpLibrary("HtmlHelpNoEntry.dll");
    EXPECT_FALSE(HtmlHelpAvailable());
    EXPECT_TRUE(HtmlHelpLoaded());
    EXPECT_FALSE(HtmlHelpAvailable());
    EXPECT_FALSE(HtmlHelpAvailable());
    UnloadHtmlHelp();
    EXPECT_EQ(::GetModuleHandleA("HHCTRL.OCX"), nullptr);
}

TEST_F(HtmlHelpApi, UnloadThenLoadFindsTheEntryPointAnew)
{
    InstallHelpLibrary("HtmlHelpNoEntry.dll");
    EXPECT_FALSE(HtmlHelpAvailable());
    UnloadHtmlHelp();
    RemoveHelpLibrary();
    InstallHelpLibrary("HtmlHelpStandIn.dll");
    EXPECT_TRUE(HtmlHelpAvailable());
    TStandInLog log;
    EXPECT_EQ(log.Count(), 0);
}

}  // namespace
