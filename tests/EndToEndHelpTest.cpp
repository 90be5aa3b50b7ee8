// Help on the running program, with a recording help library beside a copy
// of the program in a folder of the test's own. Wine is told to load that
// library file rather than its own, for the copy's name only.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "tests/EndToEndData/EndToEndSupport.h"
#include "tests/support/TestDriver.h"

using namespace TestDriver;
using namespace EndToEnd;

namespace {

// Keys and captures stay on a desktop of the test's own.
[[maybe_unused]] const bool OnOwnDesktop = TestDriver::UsePrivateDesktop();

const char* const CopyName = "QuorvelHelpCopy.exe";
const std::string OverridesKey = std::string("Software\\Wine\\AppDefaults\\") + CopyName;

struct THelpCall {
    std::string Window, File, Command, Data;
};

std::vector<THelpCall> ReadCalls(const std::string& log)
{
    std::vector<THelpCall> calls;
    std::ifstream in(log);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        THelpCall call;
        std::getline(fields, call.Window, '\t');
        std::getline(fields, call.File, '\t');
        std::getline(fields, call.Command, '\t');
        std::getline(fields, call.Data, '\t');
        calls.push_back(call);
    }
    return calls;
}

std::string Describe(const std::vector<THelpCall>& calls)
{
    std::string text;
    for (const THelpCall& c : calls)
        text += "(" + c.Window + ", " + c.File + ", " + c.Command + ", " + c.Data + ") ";
    return text.empty() ? "no call" : text;
}

class HelpOnTheProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(FirstRun.Folder().empty()) << "the per-user folder could not be set aside";
        Folder = TestExeFolder() + "\\EndToEndHelp";
        Log = Folder + "\\help-calls.log";
        ASSERT_TRUE(::CreateDirectoryA(Folder.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS);
        ASSERT_TRUE(::CopyFileA(QuorvelExePath().c_str(), (Folder + "\\" + CopyName).c_str(), FALSE));
        ASSERT_TRUE(::CopyFileA((TestExeFolder() + "\\HtmlHelpRecorder.dll").c_str(), (Folder + "\\HHCTRL.OCX").c_str(),
                                FALSE));
        ::DeleteFileA(Log.c_str());
        ASSERT_TRUE(::SetEnvironmentVariableA("QUORVEL_HELP_LOG", Log.c_str()));

        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, (OverridesKey + "\\DllOverrides").c_str(), 0, nullptr, 0,
                                    KEY_SET_VALUE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        const char native[] = "native";
        const LONG set =
            ::RegSetValueExA(key, "hhctrl.ocx", 0, REG_SZ, reinterpret_cast<const BYTE*>(native), sizeof native);
        ::RegCloseKey(key);
        ASSERT_EQ(set, ERROR_SUCCESS);

        Program = TProcess::Start(Folder + "\\" + CopyName);
        Main = WaitForMainWindow(Program);
        ASSERT_NE(Main, nullptr) << "no main window";
    }

    void TearDown() override
    {
        Program.Close();
        ::SetEnvironmentVariableA("QUORVEL_HELP_LOG", nullptr);
        ::RegDeleteTreeA(HKEY_CURRENT_USER, OverridesKey.c_str());
        ::DeleteFileA(Log.c_str());
        ::DeleteFileA((Folder + "\\HHCTRL.OCX").c_str());
        ::DeleteFileA((Folder + "\\" + CopyName).c_str());
        ::RemoveDirectoryA(Folder.c_str());
    }

    // Waits for `count` calls, then for the program to take its messages
    // again, so any call made by the same request has been logged too.
    std::vector<THelpCall> CallsAfter(std::size_t count)
    {
        const ULONGLONG end = ::GetTickCount64() + 15000;
        while (ReadCalls(Log).size() < count && ::GetTickCount64() < end)
            ::Sleep(100);
        EXPECT_TRUE(WaitIdle(Main)) << "the program does not answer";
        return ReadCalls(Log);
    }

    TFirstRun FirstRun;
    std::string Folder;
    std::string Log;
    TProcess Program;
    HWND Main = nullptr;
};

TEST_F(HelpOnTheProgram, ContentsOpensTheTableOfContentsOfTheBareHelpFileOnce)
{
    ChooseMenuItem(Main, 'H', 'C');
    const std::vector<THelpCall> calls = CallsAfter(1);
    ASSERT_EQ(calls.size(), 1u) << Describe(calls);
    EXPECT_EQ(calls[0].Window, "0");
    EXPECT_EQ(calls[0].File, "Quorvel.chm");
    EXPECT_EQ(calls[0].Command, "1") << "HH_DISPLAY_TOC";
    EXPECT_EQ(calls[0].Data, "0");
    EXPECT_TRUE(Program.Running());
}

TEST_F(HelpOnTheProgram, F1InTheAboutBoxShowsItsHelpContext)
{
    ChooseMenuItem(Main, 'H', 'A');
    const HWND about = WaitForWindow(Program.Id(), [](HWND w) { return WindowText(w) == "About Quorvel"; });
    ASSERT_NE(about, nullptr) << "no About box";
    ASSERT_TRUE(Activate(about));
    PressKey(VK_F1);
    const std::vector<THelpCall> calls = CallsAfter(1);
    ASSERT_EQ(calls.size(), 1u) << Describe(calls);
    EXPECT_EQ(calls[0].Window, "0");
    EXPECT_EQ(calls[0].File, "Quorvel.chm");
    EXPECT_EQ(calls[0].Command, "15") << "HH_HELP_CONTEXT";
    EXPECT_EQ(calls[0].Data, "30500");

    Activate(about);
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitForWindowGone(about));
}

}  // namespace
