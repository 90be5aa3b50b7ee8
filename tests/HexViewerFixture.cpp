#include "tests/HexViewerFixture.h"

#include "tests/support/TestDriver.h"

namespace hexviewtest {

namespace {

// The viewer tests press the mouse and keys and read pixels: on a desktop of
// their own, no window of a test running beside them can take any of it.
[[maybe_unused]] const bool OnOwnDesktop = TestDriver::UsePrivateDesktop();

}  // namespace

std::unique_ptr<THostWindow> HexViewerTest::FHost;

void HexViewerTest::SetUpTestSuite()
{
    FHost = std::make_unique<THostWindow>(10, 10, 1200, 900);
    FHost->Handle();
}

void HexViewerTest::TearDownTestSuite()
{
    FHost.reset();
}

void HexViewerTest::SetUp()
{
    FViewer = new TVxHexViewer(FHost.get());
    Pump();
}

void HexViewerTest::TearDown()
{
    // Whatever else a test made on the host goes with the viewer.
    while (FHost->ComponentCount() > 0)
        delete FHost->Components(FHost->ComponentCount() - 1);
    FViewer = nullptr;
    Pump();
}

void HexViewerTest::SetClientSize(int w, int h)
{
    TestDriver::SetClientSize(*FViewer, w, h);
    Pump();
    ASSERT_EQ(FViewer->ClientWidth(), w);
    ASSERT_EQ(FViewer->ClientHeight(), h);
}

void HexViewerTest::Pump()
{
    TestDriver::PumpMessages();
    if (FHost)
        ::UpdateWindow(FHost->Handle());
    if (FViewer)
        ::UpdateWindow(FViewer->Handle());
}

void HexViewerTest::UseKnownFont()
{
    // The platform's own fixed-pitch face first; the free face metric-
    // compatible with it where only that one is installed.
    std::string seen;
    for (const char* name : {"Courier New", "Liberation Mono"}) {
        FViewer->Font().SetName(name);
        FViewer->Font().SetHeight(-13);
        FViewer->Font().SetCharset(ANSI_CHARSET);
        const HDC dc = FViewer->Canvas().Handle();
        char face[LF_FACESIZE] = {};
        ::GetTextFaceA(dc, LF_FACESIZE, face);
        TEXTMETRICA metrics{};
        ::GetTextMetricsA(dc, &metrics);
        // The flag is set for a variable pitch, despite its name.
        const bool fixedPitch = (metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0;
        if (std::string(face) == name && fixedPitch && FViewer->CellWidth() == 9 && FViewer->CellHeight() == 17)
            return;
        seen += std::string(seen.empty() ? "" : "; ") + name + " gave " + face +
                (fixedPitch ? "" : " (variable pitch)") + ", cell " + std::to_string(FViewer->CellWidth()) + " x " +
                std::to_string(FViewer->CellHeight());
    }
    GTEST_SKIP() << "no fixed-pitch face with a 9 x 17 cell at 13 pixels is installed: " << seen;
}

void HexViewerTest::Key(WORD key)
{
    ::SendMessageA(Window(), WM_KEYDOWN, key, 1);
    ::SendMessageA(Window(), WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

void HexViewerTest::VScroll(int code, int position)
{
    ::SendMessageA(Window(), WM_VSCROLL, MAKEWPARAM(code, position), 0);
}

}  // namespace hexviewtest
