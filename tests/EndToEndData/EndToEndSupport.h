#pragma once

// What the end-to-end tests share beyond the test driver: a first run in the
// prefix's per-user folder, sample files, the mouse, settled captures of the
// viewer and opening a file through the open dialog.

#include <windows.h>

#include <functional>
#include <string>

#include "tests/EndToEndData/ProgramHook.h"
#include "tests/support/PerUserFolder.h"
#include "tests/support/TestDriver.h"

namespace EndToEnd {

using TestDriver::TFirstRun;

// Writes `bytes` to `name` in the test executable's folder; its full path.
std::string WriteSample(const std::string& name, const std::string& bytes);
// Bytes of every value 0..255, repeated from `first` on for `count` bytes:
// rows of such a file differ in all three columns from file to file.
std::string SampleBytes(unsigned char first, std::size_t count);

// A child window whose top-left corner lies at (left, top) of the parent's
// client area, or nullptr.
HWND ChildAt(HWND parent, int left, int top);
// Clicks the left mouse button at the centre of the window.
void ClickCentre(HWND window);

// How a test reads a window's pixels: through the hook in the program's
// process for the program's windows (ProgramPixels), CaptureOwnWindow for
// its own. Neither depends on what else the shared display shows.
using TCapturer = std::function<TestDriver::TCapture(HWND)>;
TCapturer ProgramPixels(TProgramHook& hook);

// Captures the client area until two captures in a row agree, so a picture
// that still changes is not taken, and (given `unlike`) differ from that
// capture, so a paint still to come is waited for. An empty capture when
// that never comes.
TestDriver::TCapture SettledCapture(const TCapturer& capture, HWND window, const TestDriver::TCapture* unlike = nullptr,
                                    DWORD timeoutMs = 10000);
// Waits until the client area shows exactly `expected`; otherwise says in
// `difference` how the last capture differed.
bool WaitForPixels(const TCapturer& capture, HWND window, const TestDriver::TCapture& expected, DWORD timeoutMs = 10000,
                   std::string* difference = nullptr);
bool SamePixels(const TestDriver::TCapture& a, const TestDriver::TCapture& b);
// Empty when both are the same; otherwise the sizes, or how many pixels
// differ, the rectangle they lie in and the first of them.
std::string PixelDifference(const TestDriver::TCapture& a, const TestDriver::TCapture& b);
// The viewer of the program's main window: the child filling its client
// area, or nullptr.
HWND ViewerOf(HWND main);
// The icon of a message box as the box draws it. Icons of another
// process have handles of their own that cannot be drawn here, so only
// pictures compare: ReferenceBoxIcon shows a box of this process with the
// given MB_ICON... style and takes its icon the same way.
TestDriver::TCapture MessageBoxIconPicture(const TCapturer& capture, HWND box);
TestDriver::TCapture ReferenceBoxIcon(UINT iconStyle);
// The icon drawn at its full size on a ground of one colour (0x00RRGGBB).
TestDriver::TCapture IconOnGround(HICON icon, int size, std::uint32_t ground);

// Ctrl+O, the path typed into the open dialog, Enter. True when the dialog
// went away; the caption is for the caller to check.
bool OpenThroughDialog(const TestDriver::TProcess& program, HWND main, const std::string& path);

// Opens `path` through the open dialog and waits for the caption naming it;
// then what the viewer shows once it settles unlike `before`. A failed step
// is said in `failure` (empty when both went well).
TestDriver::TCapture OpenedThroughDialog(const TestDriver::TProcess& program, HWND main, HWND viewer,
                                         const TCapturer& capture, const std::string& path,
                                         const TestDriver::TCapture& before, std::string& failure);

// The centre of the window's client area, in client coordinates.
POINT ClientCentre(HWND window);

// Waits until the window's thread takes its messages again (it answers a
// message sent to it), so a handler that was running has returned unless it
// pumps messages itself. True when it answered in time.
bool WaitIdle(HWND window, DWORD timeoutMs = 10000);

}  // namespace EndToEnd
