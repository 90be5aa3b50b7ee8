#include "components/FVXAbout.h"

#include "components/VXAbout.h"
#include "framework/Application.h"
#include "framework/FormReader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/AboutTestSupport.h"
#include "tests/support/TestDriver.h"
#include "tests/VersionResourceBuilder.h"

namespace {

// Keys go to the focused window, which must be this test's own.
[[maybe_unused]] const bool OnOwnDesktop = TestDriver::UsePrivateDesktop();

// This program's version resource: 1.7.0.22, flags DEBUG, PRIVATE and
// SPECIAL with PRIVATE outside the mask; and the About form's description.

struct TBounds {
    const char* Name;
    int Left, Top, Width, Height;
};

TEST(AboutForm, DescriptionGivesTheDialogItsLayout)
{
    RegisterAboutComponents();
    TVXAboutForm form(nullptr);
    EXPECT_EQ(form.BorderStyle(), bsDialog);
    EXPECT_EQ(form.BorderIcons(), TBorderIcons{biSystemMenu});
    EXPECT_EQ(form.Position(), poMainFormCenter);
    EXPECT_FALSE(form.Scaled());
    EXPECT_EQ(form.HelpContext(), 30500);
    EXPECT_EQ(form.Font().Name(), "MS Shell Dlg");
    EXPECT_EQ(form.Font().Height(), -11);
    EXPECT_EQ(form.Color(), clBtnFace);

    HWND window = form.Handle();
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 328);
    EXPECT_EQ(client.bottom, 243);
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));

    const TBounds bounds[] = {
        {"Bevel1", 4, 4, 48, 48},      {"CIcon", 12, 12, 32, 32},       {"CProduct", 60, 8, 261, 13},
        {"CVersion", 60, 24, 261, 13}, {"CCopyright", 60, 40, 261, 13}, {"CComment", 4, 60, 321, 13},
        {"Label2", -1, 140, 329, 13},  {"Label3", -1, 156, 329, 13},    {"Label4", -1, 172, 329, 13},
        {"CMailURL", 0, 188, 165, 13}, {"CWebURL", 160, 188, 165, 13},  {"BtnOk", 126, 212, 75, 25},
    };
    for (const TBounds& b : bounds) {
        auto* c = dynamic_cast<TControl*>(form.FindComponent(b.Name));
        ASSERT_NE(c, nullptr) << b.Name;
        EXPECT_EQ(c->Parent(), &form) << b.Name;
        EXPECT_EQ(c->Left(), b.Left) << b.Name;
        EXPECT_EQ(c->Top(), b.Top) << b.Name;
        EXPECT_EQ(c->Width(), b.Width) << b.Name;
        EXPECT_EQ(c->Height(), b.Height) << b.Name;
    }
    EXPECT_EQ(form.BtnOk->Kind(), bkOK);
    EXPECT_EQ(form.BtnOk->Caption(), "OK");
    EXPECT_TRUE(form.BtnOk->Default());
    EXPECT_FALSE(form.BtnOk->Cancel());
    EXPECT_EQ(form.BtnOk->TabOrder(), 0);
    EXPECT_EQ(form.CComment->Font().Color(), clMaroon);
    EXPECT_TRUE(form.CComment->Font().Style().Contains(fsBold));
    EXPECT_EQ(form.CComment->Alignment(), taCenter);
    EXPECT_TRUE(form.CMailURL->LinkTo().starts_with("mailto:"));
    EXPECT_NE(form.CMailURL->LinkTo().find(form.CMailURL->Caption()), std::string::npos);
    EXPECT_TRUE(form.CWebURL->LinkTo().starts_with("https://"));
    EXPECT_TRUE(form.CIcon->Stretch() && form.CIcon->Center() && form.CIcon->AutoSize());
}

TEST(AboutForm, CreationFillsInTitleVersionLinesIconAndBuildType)
{
    RegisterAboutComponents();
    TVXAboutForm form(nullptr);
    EXPECT_EQ(form.Caption(), "About Quorvel");
    EXPECT_EQ(form.CProduct->Caption(), "Quorvel");
    EXPECT_EQ(form.CVersion->Caption(), "Version 1.7.0 (22)");
    EXPECT_EQ(form.CCopyright->Caption(), "Copyright (C) 2024 Talmore");
    EXPECT_EQ(form.CComment->Caption(), "DEBUG SPECIAL ");
    ASSERT_FALSE(form.CIcon->Icon().Empty());
    EXPECT_NE(form.CIcon->Icon().Handle(), Application->Icon().Handle());
    EXPECT_EQ(form.CIcon->Icon().Width(), Application->Icon().Width());
}

