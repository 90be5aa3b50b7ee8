#include "components/VxButtons.h"

#include "framework/Application.h"
#include "framework/FormReader.h"
#include "framework/FormWriter.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/AboutTestSupport.h"
#include "tests/support/TestDriver.h"

namespace {

// Focus and keys stay among this test's own windows.
[[maybe_unused]] const bool OnOwnDesktop = TestDriver::UsePrivateDesktop();

struct THelpCall {
    std::uint16_t Command;
    std::intptr_t Data;
};

class DialogButton : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterVxButton();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetName("F");
        Form->SetBounds(80, 80, 300, 160);
        Application->OnHelp = [this](std::uint16_t Command, std::intptr_t Data, bool& CallHelp) {
            Help.push_back({Command, Data});
            CallHelp = false;
            return true;
        };
    }
    void TearDown() override
    {
        Form.reset();
        Application->OnHelp = nullptr;
    }

    TVxButton* Add(const std::string& name, int left = 10)
    {
        auto* b = new TVxButton(Form.get());
        b->SetName(name);
        b->SetParent(Form.get());
        b->SetLeft(left);
        return b;
    }

    std::vector<std::string> Written(TVxButton* b)
    {
        std::vector<std::string> paths;
        for (const TFormProperty& p : WriteProperties(b))
            if (p.Path == "Cancel" || p.Path == "Caption" || p.Path == "Default" || p.Path == "ModalResult" ||
                p.Path == "Kind" || p.Path == "Style")
                paths.push_back(p.Path);
        return paths;
    }

    std::unique_ptr<TForm> Form;
    std::vector<THelpCall> Help;
};

struct KindCase {
    TVxButtonKind Kind;
    const char* Caption;
    TModalResult Result;
    bool Default;
    bool Cancel;
};

TEST_F(DialogButton, EachKindGivesItsStockSettings)
{
    const KindCase cases[] = {
        {bkOK, "OK", 1, true, false},           {bkCancel, "Cancel", 2, false, true},
        {bkHelp, "&Help", 0, false, false},     {bkYes, "&Yes", 6, true, false},
        {bkNo, "&No", 7, false, true},          {bkClose, "&Close", 0, false, false},
        {bkAbort, "Abort", 3, false, false},    {bkRetry, "&Retry", 4, false, false},
        {bkIgnore, "&Ignore", 5, false, false}, {bkAll, "&All", 8, false, false},
    };
    for (const KindCase& c : cases) {
        TVxButton b(nullptr);
        b.SetKind(c.Kind);
        EXPECT_EQ(b.Caption(), c.Caption);
        EXPECT_EQ(b.ModalResult(), c.Result) << c.Caption;
        EXPECT_EQ(b.Default(), c.Default) << c.Caption;
        EXPECT_EQ(b.Cancel(), c.Cancel) << c.Caption;
        EXPECT_EQ(b.Kind(), c.Kind) << c.Caption;
    }
}

TEST_F(DialogButton, NewButtonIsCustomAndGoingBackToCustomKeepsEverything)
{
    TVxButton b(nullptr);
    EXPECT_EQ(b.Kind(), bkCustom);
    EXPECT_EQ(b.ModalResult(), mrNone);
    EXPECT_FALSE(b.Default());
    EXPECT_FALSE(b.Cancel());
    EXPECT_EQ(b.Style(), bsAutoDetect);
    b.SetKind(bkOK);
    b.SetKind(bkCustom);
    EXPECT_EQ(b.Caption(), "OK");
    EXPECT_EQ(b.ModalResult(), mrOk);
    EXPECT_TRUE(b.Default());
    EXPECT_FALSE(b.Cancel());
    EXPECT_EQ(b.Kind(), bkCustom);
}

TEST_F(DialogButton, ReadingKindAfterAChangedResultTurnsItCustomForGood)
{
    TVxButton b(nullptr);
    b.SetKind(bkNo);
    b.SetModalResult(mrCancel);
    EXPECT_EQ(b.Kind(), bkCustom);
    b.SetModalResult(mrNo);
    EXPECT_EQ(b.Kind(), bkCustom);

    TVxButton unread(nullptr);
    unread.SetKind(bkNo);
    unread.SetModalResult(mrCancel);
    unread.SetModalResult(mrNo);
    EXPECT_EQ(unread.Kind(), bkNo);
}

TEST_F(DialogButton, SettingTheStoredKindAgainDoesNothing)
{
    TVxButton b(nullptr);
    b.SetKind(bkOK);
    b.SetModalResult(mrIgnore);
    b.SetKind(bkOK);
    EXPECT_EQ(b.ModalResult(), mrIgnore);
    EXPECT_EQ(b.StoredKind(), bkOK);
}

TEST_F(DialogButton, OwnCaptionKeepsKindAndIsTheOnlyRoleWritten)
{
    TVxButton* yes = Add("Yes");
    yes->SetKind(bkYes);
    yes->SetCaption("Sure");
    EXPECT_EQ(yes->Kind(), bkYes);
    EXPECT_EQ(Written(yes), (std::vector<std::string>{"Caption", "Kind"}));

    TVxButton* stock = Add("Stock");
    stock->SetKind(bkYes);
    EXPECT_EQ(Written(stock), (std::vector<std::string>{"Kind"}));

    TVxButton* custom = Add("Custom");
    custom->SetCaption("Go");
    custom->SetModalResult(mrRetry);
    custom->SetCancel(true);
    custom->SetStyle(bsNew);
    EXPECT_EQ(Written(custom), (std::vector<std::string>{"Caption", "Cancel", "ModalResult", "Style"}));
}

