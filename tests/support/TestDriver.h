#pragma once

// Drives a program of the build as a user does, from a separate process
// under the same Wine: start it, find its windows, press keys through
// SendInput, read captions and dialog texts, capture pixels, close it.
//
// Under Wine another process cannot read a window's menu, so menus are
// driven with the keyboard (Alt, the menu's mnemonic, the item's mnemonic).
// Every wait takes a timeout in milliseconds and returns an empty result
// (nullptr, false) when it runs out, so a test can assert on it.
//
// Keys go to the foreground window of the desktop, so a test that presses
// keys works on a desktop of its own (UsePrivateDesktop), where other tests
// running at the same time cannot take the foreground or the keys. The mouse
// pointer is one for the whole display, whatever the desktop: a test that
// moves or reads it is marked POINTER in the build, so such tests take turns.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "framework/Handles.h"

namespace TestDriver {

// Moves the calling thread to a new desktop of its own, named after the
// process; call it before the thread makes any window, for example at
// namespace scope: `const bool onOwnDesktop = TestDriver::UsePrivateDesktop();`.
// Programs started with TProcess::Start then run on it too. False when the
// system refused (the thread stays where it was).
bool UsePrivateDesktop();
// The private desktop's name, or empty when none is in use.
std::string PrivateDesktopName();
// Puts the calling thread on the private desktop, if there is one; a thread
// must be there to see its windows and to press keys into them.
void JoinPrivateDesktop();
// A thread that plays the user beside the test's own modal loop: it joins
// the private desktop first, then runs `body`. Any other new thread starts
// on the process's first desktop: the windows it shows stay hidden from
// this one's searches and keys.
std::thread UserThread(std::function<void()> body);

// A started program; terminated on destruction if it still runs.
class TProcess {
public:
    TProcess() = default;
    ~TProcess();
    TProcess(TProcess&& other) noexcept;
    TProcess& operator=(TProcess&& other) noexcept;
    TProcess(const TProcess&) = delete;
    TProcess& operator=(const TProcess&) = delete;

    // Starts `exe` (a Windows path) with `arguments` appended to its quoted
    // name, in `folder` (empty: the exe's own folder), on the private desktop
    // when one is in use. Throws on failure.
    static TProcess Start(const std::string& exe, const std::string& arguments = "", const std::string& folder = "");

