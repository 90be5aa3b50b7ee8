// A file the program cannot open, chosen in the open dialog of the running
// program: the error box, the window afterwards.

#include <gtest/gtest.h>

#include <memory>

#include "tests/EndToEndData/EndToEndSupport.h"
#include "tests/EndToEndData/ProgramFixture.h"
#include "tests/support/TestDriver.h"

using namespace TestDriver;
using namespace EndToEnd;

namespace {

// Keys and captures stay on a desktop of the test's own.
[[maybe_unused]] const bool OnOwnDesktop = TestDriver::UsePrivateDesktop();

class LockedFile : public RunningProgram {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(FirstRun.Folder().empty()) << "the per-user folder could not be set aside";
        Readable = WriteSample("EndToEndOpenError-readable.bin", SampleBytes(0x20, 600));
        Other = WriteSample("EndToEndOpenError-other.bin", SampleBytes(0x90, 600));
        Locked = WriteSample("EndToEndOpenError-locked.bin", SampleBytes(0x41, 600));
        ASSERT_FALSE(Readable.empty() || Other.empty() || Locked.empty());
        // Written to by the test: the program's read with read sharing only
        // must fail, while the dialog still sees the file.
        Lock.Reset(::CreateFileA(Locked.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(Lock);
        const TFileHandle probe(
            ::CreateFileA(Locked.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_FALSE(probe) << "the lock does not keep a reader out";
        LockError = ::GetLastError();

        StartProgram();
    }

    void TearDown() override
    {
        RunningProgram::TearDown();
        Lock.Reset();
        for (const std::string* path : {&Readable, &Other, &Locked})
            if (!path->empty())
                ::DeleteFileA(path->c_str());
    }

    std::string Readable, Other, Locked;
    TFileHandle Lock;
    DWORD LockError = 0;
};

TEST_F(LockedFile, ReportsTheOpenErrorKeepsTheCaptionAndEmptiesTheViewer)
{
    ASSERT_TRUE(OpenThroughDialog(Program, Main, Readable));
    ASSERT_TRUE(WaitForCaption(Main, Readable + " - Quorvel")) << WindowText(Main);
    const TCapture shown = SettledCapture(Pixels, Viewer, &Empty);
    ASSERT_GT(shown.Width, 0) << "the readable file changed nothing on the screen";

    ASSERT_TRUE(OpenThroughDialog(Program, Main, Locked)) << "the dialog did not take the locked file";
    const HWND box = WaitForDialog(Program.Id(), "Quorvel");
    ASSERT_NE(box, nullptr) << "no error box; caption " << WindowText(Main);
    std::string expected = "Cannot open file \"" + Locked + "\". " + SystemText(LockError);
    if (static_cast<unsigned char>(expected.back()) > '.')
        expected += '.';
    EXPECT_EQ(MessageBoxText(box), expected);
    const TCapture icon = MessageBoxIconPicture(Pixels, box);
    EXPECT_GT(icon.Width, 0) << "the error box shows no icon";
    EXPECT_EQ(WindowText(Main), Readable + " - Quorvel");
    // The box is modal to the program: its owner is the main window, which
    // takes no input meanwhile.
    EXPECT_EQ(::GetWindow(box, GW_OWNER), Main);
    EXPECT_FALSE(::IsWindowEnabled(Main)) << "the main window takes input behind the box";

    // A key sent to a box of another process may not reach it under Wine
    // without a window manager: OK by its command.
    ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(WaitForWindowGone(box)) << "OK did not close the error box";
    EXPECT_EQ(WindowText(Main), Readable + " - Quorvel");
    EXPECT_TRUE(::IsWindowEnabled(Main));
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    ASSERT_TRUE(::GetGUIThreadInfo(::GetWindowThreadProcessId(Main, nullptr), &thread));
    EXPECT_EQ(thread.hwndActive, Main) << "the main window is not active again";
    EXPECT_EQ(thread.hwndFocus, Viewer) << "the focus is not back on the viewer";
    // The very next key reaches the viewer.
    const TProgramHook::TKeySeen before = Hook->LastKeyDown();
    PressKey(VK_DOWN);
    for (int i = 0; i < 100 && Hook->LastKeyDown().Count == before.Count; ++i)
        Pause(50);
    const TProgramHook::TKeySeen down = Hook->LastKeyDown();
    EXPECT_GT(down.Count, before.Count) << "the program took no key";
    EXPECT_EQ(down.Window, Viewer);
    EXPECT_EQ(down.Key, static_cast<WPARAM>(VK_DOWN));
    std::string difference;
    EXPECT_TRUE(WaitForPixels(Pixels, Viewer, Empty, 10000, &difference))
        << "the viewer still shows rows after the failed load: " << difference;
    const TCapture errorIcon = ReferenceBoxIcon(MB_ICONERROR);
    EXPECT_EQ(PixelDifference(icon, errorIcon), "") << "not the error icon";
    EXPECT_FALSE(SamePixels(icon, ReferenceBoxIcon(MB_ICONWARNING)));

    // The program carries on: another file opens and shows.
    ASSERT_TRUE(OpenThroughDialog(Program, Main, Other));
    EXPECT_TRUE(WaitForCaption(Main, Other + " - Quorvel")) << WindowText(Main);
    const TCapture other = SettledCapture(Pixels, Viewer, &Empty);
    EXPECT_GT(other.Width, 0) << "the next file shows nothing";
    EXPECT_FALSE(SamePixels(other, shown));
}

}  // namespace
