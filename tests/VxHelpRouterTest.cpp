#include "help/VxHelpRouter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "framework/Application.h"
#include "framework/FormReader.h"
#include "help/VxHtmlHelpApi.h"
#include "tests/HelpData/HtmlHelpStandIn.h"
#include "tests/support/TestDriver.h"

namespace {

// F1 goes to the focused window, which must be this test's own.
[[maybe_unused]] const bool OnOwnDesktop = TestDriver::UsePrivateDesktop();

struct TWinHelpCall {
    HWND Window;
    std::string File;
    UINT Command;
    ULONG_PTR Data;
};
std::vector<TWinHelpCall> WinHelpCalls;
BOOL WinHelpResult = TRUE;

BOOL WINAPI RecordWinHelp(HWND window, LPCSTR file, UINT command, ULONG_PTR data)
{
    WinHelpCalls.push_back({window, file ? file : "<null>", command, data});
    return WinHelpResult;
}

HWND StandInResult()
{
    return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x1234));
}

class HelpRouter : public testing::Test {
protected:
    void SetUp() override
    {
        UnloadHtmlHelp();
        RemoveHelpLibrary();
        InstallHelpLibrary("HtmlHelpStandIn.dll");
        WinHelpCalls.clear();
        WinHelpResult = TRUE;
        WinHelpCall = RecordWinHelp;
        Application->OnHelp = nullptr;
        Application->SetHelpFile("Quorvel.chm");
        Form = std::make_unique<TForm>(nullptr);
        Router = new THelpRouter(Form.get());
        Router->SetHelpType(htHTMLhelp);
    }

    void TearDown() override
    {
        Form.reset();
        Application->OnHelp = nullptr;
        UnloadHtmlHelp();
        RemoveHelpLibrary();
    }

    // A request as the application's help event receives it.
    bool Request(std::uint16_t command, std::intptr_t data, bool& callHelp)
    {
        callHelp = true;
        return Application->OnHelp(command, data, callHelp);
    }
    bool Request(std::uint16_t command, std::intptr_t data)
    {
        bool callHelp = true;
        const bool result = Request(command, data, callHelp);
        EXPECT_FALSE(callHelp) << "command " << command;
        return result;
    }

    // The stand-in's call log; valid once the library is loaded.
    const TStandInLog& Log()
    {
        if (!FLog)
            FLog = std::make_unique<TStandInLog>();
        return *FLog;
    }

    std::unique_ptr<TForm> Form;
    THelpRouter* Router = nullptr;  // owned by Form

private:
    std::unique_ptr<TStandInLog> FLog;
};

TEST_F(HelpRouter, StartsWithItsDocumentedValues)
{
    TForm owner(nullptr);
    Form.reset();
    auto* router = new THelpRouter(&owner);
    EXPECT_EQ(router->Owner(), &owner);
    EXPECT_EQ(router->HelpType(), htWinhelp);
    EXPECT_EQ(router->ShowType(), stDefault);
    EXPECT_EQ(router->Helpfile(), "");
    EXPECT_EQ(router->CHMPopupTopics(), "CSHelp.txt");
    EXPECT_FALSE(router->ValidateID());
}

TEST_F(HelpRouter, SecondRouterIsRefusedAndTheFirstStaysInstalled)
{
    TForm other(nullptr);
    try {
        new THelpRouter(&other);
        FAIL() << "a second router was created";
    } catch (const Exception& e) {
        EXPECT_EQ(typeid(e), typeid(Exception));
        EXPECT_EQ(e.Message(), "Multiple instances of THelpRouter are not allowed");
    }
    EXPECT_EQ(other.ComponentCount(), 0);
    EXPECT_TRUE(Request(HELP_FINDER, 0));
    EXPECT_EQ(Log().Count(), 1);
}

TEST_F(HelpRouter, RemovalPutsBackThePreviousHelpEventAndAllowsANewRouter)
{
    Form.reset();
    int previousCalls = 0;
    Application->OnHelp = [&](std::uint16_t, std::int32_t, bool&) {
        ++previousCalls;
        return false;
    };
    {
        TForm owner(nullptr);
        new THelpRouter(&owner);
    }
    bool callHelp = true;
    Application->OnHelp(HELP_FINDER, 0, callHelp);
    EXPECT_EQ(previousCalls, 1) << "the previous event is installed again";
    EXPECT_TRUE(callHelp);

    TForm owner(nullptr);
    EXPECT_NO_THROW(new THelpRouter(&owner));
}

