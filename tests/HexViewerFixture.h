#pragma once

// A real top-level window holding one viewer, for the control's tests.

#include <gtest/gtest.h>

#include <memory>

#include "framework/WinControls.h"
#include "hexview/VxHexViewer.h"
#include "tests/HexViewTestSupport.h"
#include "tests/support/HostWindow.h"

namespace hexviewtest {

using TestDriver::THostWindow;

// One host window serves a whole suite.
class HexViewerTest : public testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // The viewer's outer size for a client area of w x h (border, bar).
    void SetClientSize(int w, int h);
    // Handles every queued message, then paints what is invalid.
    void Pump();
    // A fixed-pitch font with a known cell, 9 x 17 pixels; skips the test,
    // saying why, where no installed face gives it.
    void UseKnownFont();
    // Sends a key as the keyboard would: key down, then key up.
    void Key(WORD key);
    void VScroll(int code, int position = 0);
    HWND Window() { return FViewer->Handle(); }

    static std::unique_ptr<THostWindow> FHost;
    TVxHexViewer* FViewer = nullptr;
    TScratchFolder FFolder;
};

}  // namespace hexviewtest
