#include "components/VXControls.h"

#include "framework/FormReader.h"

#include <shellapi.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/AboutTestSupport.h"
#include "tests/support/TestDriver.h"

namespace {

// The real mouse press reaches only this test's windows.
[[maybe_unused]] const bool OnOwnDesktop = TestDriver::UsePrivateDesktop();

using about_test::TCapture;

struct TShellCall {
    HWND Owner;
    std::string Verb;
    bool HasFile;
    std::string File;
    bool HasParameters;
    bool HasDirectory;
    INT Show;
};

std::vector<TShellCall>& ShellCalls()
{
    static std::vector<TShellCall> calls;
    return calls;
}

HINSTANCE WINAPI RecordShell(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show)
{
    ShellCalls().push_back(TShellCall{owner, verb ? verb : "", file != nullptr, file ? file : "", parameters != nullptr,
                                      directory != nullptr, show});
    // As the shell answers when no program is registered for the scheme.
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_NOASSOC));
}

class LinkLabel : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterLinkLabel();
        ShellCalls().clear();
        VxShellExecute = RecordShell;
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(100, 100, 300, 200);
        Form->SetColor(clWhite);
        Link = new TVxLinkLabel(Form.get());
        Link->SetParent(Form.get());
        Link->SetBounds(10, 10, 0, 0);
        Link->SetCaption("www.example.test");
        Link->SetLinkTo("https://www.example.test/a?b=1&c=2");
        Link->OnClick = [this](TComponent*) { ++Clicks; };
        Link->OnDblClick = [this](TComponent*) { ++DoubleClicks; };
        Link->OnMouseDown = [this](TComponent*, int, TShiftState, int, int) { ++MouseDowns; };
    }
    void TearDown() override
    {
        Form.reset();
        VxShellExecute = ShellExecuteA;
    }

    void Send(UINT msg, WPARAM wParam) { SendMessageA(Link->Handle(), msg, wParam, MAKELPARAM(3, 3)); }

    std::unique_ptr<TForm> Form;
    TVxLinkLabel* Link = nullptr;
    int Clicks = 0;
    int DoubleClicks = 0;
    int MouseDowns = 0;
};

TEST_F(LinkLabel, NewLabelIsUnderlinedBlueWithHandCursorAndLiteralAmpersand)
{
    TVxLinkLabel plain(nullptr);
    EXPECT_EQ(plain.Font().Style(), TFontStyles{fsUnderline});
    EXPECT_EQ(plain.LinkColor(), clBlue);
    EXPECT_EQ(plain.Font().Color(), clBlue);
    EXPECT_EQ(plain.Cursor(), crHandPoint);
    EXPECT_FALSE(plain.ShowAccelChar());

    Link->SetCaption("Q&A");
    TWindowDC screen(nullptr);
    TSelectObject font(screen.Get(), Link->Font().Handle());
    SIZE size{};
    GetTextExtentPoint32A(screen.Get(), "Q&A", 3, &size);
    EXPECT_EQ(Link->Width(), size.cx);

    Link->Handle();
    TCapture shot(*Link);
    // The underline is one unbroken blue run nearly as wide as the text.
    EXPECT_GE(shot.LongestRun(RGB(0, 0, 255)), size.cx - 2);
    EXPECT_EQ(shot.Count(RGB(0, 0, 0)), 0);
}

TEST_F(LinkLabel, LinkColorIsDrawnButFontColourDoesNotChangeIt)
{
    Link->Handle();
    Link->SetLinkColor(clRed);
    EXPECT_EQ(Link->Font().Color(), clRed);
    {
        TCapture shot(*Link);
        EXPECT_GT(shot.Count(RGB(255, 0, 0)), 10);
        EXPECT_EQ(shot.Count(RGB(0, 0, 255)), 0);
    }
    Link->Font().SetColor(clGreen);
    EXPECT_EQ(Link->LinkColor(), clRed);
    TCapture shot(*Link);
    EXPECT_GT(shot.Count(RGB(0, 128, 0)), 10);
    EXPECT_EQ(shot.Count(RGB(255, 0, 0)), 0);
}

TEST_F(LinkLabel, PressOpensTheTargetOnceWithoutCaptureMouseDownOrClick)
{
    Send(WM_LBUTTONDOWN, MK_LBUTTON);
    EXPECT_NE(GetCapture(), Link->Handle());
    Send(WM_LBUTTONUP, 0);
    ASSERT_EQ(ShellCalls().size(), 1u);
    const TShellCall& call = ShellCalls()[0];
    EXPECT_EQ(call.Owner, GetDesktopWindow());
    EXPECT_EQ(call.Verb, "open");
    EXPECT_TRUE(call.HasFile);
    EXPECT_EQ(call.File, "https://www.example.test/a?b=1&c=2");
    EXPECT_FALSE(call.HasParameters);
    EXPECT_FALSE(call.HasDirectory);
    EXPECT_EQ(call.Show, SW_SHOWNORMAL);
    EXPECT_EQ(Clicks, 0);
    EXPECT_EQ(MouseDowns, 0);
}

TEST_F(LinkLabel, EmptyTargetIsStillHandedToTheShell)
{
    Link->SetLinkTo("");
    Send(WM_LBUTTONDOWN, MK_LBUTTON);
    ASSERT_EQ(ShellCalls().size(), 1u);
    EXPECT_TRUE(ShellCalls()[0].HasFile);
    EXPECT_EQ(ShellCalls()[0].File, "");
}

TEST_F(LinkLabel, DoubleClickOpensOnceAndRunsOnDblClick)
{
    Send(WM_LBUTTONDOWN, MK_LBUTTON);
    Send(WM_LBUTTONUP, 0);
    Send(WM_LBUTTONDBLCLK, MK_LBUTTON);
    Send(WM_LBUTTONUP, 0);
    EXPECT_EQ(ShellCalls().size(), 1u);
    EXPECT_EQ(DoubleClicks, 1);
    EXPECT_EQ(Clicks, 0);
}

TEST_F(LinkLabel, RealMousePressOnTheLabelOpensTheLink)
{
    Form->Show();
    about_test::ProcessMessages();
    RECT r{};
    GetWindowRect(Link->Handle(), &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ASSERT_EQ(SendInput(2, input, sizeof(INPUT)), 2u);
    for (int i = 0; i < 50 && ShellCalls().empty(); ++i) {
        Sleep(10);
        about_test::ProcessMessages();
    }
    EXPECT_EQ(ShellCalls().size(), 1u);
    EXPECT_EQ(Clicks, 0);
}

TEST_F(LinkLabel, DescriptionSetsTargetButNotAccelCharHandling)
{
    ReadComponentDescription(Form.get(), R"(TForm F {
        TVxLinkLabel Mail { Caption = "a@b.test" LinkTo = "mailto:a@b.test" LinkColor = clPurple }
    })");
    auto* mail = dynamic_cast<TVxLinkLabel*>(Form->FindComponent("Mail"));
    ASSERT_NE(mail, nullptr);
    EXPECT_EQ(mail->LinkTo(), "mailto:a@b.test");
    EXPECT_EQ(mail->Font().Color(), clPurple);
    TForm other(nullptr);
    EXPECT_THROW(ReadComponentDescription(&other, R"(TForm G { TVxLinkLabel L { ShowAccelChar = true } })"),
                 EReadError);
}

}  // namespace