TEST_F(DialogButton, DescriptionKeepsAStoredCaptionOverTheKindsOwn)
{
    ReadComponentDescription(Form.get(), R"(TForm F {
        TVxButton Stop { Caption = "Stop it" Kind = bkCancel }
        TVxButton Plain { Kind = bkCancel }
    })");
    auto* stop = dynamic_cast<TVxButton*>(Form->FindComponent("Stop"));
    auto* plain = dynamic_cast<TVxButton*>(Form->FindComponent("Plain"));
    ASSERT_TRUE(stop && plain);
    EXPECT_EQ(stop->Caption(), "Stop it");
    EXPECT_TRUE(stop->Cancel());
    EXPECT_EQ(stop->ModalResult(), mrCancel);
    EXPECT_EQ(stop->Kind(), bkCancel);
    EXPECT_EQ(plain->Caption(), "Cancel");
    // Outside loading the kind's caption replaces one's own.
    stop->SetKind(bkOK);
    EXPECT_EQ(stop->Caption(), "OK");
}

TEST_F(DialogButton, WrittenButtonsReadBackTheSame)
{
    TVxButton* yes = Add("Yes", 10);
    yes->SetKind(bkYes);
    yes->SetCaption("Sure");
    TVxButton* no = Add("No", 90);
    no->SetKind(bkNo);
    no->SetModalResult(mrAbort);
    TVxButton* help = Add("Help", 170);
    help->SetKind(bkHelp);
    help->SetStyle(bsWin31);
    const TFormNode written = WriteComponentTree(Form.get());
    const std::string text = WriteFormDescription(written);

    TForm copy(nullptr);
    ReadComponentDescription(&copy, text);
    auto* readYes = dynamic_cast<TVxButton*>(copy.FindComponent("Yes"));
    auto* readNo = dynamic_cast<TVxButton*>(copy.FindComponent("No"));
    auto* readHelp = dynamic_cast<TVxButton*>(copy.FindComponent("Help"));
    ASSERT_TRUE(readYes && readNo && readHelp) << text;
    EXPECT_EQ(readYes->Caption(), "Sure");
    EXPECT_EQ(readYes->Kind(), bkYes);
    EXPECT_TRUE(readYes->Default());
    // Written as the custom button it had turned into.
    EXPECT_EQ(readNo->Kind(), bkCustom);
    EXPECT_EQ(readNo->ModalResult(), mrAbort);
    EXPECT_TRUE(readNo->Cancel());
    EXPECT_EQ(readNo->Caption(), "&No");
    EXPECT_EQ(readHelp->Kind(), bkHelp);
    EXPECT_EQ(readHelp->Style(), bsWin31);
    EXPECT_EQ(WriteComponentTree(&copy), written) << text;
}

TEST_F(DialogButton, HelpButtonAsksForTheFormsContextAndLeavesTheFormOpen)
{
    Form->SetHelpContext(30500);
    TVxButton* help = Add("Help");
    help->SetKind(bkHelp);
    int clicks = 0;
    help->OnClick = [&](TComponent*) { ++clicks; };
    TVxButton* close = Add("Close", 100);
    close->SetKind(bkClose);
    close->OnClick = [&](TComponent*) { ++clicks; };
    bool stillOpen = false;
    about_test::TModalScript script({
        [&] { SendMessageA(help->Handle(), BM_CLICK, 0, 0); },
        [&] { stillOpen = about_test::ModalForm() == Form.get() && Form->ModalResult() == mrNone; },
        [&] { SendMessageA(close->Handle(), BM_CLICK, 0, 0); },
    });
    EXPECT_EQ(Form->ShowModal(), mrCancel);
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(Help.size(), 1u);
    EXPECT_EQ(Help[0].Command, HELP_CONTEXT);
    EXPECT_EQ(Help[0].Data, 30500);
    EXPECT_EQ(clicks, 0);
}

TEST_F(DialogButton, HelpAndCloseWithNothingToActOnClickAsUsual)
{
    TVxButton* help = Add("Help");
    help->SetKind(bkHelp);
    help->SetHelpContext(0);
    int clicks = 0;
    help->OnClick = [&](TComponent*) { ++clicks; };
    SendMessageA(help->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(Help.empty());

    // A button's own context comes before the form's.
    Form->SetHelpContext(1);
    help->SetHelpContext(42);
    SendMessageA(help->Handle(), BM_CLICK, 0, 0);
    ASSERT_EQ(Help.size(), 1u);
    EXPECT_EQ(Help[0].Data, 42);

    TVxButton loose(nullptr);
    loose.SetKind(bkClose);
    loose.OnClick = [&](TComponent*) { ++clicks; };
    loose.Click();
    EXPECT_EQ(clicks, 2);
}

TEST_F(DialogButton, BecomingActiveDefaultOnlyRepaints)
{
    TVxButton* ok = Add("Ok", 10);
    ok->SetKind(bkOK);
    auto* other = new TButton(Form.get());
    other->SetParent(Form.get());
    other->SetLeft(100);
    Form->Show();
    other->SetFocus();
    EXPECT_FALSE(ok->IsActiveDefault());
    EXPECT_EQ(GetWindowLongA(ok->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_EQ(GetWindowLongA(other->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    ok->SetFocus();
    EXPECT_TRUE(ok->IsActiveDefault());
    EXPECT_EQ(GetWindowLongA(other->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
}

}  // namespace
