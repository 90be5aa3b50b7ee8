// Files dropped on the running program's main window, the drop made inside
// its process as the shell makes it.

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

class DroppedFiles : public RunningProgram {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(FirstRun.Folder().empty()) << "the per-user folder could not be set aside";
        const char* const names[] = {"EndToEndDrop-a.bin", "EndToEndDrop-b.bin", "EndToEndDrop-c.bin"};
        for (int i = 0; i < 3; ++i) {
            Samples[i] = WriteSample(names[i], SampleBytes(static_cast<unsigned char>(0x30 + 0x50 * i), 700));
            ASSERT_FALSE(Samples[i].empty());
        }
        StartProgram();
    }

    void TearDown() override
    {
        RunningProgram::TearDown();
        for (const std::string& sample : Samples)
            if (!sample.empty())
                ::DeleteFileA(sample.c_str());
    }

    // Opens the name through the open dialog; what the viewer then shows.
    TCapture OpenedThroughDialog(const std::string& path, const TCapture& before)
    {
        std::string failure;
        const TCapture shown = EndToEnd::OpenedThroughDialog(Program, Main, Viewer, Pixels, path, before, failure);
        EXPECT_EQ(failure, "");
        return shown;
    }

    std::string Samples[3];
};

TEST_F(DroppedFiles, MainWindowAcceptsDroppedFiles)
{
    // The shell offers a drop only to a window with this style.
    EXPECT_TRUE(::GetWindowLongA(Main, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
}

TEST_F(DroppedFiles, OfThreeDroppedFilesOnlyTheFirstIsShown)
{
    ASSERT_TRUE(Hook->Drop({Samples[0], Samples[1], Samples[2]}, ClientCentre(Main))) << Hook->Failure();
    EXPECT_TRUE(WaitForCaption(Main, Samples[0] + " - Quorvel")) << WindowText(Main);
    const TCapture dropped = SettledCapture(Pixels, Viewer, &Empty);
    ASSERT_GT(dropped.Width, 0) << "the drop changed nothing on the screen";
    EXPECT_GT(dropped.Count(0x800080), 0u) << "no address column drawn";

    // The same file through the open dialog draws the same rows; a second
    // file between the two shows the captures tell files apart.
    const TCapture second = OpenedThroughDialog(Samples[1], dropped);
    ASSERT_GT(second.Width, 0) << "the second file changed nothing on the screen";
    const TCapture first = OpenedThroughDialog(Samples[0], second);
    ASSERT_GT(first.Width, 0);
    const std::string difference = PixelDifference(dropped, first);
    if (!difference.empty()) {
        dropped.SaveBmp(TestExeFolder() + "\\EndToEndDrop-dropped.bmp");
        first.SaveBmp(TestExeFolder() + "\\EndToEndDrop-opened.bmp");
    }
    EXPECT_EQ(difference, "") << "the dropped file's rows (EndToEndDrop-dropped.bmp) differ from the same file "
                                 "opened (EndToEndDrop-opened.bmp)";
    EXPECT_TRUE(Program.Running());
}

TEST_F(DroppedFiles, ADropReplacesTheShownFileAndEachDropCounts)
{
    const TCapture third = OpenedThroughDialog(Samples[2], Empty);
    ASSERT_GT(third.Width, 0);

    ASSERT_TRUE(Hook->Drop({Samples[1], Samples[0]}, ClientCentre(Main))) << Hook->Failure();
    EXPECT_TRUE(WaitForCaption(Main, Samples[1] + " - Quorvel")) << WindowText(Main);
    const TCapture second = SettledCapture(Pixels, Viewer, &third);
    ASSERT_GT(second.Width, 0) << "the drop did not replace the shown rows";

    // A later drop of one name after a drop of two.
    ASSERT_TRUE(Hook->Drop({Samples[2]}, {5, 5})) << Hook->Failure();
    EXPECT_TRUE(WaitForCaption(Main, Samples[2] + " - Quorvel")) << WindowText(Main);
    std::string difference;
    EXPECT_TRUE(WaitForPixels(Pixels, Viewer, third, 10000, &difference))
        << "the rows are not those of the file dropped last: " << difference;
}

}  // namespace
