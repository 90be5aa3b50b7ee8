// Files the running program cannot show and names that name no file, given
// to it as the open dialog and the shell give them: the message, the
// caption, the viewer afterwards, and the program carrying on.

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

// Kernel attribute files report a page of size and deliver a few bytes.
const char* const ShortFile = "Z:\\sys\\kernel\\mm\\transparent_hugepage\\enabled";

bool DeliversLessThanItsSize(const char* name)
{
    const TFileHandle file(::CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.Get(), &size) || size.QuadPart <= 0 || size.QuadPart > 65536)
        return false;
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    return ::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) && got < bytes.size();
}

std::wstring Widened(const std::string& ansi)
{
    const int length = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), length);
    return wide;
}

bool WriteWide(const std::wstring& path)
{
    const TFileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    return file && ::WriteFile(file.Get(), "bytes", 5, &written, nullptr) && written == 5;
}

class BadFiles : public RunningProgram {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(FirstRun.Folder().empty()) << "the per-user folder could not be set aside";
        Shown = WriteSample("EndToEndBadFiles-shown.bin", SampleBytes(0x20, 600));
        Next = WriteSample("EndToEndBadFiles-next.bin", SampleBytes(0x90, 600));
        ASSERT_FALSE(Shown.empty() || Next.empty());
        StartProgram();
    }

    void TearDown() override
    {
        RunningProgram::TearDown();
        for (const std::string& path : {Shown, Next, Gone})
            if (!path.empty())
                ::DeleteFileA(path.c_str());
        for (const std::wstring& path : WideMade)
            if (!::DeleteFileW(path.c_str()))
                ::RemoveDirectoryW(path.c_str());
    }

    // Opens the name through the open dialog; what the viewer then shows.
    TCapture Open(const std::string& path, const TCapture& before)
    {
        std::string failure;
        const TCapture shown = EndToEnd::OpenedThroughDialog(Program, Main, Viewer, Pixels, path, before, failure);
        EXPECT_EQ(failure, "");
        return shown;
    }

    // The caption took the name, so the viewer returned without an error;
    // it still shows `shown`.
    void ExpectOnlyTheCaptionChanged(const std::string& name, const TCapture& shown)
    {
        EXPECT_TRUE(WaitForCaption(Main, name + " - Quorvel")) << WindowText(Main);
        std::string difference;
        EXPECT_TRUE(WaitForPixels(Pixels, Viewer, shown, 10000, &difference)) << "the viewer changed: " << difference;
    }

    // A file in nested folders of the samples' folder whose name is longer
    // than the path limit; its full name.
    std::string WriteBeyondPathLimit()
    {
        std::string path = TestExeFolder() + "\\EndToEndBadFiles-long";
        for (char c = 'a';; ++c) {
            WideMade.insert(WideMade.begin(), L"\\\\?\\" + Widened(path));
            if (!::CreateDirectoryW(WideMade.front().c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
                return {};
            if (path.size() > MAX_PATH + 20)
                break;
            path += "\\" + std::string(90, c);
        }
        path += "\\long.bin";
        WideMade.insert(WideMade.begin(), L"\\\\?\\" + Widened(path));
        return WriteWide(WideMade.front()) ? path : std::string();
    }

    std::string Shown, Next, Gone;
    // Removed newest first: files before their folders.
    std::vector<std::wstring> WideMade;
};

TEST_F(BadFiles, AFileShorterThanItsSizeIsAReadErrorAndTheProgramCarriesOn)
{
    if (!DeliversLessThanItsSize(ShortFile))
        GTEST_SKIP() << "no file here reports a size longer than its contents";
    const TCapture shown = Open(Shown, Empty);
    ASSERT_GT(shown.Width, 0) << "the readable file changed nothing on the screen";

    // Dropped: Wine's open dialog does not look inside the kernel's folders.
    ASSERT_TRUE(Hook->Drop({std::string(ShortFile)}, ClientCentre(Main))) << Hook->Failure();
    const HWND box = WaitForDialog(Program.Id(), "Quorvel");
    ASSERT_NE(box, nullptr) << "no error box; caption " << WindowText(Main);
    EXPECT_EQ(MessageBoxText(box), "Stream read error.");
    EXPECT_EQ(WindowText(Main), Shown + " - Quorvel");
    ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(WaitForWindowGone(box)) << "OK did not close the error box";
    EXPECT_EQ(WindowText(Main), Shown + " - Quorvel");
    std::string difference;
    EXPECT_TRUE(WaitForPixels(Pixels, Viewer, Empty, 10000, &difference))
        << "the viewer still shows rows after the failed load: " << difference;

    const TCapture next = Open(Next, Empty);
    EXPECT_GT(next.Width, 0) << "the next file shows nothing";
    EXPECT_FALSE(SamePixels(next, shown));
}

TEST_F(BadFiles, NamesThatNameNoFileChangeOnlyTheCaption)
{
    const TCapture shown = Open(Shown, Empty);
    ASSERT_GT(shown.Width, 0) << "the readable file changed nothing on the screen";

    // The shell drops folders as it drops files.
    const std::string folder = TestExeFolder();
    ASSERT_TRUE(Hook->Drop({folder}, ClientCentre(Main))) << Hook->Failure();
    ExpectOnlyTheCaptionChanged(folder, shown);

    // Outside the ANSI code page: the program gets the name converted.
    TCapture current = shown;
    const std::wstring wide = Widened(TestExeFolder()) + L"\\EndToEndBadFiles-\u0416\u4E2D.bin";
    ASSERT_TRUE(WriteWide(wide));
    WideMade.insert(WideMade.begin(), wide);
    char ansi[MAX_PATH];
    BOOL lossy = FALSE;
    ASSERT_GT(::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, ansi, sizeof ansi, nullptr, &lossy), 0);
    ASSERT_TRUE(Hook->Drop(std::vector<std::wstring>{wide}, ClientCentre(Main))) << Hook->Failure();
    if (lossy) {
        ExpectOnlyTheCaptionChanged(ansi, current);
    } else {
        // A code page that holds the name: the name names the file.
        EXPECT_TRUE(WaitForCaption(Main, std::string(ansi) + " - Quorvel")) << WindowText(Main);
        current = SettledCapture(Pixels, Viewer, &current);
        EXPECT_GT(current.Width, 0) << "a name the code page holds did not load";
    }

    // Beyond the path limit; the drop target keeps 259 characters of it.
    const std::string beyond = WriteBeyondPathLimit();
    ASSERT_FALSE(beyond.empty()) << "no file beyond the path limit could be made";
    ASSERT_TRUE(Hook->Drop({beyond}, ClientCentre(Main))) << Hook->Failure();
    ExpectOnlyTheCaptionChanged(beyond.substr(0, MAX_PATH - 1), current);

    // Deleted after the dialog took it (the dialog takes only existing
    // files), before the program reads it.
    Gone = WriteSample("EndToEndBadFiles-gone.bin", SampleBytes(0x50, 600));
    ASSERT_FALSE(Gone.empty());
    ASSERT_TRUE(Hook->DeleteWhenDialogCloses(Gone)) << Hook->Failure();
    ASSERT_TRUE(OpenThroughDialog(Program, Main, Gone)) << "the dialog did not take " << Gone;
    ExpectOnlyTheCaptionChanged(Gone, current);
    EXPECT_EQ(Hook->DeletedCount(), 1);
    EXPECT_EQ(Hook->DeletedError(), 0);
    EXPECT_EQ(::GetFileAttributesA(Gone.c_str()), INVALID_FILE_ATTRIBUTES) << "the file was not deleted";

    const TCapture next = Open(Next, current);
    EXPECT_GT(next.Width, 0) << "the next file shows nothing";
    EXPECT_TRUE(Program.Running());
}

}  // namespace
