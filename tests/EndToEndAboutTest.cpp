// Help, About... on the running program: what the dialog shows and how it
// closes. The version numbers and the copyright line come from the build
// (compile definitions) as the version resource does.

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "resources/ResourceIds.h"
#include "tests/EndToEndData/EndToEndSupport.h"
#include "tests/support/TestDriver.h"

using namespace TestDriver;
using namespace EndToEnd;

namespace {

// Keys and captures stay on a desktop of the test's own.
[[maybe_unused]] const bool OnOwnDesktop = TestDriver::UsePrivateDesktop();

std::string VersionLine()
{
    char text[64];
    std::snprintf(text, sizeof text, "Version %d.%d.%d (%d)", QUORVEL_VERSION_MAJOR, QUORVEL_VERSION_MINOR,
                  QUORVEL_VERSION_PATCH, QUORVEL_VERSION_TWEAK);
    return text;
}

class AboutBox : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(FirstRun.Folder().empty()) << "the per-user folder could not be set aside";
        Program = TProcess::Start(QuorvelExePath());
        Main = WaitForMainWindow(Program);
        ASSERT_NE(Main, nullptr) << "no main window";
        Hook = std::make_unique<TProgramHook>(Main);
        ASSERT_EQ(Hook->Failure(), "");
    }
    void TearDown() override { Program.Close(); }

    // Alt, H, A; the dialog that then shows, or nullptr.
    HWND OpenAbout()
    {
        ChooseMenuItem(Main, 'H', 'A');
        const HWND about =
            WaitForWindow(Program.Id(), [](HWND window) { return WindowText(window) == "About Quorvel"; });
        if (about)
            Activate(about);
        return about;
    }

    // The dialog closed and the program still runs with its main window.
    ::testing::AssertionResult ClosedBackToMain(HWND about)
    {
        if (!WaitForWindowGone(about))
            return ::testing::AssertionFailure() << "the dialog is still open";
        if (!Program.Running() || !::IsWindowVisible(Main))
            return ::testing::AssertionFailure() << "the program went with the dialog";
        return ::testing::AssertionSuccess();
    }

    TFirstRun FirstRun;
    TProcess Program;
    HWND Main = nullptr;
    // Reads the dialog's pixels in the program's process.
    std::unique_ptr<TProgramHook> Hook;
};

TEST_F(AboutBox, ShowsProductVersionCopyrightAndMakerWhereDesigned)
{
    const HWND about = OpenAbout();
    ASSERT_NE(about, nullptr) << "Alt, H, A showed no \"About Quorvel\"";

    struct {
        int Left, Top;
        std::string Text;
    } const expected[] = {
        {60, 8, "Quorvel"},
        {60, 24, VersionLine()},
        {60, 40, QUORVEL_COPYRIGHT},
        {4, 60, QUORVEL_BUILD_WORDS},
        {-1, 140, "Talmore"},
        {-1, 156, "14 Quarry Lane"},
        {-1, 172, "Ashford AB1 2CD"},
        {0, 188, "info@talmore.example"},
        {160, 188, "www.talmore.example"},
        {126, 212, "OK"},
    };
    for (const auto& item : expected) {
        const HWND child = ChildAt(about, item.Left, item.Top);
        if (!child) {
            ADD_FAILURE() << "nothing at " << item.Left << "," << item.Top << " for \"" << item.Text << "\"";
            continue;
        }
        EXPECT_EQ(WindowText(child), item.Text) << "at " << item.Left << "," << item.Top;
    }
    RECT client{};
    ::GetClientRect(about, &client);
    EXPECT_EQ(client.right, 328);
    EXPECT_EQ(client.bottom, 243);

    PressKey(VK_RETURN);
    EXPECT_TRUE(ClosedBackToMain(about));
}

TEST_F(AboutBox, OpensCentredOnTheMainWindowWithTheProgramsIcon)
{
    const HWND about = OpenAbout();
    ASSERT_NE(about, nullptr);
    const RECT a = WindowRect(about);
    const RECT m = WindowRect(Main);
    EXPECT_NEAR((a.left + a.right) / 2, (m.left + m.right) / 2, 1);
    EXPECT_NEAR((a.top + a.bottom) / 2, (m.top + m.bottom) / 2, 1);

    const HWND image = ChildAt(about, 12, 12);
    ASSERT_NE(image, nullptr) << "no icon at 12,12";
    const HMODULE program =
        ::LoadLibraryExA(QuorvelExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(program, nullptr);
    const HICON icon = static_cast<HICON>(::LoadImageA(program, MAKEINTRESOURCEA(IDI_MAINICON), IMAGE_ICON, 32, 32, 0));
    ASSERT_NE(icon, nullptr) << "the program has no icon resource";
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const std::uint32_t ground = (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face);
    const TCapture expected = IconOnGround(icon, 32, ground);
    ::DestroyIcon(icon);
    ::FreeLibrary(program);
    ASSERT_GT(expected.Width, 0);
    ASSERT_LT(expected.Count(ground), expected.Pixels.size()) << "the icon draws nothing";
    std::string difference;
    EXPECT_TRUE(WaitForPixels(ProgramPixels(*Hook), image, expected, 10000, &difference))
        << "the dialog does not show the program's icon: " << difference;

    PressKey(VK_RETURN);
    EXPECT_TRUE(ClosedBackToMain(about));
}

TEST_F(AboutBox, EnterClosesItEscapeDoesNotTheButtonDoes)
{
    HWND about = OpenAbout();
    ASSERT_NE(about, nullptr);
    PressKey(VK_RETURN);
    ASSERT_TRUE(ClosedBackToMain(about)) << "Enter";

    // Opened again: a new dialog that reads its texts afresh.
    about = OpenAbout();
    ASSERT_NE(about, nullptr) << "the second Alt, H, A showed no dialog";
    const HWND version = ChildAt(about, 60, 24);
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(WindowText(version), VersionLine());

    PressKey(VK_ESCAPE);
    EXPECT_FALSE(WaitForWindowGone(about, 1500)) << "Escape closed the dialog";

    const HWND ok = ChildAt(about, 126, 212);
    ASSERT_NE(ok, nullptr);
    ClickCentre(ok);
    EXPECT_TRUE(ClosedBackToMain(about)) << "a click on OK";

    about = OpenAbout();
    ASSERT_NE(about, nullptr) << "the third Alt, H, A showed no dialog";
    PressKey(VK_SPACE);
    EXPECT_TRUE(ClosedBackToMain(about)) << "space on the focused OK";
}

TEST_F(AboutBox, SystemMenuCloseClosesOnlyTheDialog)
{
    const HWND about = OpenAbout();
    ASSERT_NE(about, nullptr);
    PressKey(VK_F4, mdAlt);
    EXPECT_TRUE(ClosedBackToMain(about));
}

}  // namespace
