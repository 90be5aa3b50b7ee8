// Files dropped on the running program's main window, the drop made inside
// its process as the shell makes it.

#include <gtest/gtest.h>

#include "tests/EndToEndData/DropSender.h"
#include "tests/EndToEndData/EndToEndSupport.h"
#include "tests/support/TestDriver.h"

using namespace TestDriver;
using namespace EndToEnd;

namespace {

// Keys and captures stay on a desktop of the test's own.
[[maybe_unused]] const bool OnOwnDesktop = TestDriver::UsePrivateDesktop();

class DroppedFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(FirstRun.Folder().empty()) << "the per-user folder could not be set aside";
        const char* const names[] = {"EndToEndDrop-a.bin", "EndToEndDrop-b.bin", "EndToEndDrop-c.bin"};
        for (int i = 0; i < 3; ++i) {
            Samples[i] = WriteSample(names[i], SampleBytes(static_cast<unsigned char>(0x30 + 0x50 * i), 700));
            ASSERT_FALSE(Samples[i].empty());
        }
        Program = TProcess::Start(QuorvelExePath());
        Main = WaitForMainWindow(Program);
        ASSERT_NE(Main, nullptr) << "no main window";
        Empty = SettledCapture(Main);
        ASSERT_GT(Empty.Width, 0) << "the empty window never settled";
    }

    void TearDown() override
    {
        Program.Close();
        for (const std::string& sample : Samples)
            if (!sample.empty())
                ::DeleteFileA(sample.c_str());
    }

    POINT Centre() const
    {
        RECT r{};
        ::GetClientRect(Main, &r);
        return {r.right / 2, r.bottom / 2};
    }

    // Opens the name through the open dialog; what the window then shows.
    TCapture OpenedThroughDialog(const std::string& path, const TCapture& before)
    {
        EXPECT_TRUE(OpenThroughDialog(Program, Main, path)) << path;
        EXPECT_TRUE(WaitForCaption(Main, path + " - Quorvel")) << WindowText(Main);
        return SettledCapture(Main, &before);
    }

    TFirstRun FirstRun;
    std::string Samples[3];
    TProcess Program;
    HWND Main = nullptr;
    TCapture Empty;
};

TEST_F(DroppedFiles, MainWindowAcceptsDroppedFiles)
{
    // The shell offers a drop only to a window with this style.
    EXPECT_TRUE(::GetWindowLongA(Main, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
}

TEST_F(DroppedFiles, OfThreeDroppedFilesOnlyTheFirstIsShown)
{
    TDropSender sender(Main);
    ASSERT_EQ(sender.Failure(), "");
    ASSERT_TRUE(sender.Drop({Samples[0], Samples[1], Samples[2]}, Centre())) << sender.Failure();
    EXPECT_TRUE(WaitForCaption(Main, Samples[0] + " - Quorvel")) << WindowText(Main);
    const TCapture dropped = SettledCapture(Main, &Empty);
    ASSERT_GT(dropped.Width, 0) << "the drop changed nothing on the screen";
    EXPECT_GT(dropped.Count(0x800080), 0u) << "no address column drawn";

    // The same file through the open dialog draws the same rows; a second
    // file between the two shows the captures tell files apart.
    const TCapture second = OpenedThroughDialog(Samples[1], dropped);
    ASSERT_GT(second.Width, 0) << "the second file changed nothing on the screen";
    const TCapture first = OpenedThroughDialog(Samples[0], second);
    ASSERT_GT(first.Width, 0);
    EXPECT_TRUE(SamePixels(first, dropped)) << "the dropped file's rows differ from the same file opened";
    EXPECT_TRUE(Program.Running());
}

TEST_F(DroppedFiles, ADropReplacesTheShownFileAndEachDropCounts)
{
    const TCapture third = OpenedThroughDialog(Samples[2], Empty);
    ASSERT_GT(third.Width, 0);

    TDropSender sender(Main);
    ASSERT_EQ(sender.Failure(), "");
    ASSERT_TRUE(sender.Drop({Samples[1], Samples[0]}, Centre())) << sender.Failure();
    EXPECT_TRUE(WaitForCaption(Main, Samples[1] + " - Quorvel")) << WindowText(Main);
    const TCapture second = SettledCapture(Main, &third);
    ASSERT_GT(second.Width, 0) << "the drop did not replace the shown rows";

    // A later drop of one name after a drop of two.
    ASSERT_TRUE(sender.Drop({Samples[2]}, {5, 5})) << sender.Failure();
    EXPECT_TRUE(WaitForCaption(Main, Samples[2] + " - Quorvel")) << WindowText(Main);
    EXPECT_TRUE(WaitForPixels(Main, third)) << "the rows are not those of the file dropped last";
}

}  // namespace