TEST_F(HelpRouter, RemovalWithNoPreviousEventLeavesNone)
{
    Form.reset();
    EXPECT_FALSE(static_cast<bool>(Application->OnHelp));
}

struct THtmlCase {
    std::uint16_t Command;
    std::int32_t Data;
    bool Calls;
    UINT HHCommand;
    bool WithFile;
    ULONG_PTR HHData;
    bool ResultFollowsCall;
};

class HelpRouterHtmlTable : public HelpRouter, public testing::WithParamInterface<THtmlCase> {};

TEST_P(HelpRouterHtmlTable, CallsHtmlHelpAsTheTableSays)
{
    const auto& c = GetParam();
    for (HWND result : {StandInResult(), static_cast<HWND>(nullptr)}) {
        ASSERT_TRUE(HtmlHelpAvailable());
        Log().Reset();
        Log().SetResult(result);
        const bool shown = Request(c.Command, c.Data);
        if (!c.Calls) {
            EXPECT_EQ(Log().Count(), 0);
            EXPECT_FALSE(shown);
            continue;
        }
        ASSERT_EQ(Log().Count(), 1);
        const TStandInCall call = Log().Last();
        EXPECT_EQ(call.Window, nullptr);
        EXPECT_EQ(call.Command, c.HHCommand);
        EXPECT_EQ(call.Data, c.HHData);
        if (c.WithFile)
            EXPECT_STREQ(call.File, "Quorvel.chm");
        else
            EXPECT_TRUE(call.FileIsNull);
        EXPECT_EQ(shown, result != nullptr);
    }
    EXPECT_TRUE(WinHelpCalls.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Commands, HelpRouterHtmlTable,
    testing::Values(THtmlCase{HELP_CONTEXT, 30500, true, HH_HELP_CONTEXT, true, 30500, true},
                    THtmlCase{HELP_QUIT, 0, true, HH_CLOSE_ALL, false, 0, true},
                    THtmlCase{HELP_CONTENTS, 0, true, HH_DISPLAY_TOC, true, 0, true},
                    THtmlCase{HELP_FINDER, 0, true, HH_DISPLAY_TOC, true, 0, true},
                    THtmlCase{15, 0, true, HH_DISPLAY_TOC, true, 0, true},
                    THtmlCase{15, 3, true, HH_DISPLAY_INDEX, true, 0, true},
                    THtmlCase{HELP_KEY, 0x00401000, true, HH_DISPLAY_INDEX, true, 0x00401000, true},
                    THtmlCase{HELP_PARTIALKEY, 0x00402000, true, HH_DISPLAY_INDEX, true, 0x00402000, true},
                    THtmlCase{HELP_COMMAND, 0x00403000, false, 0, false, 0, false},
                    THtmlCase{HELP_SETPOPUP_POS, 0x00200010, false, 0, false, 0, false},
                    THtmlCase{0, 0, false, 0, false, 0, false},
                    THtmlCase{HELP_SETCONTENTS, 7, false, 0, false, 0, false}));

TEST_F(HelpRouter, ContentsFromTheApplicationOpensTheBareHelpFile)
{
    EXPECT_TRUE(Application->HelpCommand(HELP_FINDER, 0));
    ASSERT_EQ(Log().Count(), 1);
    EXPECT_EQ(Log().Last().Window, nullptr);
    EXPECT_STREQ(Log().Last().File, "Quorvel.chm");
    EXPECT_EQ(Log().Last().Command, HH_DISPLAY_TOC);
    EXPECT_EQ(Log().Last().Data, 0u);

    EXPECT_TRUE(Application->HelpContext(30500));
    EXPECT_EQ(Log().Last().Command, HH_HELP_CONTEXT);
    EXPECT_EQ(Log().Last().Data, 30500u);
}

TEST_F(HelpRouter, F1OnAFormOpensTheTopicOfItsHelpContext)
{
    Form->SetHelpContext(30500);
    Form->Show();
    ::SetForegroundWindow(Form->Handle());
    ::SetFocus(Form->Handle());
    ASSERT_EQ(::GetFocus(), Form->Handle());
    ::PostMessageA(Form->Handle(), WM_KEYDOWN, VK_F1, 0);
    Application->ProcessMessages();
    ASSERT_TRUE(HtmlHelpLoaded());
    ASSERT_EQ(Log().Count(), 1);
    EXPECT_EQ(Log().Last().Command, HH_HELP_CONTEXT);
    EXPECT_EQ(Log().Last().Data, 30500u);
    EXPECT_STREQ(Log().Last().File, "Quorvel.chm");
}

TEST_F(HelpRouter, HelpFileIsResolvedAndGivenTheCompiledExtension)
{
    Application->SetHelpFile("Guide.hlp");
    Request(HELP_FINDER, 0);
    EXPECT_STREQ(Log().Last().File, "Guide.chm");

    // The owner form's help file counts once its window exists.
    Form->SetHelpFile("C:\\Forms\\FormHelp.chm");
    Request(HELP_FINDER, 0);
    EXPECT_STREQ(Log().Last().File, "Guide.chm");
    Form->Handle();
    Request(HELP_FINDER, 0);
    EXPECT_STREQ(Log().Last().File, "C:\\Forms\\FormHelp.chm");

    Router->SetHelpfile("C:\\Docs\\Other.chm");
    for (int command : {HELP_FINDER, HELP_CONTEXT, HELP_KEY}) {
        Request(static_cast<std::uint16_t>(command), 1);
        EXPECT_STREQ(Log().Last().File, "C:\\Docs\\Other.chm");
    }
    Request(HELP_CONTEXTPOPUP, 9);
    EXPECT_STREQ(Log().Last().File, "C:\\Docs\\Other.chm::/CSHelp.txt");
}

TEST_F(HelpRouter, PopupRecordIsFilledAsTheLibraryExpects)
{
    ASSERT_TRUE(::SetCursorPos(300, 200));
    ASSERT_TRUE(HtmlHelpAvailable());
    Log().SetResult(nullptr);
    EXPECT_TRUE(Request(HELP_CONTEXTPOPUP, 30500)) << "a popup request succeeds whatever the library says";
    ASSERT_EQ(Log().Count(), 1);
    const TStandInCall call = Log().Last();
    EXPECT_EQ(call.Window, Application->Handle()) << "the owner form has no window yet";
    EXPECT_STREQ(call.File, "Quorvel.chm::/CSHelp.txt");
    EXPECT_EQ(call.Command, HH_DISPLAY_TEXT_POPUP);
    const TStandInPopup& p = call.Popup;
    ASSERT_TRUE(p.Present);
    EXPECT_EQ(p.Size, static_cast<int>(sizeof(void*) == 4 ? 52 : 72));
    EXPECT_EQ(p.Instance, 0u);
    EXPECT_EQ(p.StringId, 30500u);
    EXPECT_FALSE(p.TextIsNull);
    EXPECT_STREQ(p.Text, "");
    EXPECT_EQ(p.X, 300);
    EXPECT_EQ(p.Y, 200);
    EXPECT_EQ(p.Foreground, 0x1FFFFFFFu);
    EXPECT_EQ(p.Background, 0x1FFFFFFFu);
    for (LONG margin : p.Margins)
        EXPECT_EQ(margin, -1);
    EXPECT_FALSE(p.FontIsNull);
    EXPECT_STREQ(p.Font, "MS Sans Serif, 8");

    Form->Handle();
    Request(HELP_CONTEXTPOPUP, 30500);
    EXPECT_EQ(Log().Last().Window, Form->Handle());
}

TEST_F(HelpRouter, PopupGoesToTheRequestedPointOnceThenToTheCursor)
{
    ASSERT_TRUE(::SetCursorPos(320, 240));
    EXPECT_FALSE(Request(HELP_SETPOPUP_POS, static_cast<std::int32_t>((90u << 16) | 40u)));
    Request(HELP_CONTEXTPOPUP, 5);
    EXPECT_EQ(Log().Last().Popup.X, 40);
    EXPECT_EQ(Log().Last().Popup.Y, 90);
    Request(HELP_CONTEXTPOPUP, 5);
    EXPECT_EQ(Log().Last().Popup.X, 320);
    EXPECT_EQ(Log().Last().Popup.Y, 240);

    // Coordinates are signed; (0, 0) counts as no position.
    Request(HELP_SETPOPUP_POS, static_cast<std::int32_t>(0xFFF0FFFBu));
    Request(HELP_CONTEXTPOPUP, 5);
    EXPECT_EQ(Log().Last().Popup.X, -5);
    EXPECT_EQ(Log().Last().Popup.Y, -16);
    Request(HELP_SETPOPUP_POS, 0);
    Request(HELP_CONTEXTPOPUP, 5);
    EXPECT_EQ(Log().Last().Popup.X, 320);
    EXPECT_EQ(Log().Last().Popup.Y, 240);
}

TEST_F(HelpRouter, PopupTopicsNameIsRestoredAndTopicZeroNamesNoFile)
{
    Router->SetCHMPopupTopics("");
    Request(HELP_CONTEXTPOPUP, 12);
    EXPECT_STREQ(Log().Last().File, "Quorvel.chm::/CSHelp.txt");
    EXPECT_EQ(Router->CHMPopupTopics(), "CSHelp.txt");

    Router->SetCHMPopupTopics("Tips.txt");
    Request(HELP_CONTEXTPOPUP, 12);
    EXPECT_STREQ(Log().Last().File, "Quorvel.chm::/Tips.txt");

    Request(HELP_CONTEXTPOPUP, 0);
    EXPECT_TRUE(Log().Last().FileIsNull);
    EXPECT_EQ(Log().Last().Popup.StringId, 0u);
}

TEST_F(HelpRouter, MainShowTypeTurnsPopupsIntoTopics)
{
    Router->SetShowType(stMain);
    EXPECT_FALSE(Request(HELP_SETPOPUP_POS, 0x00200010));
    EXPECT_TRUE(HtmlHelpLoaded());
    EXPECT_EQ(Log().Count(), 0);
    EXPECT_TRUE(Request(HELP_CONTEXTPOPUP, 30500));
    ASSERT_EQ(Log().Count(), 1);
    EXPECT_EQ(Log().Last().Command, HH_HELP_CONTEXT);
    EXPECT_EQ(Log().Last().Data, 30500u);
    EXPECT_STREQ(Log().Last().File, "Quorvel.chm");

    Router->SetShowType(stPopup);
    Request(HELP_CONTEXTPOPUP, 30500);
    EXPECT_EQ(Log().Last().Command, HH_DISPLAY_TEXT_POPUP);
}

TEST_F(HelpRouter, QuitBeforeAnyHelpLoadsNothing)
{
    EXPECT_TRUE(Request(HELP_QUIT, 0));
    EXPECT_FALSE(HtmlHelpLoaded());
    EXPECT_EQ(::GetModuleHandleA("HHCTRL.OCX"), nullptr);

    Request(HELP_FINDER, 0);
    EXPECT_TRUE(Request(HELP_QUIT, 0));
    EXPECT_EQ(Log().Last().Command, HH_CLOSE_ALL);
    EXPECT_TRUE(Log().Last().FileIsNull);
}

TEST_F(HelpRouter, KeywordHelpShowsNothingAndTheFrameworkNeither)
{
    bool callHelp = true;
    EXPECT_FALSE(Request(HELP_COMMAND, 0x00403000, callHelp));
    EXPECT_FALSE(callHelp);
    EXPECT_EQ(Log().Count(), 0);
    EXPECT_FALSE(Application->HelpKeyword("Offsets"));
    EXPECT_EQ(Log().Count(), 0);
    EXPECT_TRUE(WinHelpCalls.empty());
}

#ifdef _WIN64
TEST_F(HelpRouter, KeywordReachesTheIndexWithItsWholeAddress)
{
    // A keyword placed above 4 GiB, where a 32-bit data word would lose it.
    void* block = ::VirtualAlloc(nullptr, 4096, MEM_RESERVE | MEM_COMMIT | MEM_TOP_DOWN, PAGE_READWRITE);
    ASSERT_NE(block, nullptr);
    const auto address = reinterpret_cast<std::intptr_t>(block);
    ASSERT_GT(static_cast<std::uintptr_t>(address), 0xFFFFFFFFu);
    std::memcpy(block, "Offsets", 8);

    EXPECT_TRUE(Request(HELP_KEY, address));
    ASSERT_EQ(Log().Count(), 1);
    EXPECT_EQ(Log().Last().Command, HH_DISPLAY_INDEX);
    EXPECT_EQ(Log().Last().Data, static_cast<ULONG_PTR>(address));
    ::VirtualFree(block, 0, MEM_RELEASE);
}
#endif

TEST_F(HelpRouter, WinHelpTypeOpensTheHlpFile)
{
    Router->SetHelpType(htWinhelp);
    Form->Handle();
    EXPECT_TRUE(Request(HELP_CONTEXT, 30500));
    ASSERT_EQ(WinHelpCalls.size(), 1u);
    EXPECT_EQ(WinHelpCalls[0].Window, Form->Handle());
    EXPECT_EQ(WinHelpCalls[0].File, "Quorvel.hlp");
    EXPECT_EQ(WinHelpCalls[0].Command, static_cast<UINT>(HELP_CONTEXT));
    EXPECT_EQ(WinHelpCalls[0].Data, 30500u);

    // Popup position and popup go to WinHelp untouched; the help library is
    // not needed.
    EXPECT_TRUE(Request(HELP_SETPOPUP_POS, 0x00200010));
    EXPECT_EQ(WinHelpCalls.back().Command, static_cast<UINT>(HELP_SETPOPUP_POS));
    EXPECT_EQ(WinHelpCalls.back().Data, 0x00200010u);
    Request(HELP_CONTEXTPOPUP, 8);
    EXPECT_EQ(WinHelpCalls.back().File, "Quorvel.hlp");
    EXPECT_FALSE(HtmlHelpLoaded());

    WinHelpResult = FALSE;
    EXPECT_FALSE(Request(HELP_FINDER, 0));

    // Command 0 is answered without a call, as stMain makes of a position request.
    const auto calls = WinHelpCalls.size();
    EXPECT_TRUE(Request(0, 0));
    Router->SetShowType(stMain);
    EXPECT_TRUE(Request(HELP_SETPOPUP_POS, 0x00200010));
    EXPECT_EQ(WinHelpCalls.size(), calls);
}

TEST_F(HelpRouter, MixedModeSendsPopupsToWinHelpAndTheRestToHtmlHelp)
{
    Router->SetHelpType(htMixedMode);
    Router->SetHelpfile("C:\\App\\Guide.chm");
    Router->SetCHMPopupTopics("Popups.HLP");
    Request(HELP_CONTEXTPOPUP, 77);
    ASSERT_EQ(WinHelpCalls.size(), 1u);
    EXPECT_EQ(WinHelpCalls[0].File, "C:\\App\\Popups.hlp");
    EXPECT_EQ(WinHelpCalls[0].Command, static_cast<UINT>(HELP_CONTEXTPOPUP));
    EXPECT_EQ(WinHelpCalls[0].Data, 77u);

    Router->SetCHMPopupTopics("D:\\Pop\\Popups.hlp");
    Request(HELP_CONTEXTPOPUP, 77);
    EXPECT_EQ(WinHelpCalls.back().File, "D:\\Pop\\Popups.hlp");

    Router->SetCHMPopupTopics("CSHelp.txt");
    Request(HELP_CONTEXTPOPUP, 77);
    EXPECT_EQ(WinHelpCalls.back().File, "C:\\App\\Guide.hlp");
    Request(HELP_SETPOPUP_POS, 0x00200010);
    EXPECT_EQ(WinHelpCalls.back().File, "C:\\App\\Guide.hlp");
    EXPECT_EQ(WinHelpCalls.size(), 4u);

    EXPECT_TRUE(Request(HELP_CONTEXT, 5));
    ASSERT_EQ(Log().Count(), 1);
    EXPECT_STREQ(Log().Last().File, "C:\\App\\Guide.chm");
    EXPECT_EQ(Log().Last().Command, HH_HELP_CONTEXT);
    Request(HELP_FINDER, 0);
    EXPECT_EQ(Log().Last().Command, HH_DISPLAY_TOC);
    EXPECT_EQ(WinHelpCalls.size(), 4u);
}

TEST_F(HelpRouter, HandlerThatClearsCallHelpEndsTheRouting)
{
    Router->OnHelp = [](std::uint16_t, std::int32_t, bool& callHelp) {
        callHelp = false;
        return true;
    };
    bool callHelp = true;
    EXPECT_TRUE(Request(HELP_FINDER, 0, callHelp));
    EXPECT_FALSE(callHelp);
    EXPECT_FALSE(HtmlHelpLoaded());
}

TEST_F(HelpRouter, SavedHelpEventIsAskedOnlyWhileCallHelpStaysSet)
{
    Form.reset();
    int savedCalls = 0;
    bool savedClears = false;
    Application->OnHelp = [&](std::uint16_t, std::int32_t, bool& callHelp) {
        ++savedCalls;
        callHelp = !savedClears;
        return savedClears;
    };
    TForm owner(nullptr);
    auto* router = new THelpRouter(&owner);
    router->SetHelpType(htHTMLhelp);
    bool routerClears = true;
    router->OnHelp = [&](std::uint16_t, std::int32_t, bool& callHelp) {
        callHelp = !routerClears;
        return false;
    };

    bool callHelp = true;
    EXPECT_FALSE(Request(HELP_FINDER, 0, callHelp));
    EXPECT_EQ(savedCalls, 0);

    routerClears = false;
    savedClears = true;
    EXPECT_TRUE(Request(HELP_FINDER, 0, callHelp));
    EXPECT_EQ(savedCalls, 1);
    EXPECT_FALSE(callHelp);
    EXPECT_FALSE(HtmlHelpLoaded());

    savedClears = false;
    EXPECT_TRUE(Request(HELP_FINDER, 0, callHelp));
    EXPECT_EQ(savedCalls, 2);
    EXPECT_EQ(Log().Count(), 1);
}

TEST_F(HelpRouter, HandlerThatLeavesCallHelpHasItsResultReplaced)
{
    int handled = 0;
    Router->OnHelp = [&](std::uint16_t command, std::int32_t data, bool&) {
        EXPECT_EQ(command, HELP_FINDER);
        EXPECT_EQ(data, 0);
        ++handled;
        return true;
    };
    ASSERT_TRUE(HtmlHelpAvailable());
    Log().SetResult(nullptr);
    bool callHelp = true;
    EXPECT_FALSE(Request(HELP_FINDER, 0, callHelp));
    EXPECT_EQ(handled, 1);
    EXPECT_FALSE(callHelp);

    // Without the library the handler's result stands and the framework's
    // own help is left to run.
    UnloadHtmlHelp();
    RemoveHelpLibrary();
    EXPECT_TRUE(Request(HELP_FINDER, 0, callHelp));
    EXPECT_TRUE(callHelp);
}

TEST_F(HelpRouter, MissingLibraryFallsThroughAndIsTriedAgain)
{
    UnloadHtmlHelp();
    RemoveHelpLibrary();
    bool callHelp = true;
    EXPECT_FALSE(Request(HELP_FINDER, 0, callHelp));
    EXPECT_TRUE(callHelp);
    EXPECT_FALSE(Request(HELP_CONTEXTPOPUP, 3, callHelp));
    EXPECT_TRUE(callHelp);
    EXPECT_FALSE(HtmlHelpLoaded());

    InstallHelpLibrary("HtmlHelpStandIn.dll");
    EXPECT_TRUE(Request(HELP_FINDER, 0, callHelp));
    EXPECT_FALSE(callHelp);
    EXPECT_EQ(Log().Count(), 1);
}

TEST_F(HelpRouter, LibraryWithoutEntryPointLeavesHelpToTheFramework)
{
    UnloadHtmlHelp();
    RemoveHelpLibrary();
    InstallHelpLibrary("HtmlHelpNoEntry.dll");
    bool callHelp = true;
    EXPECT_FALSE(Request(HELP_CONTEXT, 30500, callHelp));
    EXPECT_TRUE(callHelp);
    EXPECT_TRUE(HtmlHelpLoaded());
    // Closing help once the library is loaded takes the ordinary path.
    EXPECT_FALSE(Request(HELP_QUIT, 0, callHelp));
    EXPECT_TRUE(callHelp);
}

TEST_F(HelpRouter, PublishedPropertiesAreReadFromADescription)
{
    RegisterHelpRouter();
    Form.reset();
    TComponent root(nullptr);
    ReadComponentDescription(&root, R"(TComponent Root {
        THelpRouter HelpRouter1 {
            HelpType = htHTMLhelp
            ShowType = stMain
            Helpfile = "C:\\Docs\\Other.chm"
            CHMPopupTopics = "Tips.txt"
            ValidateID = true
        }
    })");
    auto* router = dynamic_cast<THelpRouter*>(root.FindComponent("HelpRouter1"));
    ASSERT_NE(router, nullptr);
    EXPECT_EQ(router->HelpType(), htHTMLhelp);
    EXPECT_EQ(router->ShowType(), stMain);
    EXPECT_EQ(router->Helpfile(), "C:\\Docs\\Other.chm");
    EXPECT_EQ(router->CHMPopupTopics(), "Tips.txt");
    EXPECT_TRUE(router->ValidateID());
    EXPECT_TRUE(Request(HELP_FINDER, 0));
    EXPECT_STREQ(Log().Last().File, "C:\\Docs\\Other.chm");
}

}  // namespace