struct TFlagCase {
    std::uint32_t Flags;
    std::uint32_t Mask;
    const char* Line;
};

TEST(AboutForm, BuildTypeLineNamesTheFlagsInsideTheMask)
{
    const TFlagCase cases[] = {
        {0x00, 0x3F, ""},
        {VS_FF_DEBUG | VS_FF_SPECIALBUILD, 0x3F, "DEBUG SPECIAL "},
        {VS_FF_DEBUG | VS_FF_PRERELEASE, VS_FF_PRERELEASE, "PRERELEASE "},
        {0x3F, 0x3F, "DEBUG PRERELEASE PRIVATE SPECIAL "},
        {VS_FF_PATCHED, 0x3F, ""},
        {VS_FF_INFOINFERRED, 0x3F, ""},
        {VS_FF_PRIVATEBUILD, 0x00, ""},
    };
    for (const TFlagCase& c : cases) {
        vrb::Fixed fixed;
        fixed.Words[6] = c.Mask;
        fixed.Words[7] = c.Flags;
        const TVxFileVersionInfo info(vrb::Serialize(vrb::Root(fixed, {}), true));
        EXPECT_EQ(BuildTypeLine(info.BuildFlags()), c.Line) << std::hex << c.Flags << " " << c.Mask;
    }
}

class AboutBox : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterAboutComponents();
        Application->OnHelp = [this](std::uint16_t Command, std::intptr_t Data, bool& CallHelp) {
            Help.push_back({Command, Data});
            CallHelp = false;
            return true;
        };
    }
    void TearDown() override { Application->OnHelp = nullptr; }

    std::vector<std::pair<std::uint16_t, std::intptr_t>> Help;
};

TEST_F(AboutBox, OpensTwiceReadingTheResourceEachTime)
{
    TVXAboutBox box(nullptr);
    std::vector<std::string> titles;
    std::vector<bool> readerOpen;
    auto look = [&] {
        TForm* form = about_test::ModalForm();
        titles.push_back(form ? form->Caption() : "none");
        readerOpen.push_back(VersionLabelReaderOpen());
        EXPECT_TRUE(form && IsWindowVisible(form->Handle()));
    };
    for (int i = 0; i < 2; ++i) {
        about_test::TModalScript script({look, [] { about_test::PostKey(VK_RETURN); }});
        box.Execute();
        EXPECT_EQ(script.StepsRun(), 2u);
        EXPECT_FALSE(VersionLabelReaderOpen());
        EXPECT_EQ(box.ComponentCount(), 0);
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"About Quorvel", "About Quorvel"}));
    EXPECT_EQ(readerOpen, (std::vector<bool>{true, true}));
}

TEST_F(AboutBox, EscapeDoesNotCloseAndF1AsksForTheDialogsHelp)
{
    TVXAboutBox box(nullptr);
    bool openAfterEscape = false;
    TModalResult result = -1;
    about_test::TModalScript script({
        [] { about_test::PostKey(VK_ESCAPE); },
        [&] {
            TForm* form = about_test::ModalForm();
            openAfterEscape = form && form->ModalResult() == mrNone && IsWindowVisible(form->Handle());
            about_test::PostKey(VK_F1);
        },
        [&] {
            auto* form = dynamic_cast<TVXAboutForm*>(about_test::ModalForm());
            ASSERT_NE(form, nullptr);
            EXPECT_EQ(GetFocus(), form->BtnOk->Handle());
            SendMessageA(form->BtnOk->Handle(), BM_CLICK, 0, 0);
            result = form->ModalResult();
        },
    });
    box.Execute();
    EXPECT_TRUE(openAfterEscape);
    ASSERT_EQ(Help.size(), 1u);
    EXPECT_EQ(Help[0].first, HELP_CONTEXT);
    EXPECT_EQ(Help[0].second, 30500);
    EXPECT_EQ(result, mrOk);
}

TEST_F(AboutBox, MainWindowDescriptionCanHoldTheAboutBox)
{
    TForm main(nullptr);
    ReadComponentDescription(&main, "TForm MainForm { TVXAboutBox CAbout { } }");
    EXPECT_NE(dynamic_cast<TVXAboutBox*>(main.FindComponent("CAbout")), nullptr);
}

}  // namespace
