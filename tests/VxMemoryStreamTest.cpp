#include "hexview/VxMemoryStream.h"

#include <gtest/gtest.h>

#include <cstring>

#include "framework/Exceptions.h"

#ifdef _WIN32
#include "tests/HexViewTestSupport.h"
#include "tests/support/TestDriver.h"
#endif

namespace {

TEST(MemoryStream, SetSizeKeepsWhatFitsAndClearReleases)
{
    TVxMemoryStream stream;
    EXPECT_EQ(stream.Memory(), nullptr);
    stream.SetSize(4);
    std::memcpy(const_cast<std::uint8_t*>(stream.Memory()), "\x01\x02\x03\x04", 4);
    stream.SetSize(10);
    ASSERT_EQ(stream.Size(), 10);
    EXPECT_EQ(std::memcmp(stream.Memory(), "\x01\x02\x03\x04", 4), 0);
    stream.SetSize(2);
    ASSERT_EQ(stream.Size(), 2);
    EXPECT_EQ(std::memcmp(stream.Memory(), "\x01\x02", 2), 0);
    stream.Clear();
    EXPECT_EQ(stream.Memory(), nullptr);
    EXPECT_EQ(stream.Size(), 0);
    stream.SetSize(3);
    stream.SetSize(0);
    EXPECT_EQ(stream.Memory(), nullptr);
}

#ifdef _WIN32

using hexviewtest::PatternBytes;
using hexviewtest::TScratchFolder;

std::string FullPath(const std::string& name)
{
    char buffer[MAX_PATH];
    const DWORD length = ::GetFullPathNameA(name.c_str(), MAX_PATH, buffer, nullptr);
    return std::string(buffer, length);
}

using TestDriver::SystemText;

TEST(MemoryStream, LoadsTheWholeFile)
{
    TScratchFolder folder;
    const auto bytes = PatternBytes(300000);
    TVxMemoryStream stream;
    stream.LoadFromFile(folder.Write("data.bin", bytes));
    ASSERT_EQ(stream.Size(), 300000);
    EXPECT_EQ(std::memcmp(stream.Memory(), bytes.data(), bytes.size()), 0);

    stream.LoadFromFile(folder.Write("empty.bin", {}));
    EXPECT_EQ(stream.Size(), 0);
    EXPECT_EQ(stream.Memory(), nullptr);
}

TEST(MemoryStream, FileHeldForWritingByAnotherProcessCannotBeOpened)
{
    TScratchFolder folder;
    const std::string name = folder.Write("held.bin", PatternBytes(10));
    TVxMemoryStream stream;
    stream.SetSize(5);
    hexviewtest::THeldFile held(name);
    try {
        stream.LoadFromFile(name);
        FAIL() << "loaded a file held for writing";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(), "Cannot open file \"" + FullPath(name) + "\". " + SystemText(ERROR_SHARING_VIOLATION));
    }
    EXPECT_EQ(stream.Size(), 0);
    EXPECT_EQ(stream.Memory(), nullptr);
}

TEST(MemoryStream, RelativeNameIsExpandedInTheMessage)
{
    TScratchFolder folder;
    char previous[MAX_PATH];
    ::GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(::SetCurrentDirectoryA(folder.Path().string().c_str()));
    TVxMemoryStream stream;
    std::string message;
    try {
        stream.LoadFromFile("no such file.bin");
    } catch (const EFOpenError& e) {
        message = e.Message();
    }
    ::SetCurrentDirectoryA(previous);
    EXPECT_EQ(message,
              "Cannot open file \"" + folder.File("no such file.bin") + "\". " + SystemText(ERROR_FILE_NOT_FOUND));
}

TEST(MemoryStream, FilesOf2GiBOrMoreAreRefusedBeforeAllocating)
{
    TScratchFolder folder;
    for (const std::int64_t size : {MaxLoadableSize, MaxLoadableSize + 4096, std::int64_t{5} << 30}) {
        const std::string name = folder.WriteSparse("huge.bin", size);
        TVxMemoryStream stream;
        stream.SetSize(16);
        try {
            stream.LoadFromFile(name);
            FAIL() << "loaded " << size << " bytes";
        } catch (const EFOpenError& e) {
            EXPECT_NE(e.Message().find("\"" + FullPath(name) + "\""), std::string::npos) << e.Message();
            EXPECT_NE(e.Message().find(std::to_string(size)), std::string::npos) << e.Message();
        }
        EXPECT_EQ(stream.Memory(), nullptr);
        EXPECT_EQ(stream.Size(), 0);
    }
}

TEST(MemoryStream, JustBelow2GiBIsNotRefusedForItsSize)
{
    // Allocation may fail in a 32-bit process; refusal for size may not.
    TScratchFolder folder;
    const std::string name = folder.WriteSparse("big.bin", MaxLoadableSize - 1);
    TVxMemoryStream stream;
    try {
        stream.LoadFromFile(name);
        EXPECT_EQ(stream.Size(), MaxLoadableSize - 1);
        EXPECT_EQ(stream.Memory()[MaxLoadableSize - 2], 0);
    } catch (const EOutOfMemory& e) {
        EXPECT_EQ(e.Message(), "Out of memory while expanding memory stream");
        EXPECT_EQ(stream.Memory(), nullptr);
    }
}

TEST(MemoryStream, ShortReadIsAStreamReadError)
{
    // Kernel attribute files claim a page of size but deliver a few bytes.
    const char* shortFile = "Z:\\sys\\kernel\\mm\\transparent_hugepage\\enabled";
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(shortFile, GetFileExInfoStandard, &data) || data.nFileSizeLow == 0)
        GTEST_SKIP() << "no file with a size longer than its contents";
    TVxMemoryStream stream;
    try {
        stream.LoadFromFile(shortFile);
        FAIL() << "short read not noticed";
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), "Stream read error");
    }
    EXPECT_EQ(stream.Memory(), nullptr);
    EXPECT_EQ(stream.Size(), 0);
}

#endif

}  // namespace
