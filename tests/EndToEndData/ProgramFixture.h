#pragma once

// The running program for a test: started with the test's per-user folder
// set aside, the hook in its process, and its empty viewer captured.

#include <gtest/gtest.h>

#include <memory>

#include "tests/EndToEndData/EndToEndSupport.h"
#include "tests/support/TestDriver.h"

namespace EndToEnd {

class RunningProgram : public ::testing::Test {
protected:
    // Call from SetUp, then return if HasFatalFailure().
    void StartProgram()
    {
        Program = TestDriver::TProcess::Start(TestDriver::QuorvelExePath());
        Main = TestDriver::WaitForMainWindow(Program);
        ASSERT_NE(Main, nullptr) << "no main window";
        Hook = std::make_unique<TProgramHook>(Main);
        ASSERT_EQ(Hook->Failure(), "");
        Pixels = ProgramPixels(*Hook);
        Viewer = ViewerOf(Main);
        ASSERT_NE(Viewer, nullptr) << "no viewer fills the main window";
        Empty = SettledCapture(Pixels, Viewer);
        ASSERT_GT(Empty.Width, 0) << "the empty viewer never settled: " << Hook->Failure();
    }

    void TearDown() override { Program.Close(); }

    TFirstRun FirstRun;
    TestDriver::TProcess Program;
    HWND Main = nullptr;
    std::unique_ptr<TProgramHook> Hook;
    TCapturer Pixels;
    HWND Viewer = nullptr;
    TestDriver::TCapture Empty;
};

}  // namespace EndToEnd
