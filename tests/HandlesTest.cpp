#include "framework/Handles.h"

#include <gtest/gtest.h>

#include <string>

// Close reports the release itself; GlobalFree, FindClose and CloseHandle
// each tell success in a way of their own, so each kind is checked.
TEST(Handles, CloseTellsWhetherTheReleaseWorked)
{
    TGlobalHandle memory(::GlobalAlloc(GMEM_MOVEABLE, 16));
    ASSERT_TRUE(memory);
    EXPECT_TRUE(memory.Close());
    EXPECT_FALSE(memory);
    EXPECT_TRUE(memory.Close());

    char folder[MAX_PATH] = {};
    ASSERT_NE(::GetTempPathA(MAX_PATH, folder), 0u);
    const std::string path = std::string(folder) + "QuorvelHandlesTest.tmp";
    TFileHandle file(
        ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    ASSERT_TRUE(file);
    EXPECT_TRUE(file.Close());
    EXPECT_EQ(::GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);

    WIN32_FIND_DATAA data{};
    TFindHandle find(::FindFirstFileA((std::string(folder) + "*").c_str(), &data));
    ASSERT_TRUE(find);
    EXPECT_TRUE(find.Close());
    EXPECT_FALSE(find);
}

// Both report failure as INVALID_HANDLE_VALUE, not nullptr.
TEST(Handles, FailedSearchAndFailedOpenAreEmpty)
{
    WIN32_FIND_DATAA data{};
    const TFindHandle find(::FindFirstFileA("Q:\\no\\such\\folder\\*", &data));
    EXPECT_FALSE(find);
    const TFileHandle file(::CreateFileA("Q:\\no\\such\\file", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(file);
}
