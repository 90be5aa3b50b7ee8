// The main menu on a real window: the bar's texts, shortcuts, mnemonics,
// rebuilding, help on items.

#include <gtest/gtest.h>

#include <string>

#include "framework/Application.h"
#include "framework/FormReader.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "tests/support/TestDriver.h"

using namespace TestDriver;

namespace {

// Keys pressed here reach only this test's windows.
[[maybe_unused]] const bool OnOwnDesktop = TestDriver::UsePrivateDesktop();

class TMenuForm : public TForm {
public:
    explicit TMenuForm(TComponent* owner) : TForm(owner)
    {
        Publish("CMenu", CMenu);
        Publish("MOpen", MOpen);
        Publish("MExit", MExit);
        Publish("MOpenClick", &TMenuForm::MOpenClick);
        Publish("MExitClick", &TMenuForm::MExitClick);
        RegisterFrameworkClasses();
        ReadComponentDescription(this, R"(TMenuForm MenuForm {
            Left = 200  Top = 200  Width = 400  Height = 300
            Caption = "Menus"
            Menu = CMenu
            TMainMenu CMenu {
                TMenuItem MFile {
                    Caption = "&File"
                    TMenuItem MOpen { Caption = "&Open..."  ShortCut = 16463  OnClick = MOpenClick  HelpContext = 120 }
                    TMenuItem N1 { Caption = "-" }
                    TMenuItem MExit { Caption = "E&xit"  OnClick = MExitClick }
                }
                TMenuItem MHelp {
                    Caption = "&Help"
                    TMenuItem MAbout { Caption = "&About..." }
                }
            }
        })");
    }
    void MOpenClick(TComponent*) { ++Opens; }
    void MExitClick(TComponent*) { ++Exits; }

    TMainMenu* CMenu = nullptr;
    TMenuItem* MOpen = nullptr;
    TMenuItem* MExit = nullptr;
    int Opens = 0;
    int Exits = 0;
};

std::string ItemText(HMENU menu, UINT position)
{
    char text[128] = {};
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

class MenusTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = new TMenuForm(nullptr);
        Form->Show();
        ASSERT_TRUE(Activate(Form->Handle()));
    }
    void TearDown() override { delete Form; }

    bool PumpUntil(const std::function<bool()>& done, DWORD ms = 3000)
    {
        return TestDriver::PumpUntil(done, ms, [] { Application->ProcessMessages(); });
    }

    TMenuForm* Form = nullptr;
};

}  // namespace

TEST_F(MenusTest, TheBarShowsCaptionsShortcutsAndSeparators)
{
    HMENU bar = GetMenu(Form->Handle());
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(ItemText(bar, 0), "&File");
    EXPECT_EQ(ItemText(bar, 1), "&Help");
    HMENU file = GetSubMenu(bar, 0);
    ASSERT_EQ(GetMenuItemCount(file), 3);
    EXPECT_EQ(ItemText(file, 0), "&Open...\tCtrl+O");
    EXPECT_EQ(GetMenuState(file, 1, MF_BYPOSITION) & MF_SEPARATOR, UINT(MF_SEPARATOR));
    EXPECT_EQ(ItemText(file, 2), "E&xit");
    EXPECT_EQ(GetMenuItemID(file, 0), Form->MOpen->Command());
}

TEST_F(MenusTest, ShortcutRunsTheItemThroughTheMessageLoop)
{
    PressKey('O', mdCtrl);
    EXPECT_TRUE(PumpUntil([&] { return Form->Opens == 1; }));
    EXPECT_EQ(Form->Exits, 0);
}

TEST_F(MenusTest, AltAndMnemonicsRunAnItem)
{
    PressKey('F', mdAlt);
    PressKey('X');
    EXPECT_TRUE(PumpUntil([&] { return Form->Exits == 1; }));
    EXPECT_EQ(Form->Opens, 0);
}

TEST_F(MenusTest, ADisabledItemIgnoresItsShortcut)
{
    Form->MOpen->SetEnabled(false);
    EXPECT_EQ(GetMenuState(GetSubMenu(GetMenu(Form->Handle()), 0), 0, MF_BYPOSITION) & MF_GRAYED, UINT(MF_GRAYED));
    PressKey('O', mdCtrl);
    PumpUntil([] { return false; }, 500);
    EXPECT_EQ(Form->Opens, 0);
}

TEST_F(MenusTest, ChangedItemsRebuildTheBarAndTheShortcuts)
{
    Form->MOpen->SetCaption("&Load...");
    Form->MOpen->SetShortCut(ShortCut('L', scCtrl));
    HMENU bar = GetMenu(Form->Handle());
    ASSERT_EQ(bar, Form->CMenu->Handle());
    EXPECT_EQ(ItemText(GetSubMenu(bar, 0), 0), "&Load...\tCtrl+L");
    PressKey('O', mdCtrl);
    PressKey('L', mdCtrl);
    EXPECT_TRUE(PumpUntil([&] { return Form->Opens == 1; }));
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(Form->Opens, 1) << "the old shortcut is gone";
}

TEST_F(MenusTest, GivingAWindowTheMenuItHasLeavesItsFrameAlone)
{
    int frameChanges = 0;
    const auto previous = Form->WindowProc;
    Form->WindowProc = [&](UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_NCCALCSIZE || msg == WM_WINDOWPOSCHANGING)
            ++frameChanges;
        return previous(msg, wParam, lParam);
    };
    Form->CMenu->SetWindow(Form->Handle());
    Form->WindowProc = previous;
    EXPECT_EQ(GetMenu(Form->Handle()), Form->CMenu->Handle());
    EXPECT_EQ(frameChanges, 0) << "the menu was taken off and put back";
}

TEST_F(MenusTest, DestroyingTheMenuTakesTheBarOffTheWindow)
{
    delete Form->CMenu;
    EXPECT_EQ(Form->Menu(), nullptr);
    EXPECT_EQ(Form->CMenu, nullptr);
    EXPECT_EQ(GetMenu(Form->Handle()), nullptr);
    PressKey('O', mdCtrl);
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(Form->Opens, 0);
}

TEST_F(MenusTest, HelpOnAMenuItemAsksForItsContext)
{
    std::vector<std::intptr_t> contexts;
    Application->OnHelp = [&](std::uint16_t command, std::intptr_t data, bool& callHelp) {
        if (command == HELP_CONTEXT)
            contexts.push_back(data);
        callHelp = false;
        return true;
    };
    HELPINFO info{};
    info.cbSize = sizeof info;
    info.iContextType = HELPINFO_MENUITEM;
    info.iCtrlId = Form->MOpen->Command();
    EXPECT_TRUE(SendMessageA(Form->Handle(), WM_HELP, 0, reinterpret_cast<LPARAM>(&info)));
    Application->OnHelp = nullptr;
    EXPECT_EQ(contexts, (std::vector<std::intptr_t>{120}));
}
