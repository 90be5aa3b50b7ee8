// The built program, driven from outside as a user does.

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "framework/FormParser.h"
#include "resources/ResourceIds.h"
#include "tests/support/TestDriver.h"

using namespace TestDriver;

namespace {

// Keys pressed here reach only this test's windows.
[[maybe_unused]] const bool OnOwnDesktop = TestDriver::UsePrivateDesktop();

class QuorvelProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        Program = TProcess::Start(QuorvelExePath());
        Main = WaitForMainWindow(Program);
        ASSERT_NE(Main, nullptr) << "no main window";
    }
    void TearDown() override { Program.Close(); }

    TProcess Program;
    HWND Main = nullptr;
};

}  // namespace

TEST_F(QuorvelProgram, StartsEmptyWithItsTitleAtTheDesignedPlace)
{
    EXPECT_EQ(WindowText(Main), "Quorvel");
    const RECT r = WindowRect(Main);
    EXPECT_EQ(r.left, 283);
    EXPECT_EQ(r.top, 237);
    // The system chooses the size of this window (default size only).
    EXPECT_GT(r.right - r.left, 0);
    EXPECT_GT(r.bottom - r.top, 0);
}

TEST(QuorvelProgramFile, CarriesItsIconManifestStringsAndMainFormDescription)
{
    HMODULE exe = LoadLibraryExA(QuorvelExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    auto resource = [exe](LPCSTR name, LPCSTR type) -> std::string {
        HRSRC found = FindResourceA(exe, name, type);
        if (!found)
            return {};
        HGLOBAL data = LoadResource(exe, found);
        return std::string(static_cast<const char*>(LockResource(data)), SizeofResource(exe, found));
    };
    EXPECT_FALSE(resource(MAKEINTRESOURCEA(IDI_MAINICON), reinterpret_cast<LPCSTR>(RT_GROUP_ICON)).empty());
    const std::string manifest = resource(MAKEINTRESOURCEA(1), reinterpret_cast<LPCSTR>(RT_MANIFEST));
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
    char maker[64] = {};
    LoadStringA(exe, IDS_MAKER_FOLDER, maker, sizeof maker);
    EXPECT_STREQ(maker, "Talmore");
    EXPECT_FALSE(resource(MAKEINTRESOURCEA(1), reinterpret_cast<LPCSTR>(RT_VERSION)).empty());
    const TFormNode main = ParseFormDescription(resource("TMAINFORM", reinterpret_cast<LPCSTR>(RT_RCDATA)));
    EXPECT_EQ(main.ClassName, "TMainForm");
    FreeLibrary(exe);
}

TEST(QuorvelProgramArguments, AFileNamedOnTheCommandLineIsNotOpened)
{
    const std::string path = TestExeFolder() + "\\QuorvelTest-argument.bin";
    std::ofstream(path, std::ios::binary) << "argument";
    TProcess program = TProcess::Start(QuorvelExePath(), "\"" + path + "\"");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    Pause(500);
    EXPECT_EQ(WindowText(main), "Quorvel");
    program.Close();
    DeleteFileA(path.c_str());
}

TEST_F(QuorvelProgram, FileExitEndsTheProgram)
{
    ChooseMenuItem(Main, 'F', 'x');
    DWORD exitCode = 1;
    EXPECT_TRUE(Program.WaitForExit(10000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
}

TEST_F(QuorvelProgram, CtrlOOpensTheOpenDialogAndEscapeCancelsIt)
{
    ASSERT_TRUE(Activate(Main));
    PressKey('O', mdCtrl);
    HWND dialog = WaitForDialog(Program.Id());
    ASSERT_NE(dialog, nullptr) << "Ctrl+O showed no dialog";
    Activate(dialog);
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitForWindowGone(dialog));
    EXPECT_EQ(WindowText(Main), "Quorvel");
    EXPECT_TRUE(Program.Running());
}

TEST_F(QuorvelProgram, OpeningAFileThroughTheDialogNamesItInTheCaption)
{
    const std::string path = TestExeFolder() + "\\QuorvelTest-sample.bin";
    {
        std::ofstream sample(path, std::ios::binary);
        sample << "Quorvel sample bytes\x01\x02\x03";
    }
    ChooseMenuItem(Main, 'F', 'o');
    HWND dialog = WaitForDialog(Program.Id());
    ASSERT_NE(dialog, nullptr) << "File, Open showed no dialog";
    ASSERT_TRUE(TypeIntoOpenDialog(dialog, path));
    EXPECT_TRUE(WaitForCaption(Main, path + " - Quorvel")) << WindowText(Main);
    DeleteFileA(path.c_str());
}