    DWORD Id() const { return FId; }
    HANDLE Handle() const { return FProcess.Get(); }
    bool Running() const;
    // True when the process ended in time; its exit code goes to `exitCode`.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr) const;
    // Asks every top-level window of the process to close (WM_CLOSE), waits
    // up to `timeoutMs`, then terminates it. True when it ended by itself.
    bool Close(DWORD timeoutMs = 10000);
    void Terminate();

private:
    TKernelHandle FProcess;
    DWORD FId = 0;
};

// The system's own text for an error code, as messages quote it: one line,
// trailing blanks gone, the full stop kept.
std::string SystemText(DWORD code);

// Folder of the running test executable, without a trailing backslash.
std::string TestExeFolder();
// The build's Quorvel.exe, found from the test's folder (BUILD/tests/...).
std::string QuorvelExePath();

// Visible top-level windows of a process, topmost first.
std::vector<HWND> ProcessWindows(DWORD processId);
// Top-level windows of a thread, visible or not, on whatever desktop.
std::vector<HWND> ThreadWindows(DWORD threadId);
// Waits for a visible top-level window of the process that `match` accepts.
HWND WaitForWindow(DWORD processId, const std::function<bool(HWND)>& match, DWORD timeoutMs = 15000);
// Waits for the process's main window: a visible top-level window that is
// not a dialog box (class "#32770").
HWND WaitForMainWindow(const TProcess& process, DWORD timeoutMs = 20000);
// Waits for a dialog box or message box (class "#32770") of the process,
// with the given title when `title` is not empty.
HWND WaitForDialog(DWORD processId, const std::string& title = "", DWORD timeoutMs = 10000);
// Waits until the window is gone or hidden.
bool WaitForWindowGone(HWND window, DWORD timeoutMs = 10000);

// A window's text (WM_GETTEXT, works across processes).
std::string WindowText(HWND window);
std::string WindowClass(HWND window);
// Waits until the window's text equals `text`.
bool WaitForCaption(HWND window, const std::string& text, DWORD timeoutMs = 10000);
// Texts of the window's visible child windows, in z order (a message box:
// its message, then its buttons).
std::vector<std::string> ChildTexts(HWND window);
// The message of a message box (its static text that is not the icon).
std::string MessageBoxText(HWND box);
// The icon a message box shows (its static icon control's image), or
// nullptr; compare with LoadIconA(nullptr, IDI_HAND) in the same process.
HICON MessageBoxIcon(HWND box);
// A child window of the given class (first in z order), or nullptr.
HWND FindChild(HWND parent, const std::string& className);
// Screen rectangle of a window (outer).
RECT WindowRect(HWND window);

// Brings the window to the foreground and waits until it is there.
bool Activate(HWND window, DWORD timeoutMs = 5000);
enum TModifiers : unsigned { mdNone = 0, mdShift = 1, mdCtrl = 2, mdAlt = 4 };
// Presses and releases a virtual key with modifiers held, then sleeps a
// little. The keys go to the foreground window; a test that drives its own
// windows pumps its messages afterwards (or presses from another thread).
void PressKey(WORD virtualKey, unsigned modifiers = mdNone);
// Types text as Unicode key strokes.
void TypeText(const std::string& text);
// Alt+menu letter, then the item's letter: for example 'F', 'x' for
// File, Exit. The window is activated first.
void ChooseMenuItem(HWND window, char menuLetter, char itemLetter);
// Puts `path` into an open dialog's file name field by typing and presses
// Enter. True when the dialog then went away.
bool TypeIntoOpenDialog(HWND dialog, const std::string& path, DWORD timeoutMs = 10000);
// Waits, handling this thread's own messages meanwhile.
void Pause(DWORD ms);
// Asks `condition` every `pollMs` until it holds; false when `timeoutMs`
// ran out first. Nothing is pumped: for conditions another process or
// thread brings about.
bool WaitUntil(DWORD timeoutMs, const std::function<bool()>& condition, DWORD pollMs = 50);
// Dispatches every message queued for this thread.
void PumpMessages();
// Runs `pump` (a framework test passes the application's own loop step)
// until `condition` holds; false when `timeoutMs` ran out first.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000,
               const std::function<void()>& pump = PumpMessages);

// A window's pixels as 0x00RRGGBB, rows from the top.
struct TCapture {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Pixels;
    std::uint32_t At(int x, int y) const { return Pixels[static_cast<std::size_t>(y * Width + x)]; }
    // Number of pixels of exactly this colour.
    std::size_t Count(std::uint32_t rgb) const;
    // Writes a 24-bit BMP file; true on success.
    bool SaveBmp(const std::string& path) const;
};
// A top-down 32-bit bitmap selected into a memory DC of its own, to draw
// or copy into and read back: every memory bitmap of the tests and the
// benchmarks is one of these.
class TDibImage {
public:
    TDibImage(int width, int height);
    // Null when the bitmap could not be made.
    HDC DC() const { return FBits ? FDC.Get() : nullptr; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // One pixel as 0x00RRGGBB, after what was drawn so far has landed.
    std::uint32_t At(int x, int y) const;
    // What the bitmap holds; empty when it could not be made.
    TCapture Pixels() const;
    // Copies the image's size from (x, y) of `source`; false on failure.
    bool CopyFrom(HDC source, int x, int y);
    // Copies from the top left of the window's client area, through the
    // window's own device context; false on failure.
    bool CopyClient(HWND window);

private:
    int FWidth;
    int FHeight;
    TMemoryDC FDC;
    TBitmapHandle FBitmap;
    const std::uint32_t* FBits = nullptr;
    std::optional<TSelectObject> FSelected;
};
// Captures the window's client area (or the whole window) from the screen,
// with whatever covers it there.
TCapture CaptureWindow(HWND window, bool clientOnly = true);
// Captures the client area of a window of the calling process through its
// own device context: what the window drew, even where other windows (of
// other tests on the same display too) cover it on the screen.
TCapture CaptureOwnWindow(HWND window);

}  // namespace TestDriver
