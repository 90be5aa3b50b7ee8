#include "components/VXAbout.h"

#include "components/VXVerLabel.h"
#include "framework/Application.h"
#include "framework/Forms.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// This program has the About form's description but no version resource.

BOOL CALLBACK CollectVisible(HWND window, LPARAM list)
{
    if (IsWindowVisible(window))
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

std::vector<HWND> VisibleWindows()
{
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), CollectVisible, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::string ExecuteError(TVXAboutBox& box)
{
    try {
        box.Execute();
    } catch (const EVxFileVersionInfoError& e) {
        return e.Message();
    }
    return "no error";
}

TEST(AboutBoxWithoutVersion, ExecuteRaisesAndShowsNothingEveryTime)
{
    RegisterAboutComponents();
    TVXAboutBox box(nullptr);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(ExecuteError(box), "File contains no version information");
        EXPECT_EQ(box.ComponentCount(), 0);
        EXPECT_EQ(Screen->FormCount(), 0);
        EXPECT_TRUE(VisibleWindows().empty());
        EXPECT_FALSE(VersionLabelReaderOpen());
    }
}

TEST(AboutBoxWithoutVersion, VersionLabelLeavesTheErrorToItsCaller)
{
    TVXVersionLabel label(nullptr);
    EXPECT_THROW(label.SetPrefix("Version "), EVxFileVersionInfoError);
    EXPECT_EQ(label.Caption(), "");
    EXPECT_FALSE(VersionLabelReaderOpen());
}

}  // namespace
