// One real Quorvel process through many cycles of what a user does: open a
// file (an empty one, one row, 70 KB and 64 MiB in turn), change the font
// the way the font dialog's Apply does, resize the window, Page Down, End
// and Home in the viewer, show and close the About box, fail to open a file
// another process writes to (and close its error box), and drop the next
// file on the window. What the process holds is counted inside it after
// cycle 100 and after the last cycle.
//
//     SoakBench [cycles] [--check] [--dialogs N] [--fonts N] [--skip open,font,...] [--trace] [--heap]
//
// Cycles are a multiple of 4, so both counts are taken with the same file
// shown. With --check the exit code is 1 when anything grew between the two
// counts: one object, one handle, one block of the C runtime's heap (where
// the program's own allocations are), or more than 1 MiB of private memory.
//
// The cycles open files the way a drop does. The open dialog keeps caches
// of its own that grow by chance (the system's DCs, icons) and, under
// Wine, one handle for good at each use, in a bare program too: with
// --dialogs N it is measured apart, N files opened through it by the
// program beside N uses of it by this bare program.
//
// With --heap the busy blocks of the program's heaps are noted at the first
// count and those that came since are listed at the last, by size.

#include <windows.h>

#include <commdlg.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <dlgs.h>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "tests/EndToEndData/EndToEndSupport.h"
#include "tests/EndToEndData/HeapCensus.h"
#include "tests/EndToEndData/ProcessResources.h"
#include "tests/EndToEndData/ProgramHook.h"
#include "tests/support/TestDriver.h"

using namespace TestDriver;
using namespace EndToEnd;

namespace {

constexpr int BaselineCycle = 100;
constexpr ULONGLONG MemorySlack = 1 << 20;

[[noreturn]] void Fail(const std::string& what)
{
    throw std::runtime_error(what);
}

class TSoak {
public:
    explicit TSoak(std::vector<std::string> files, std::string locked)
        : FFiles(std::move(files)), FLocked(std::move(locked))
    {
        FProgram = TProcess::Start(QuorvelExePath());
        FMain = WaitForMainWindow(FProgram);
        if (!FMain)
            Fail("no main window");
        FHook = std::make_unique<TProgramHook>(FMain);
        if (!FHook->Failure().empty())
            Fail("hook: " + FHook->Failure());
        FViewer = ViewerOf(FMain);
        FOpen = FHook->MenuCommand("&Open...");
        FFont = FHook->MenuCommand("&Font...");
        FAbout = FHook->MenuCommand("&About...");
        if (!FViewer || !FOpen || !FFont || !FAbout)
            Fail("the main window's viewer or menu items were not found");
        // Grown by chance otherwise, when a dialog happens to paint many
        // windows at once; a DC the program never gives back still shows.
        if (!FHook->FillDcCache())
            Fail("filling the DC cache: " + FHook->Failure());
        // Likewise the system's shared cursors and icons: which of them a
        // run first needs depends on where the pointer happens to be.
        if (!FHook->LoadSystemImages())
            Fail("loading the system's cursors and icons: " + FHook->Failure());
    }

    ~TSoak() { FProgram.Close(); }

    // Time spent in each step of the cycles so far.
    const std::map<std::string, ULONGLONG>& StepTimes() const { return FSteps; }

    // Closes the program as its close box does; false when it did not end.
    bool Close()
    {
        ::PostMessageA(FMain, WM_CLOSE, 0, 0);
        DWORD code = 1;
        return FProgram.WaitForExit(20000, &code) && code == 0;
    }

    // The heap census inside the program's process.
    bool MarkHeap() { return FHook->MarkHeap(); }
    std::string HeapReport() { return FHook->HeapReport(); }

    // Steps left out of the cycles (to find which one a growth comes from).
    std::string Skipped;

    void Cycle(int k)
    {
        FMark = ::GetTickCount64();
        const auto runs = [&](const char* step) { return Skipped.find(step) == std::string::npos; };
        const std::string& file = FFiles[static_cast<std::size_t>(k) % FFiles.size()];
        if (runs("open")) {
            Drop(file);
            AwaitCaption(file);
            Mark("open");
        }
        if (runs("font")) {
            ApplyFont(k % 2 ? "12" : "10");
            Mark("font");
        }
        if (runs("keys")) {
            ::SetWindowPos(FMain, nullptr, 0, 0, 600 + 40 * (k % 3), 400 + 30 * (k % 2), SWP_NOMOVE | SWP_NOZORDER);
            for (const WPARAM key : {VK_NEXT, VK_END, VK_HOME})
                ::PostMessageA(FViewer, WM_KEYDOWN, key, 0);
            WaitIdle(FMain);
            Mark("keys");
        }
        if (runs("about")) {
            ShowAbout();
            Mark("about");
        }
        if (runs("failed")) {
            Drop(FLocked);
            const HWND box = Await([&] { return Dialog("Quorvel"); }, "the error box of the failed open");
            ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            Gone(box, "the error box");
            Mark("failed");
        }
        if (runs("drop")) {
            const std::string& next = FFiles[static_cast<std::size_t>(k + 1) % FFiles.size()];
            Drop(next);
            AwaitCaption(next);
            Mark("drop");
        }
    }

    // Opens each file through the open dialog in turn, `uses` times.
    void OpenThroughDialog(int uses)
    {
        for (int i = 0; i < uses; ++i) {
            const std::string& file = FFiles[static_cast<std::size_t>(i) % FFiles.size()];
            OpenThroughDialog(file);
            AwaitCaption(file);
        }
    }

    // The program's top-level windows by class, shown or not.
    std::string WindowClasses() const
    {
        std::string classes;
        for (HWND window : ThreadWindows(::GetWindowThreadProcessId(FMain, nullptr))) {
            if (!classes.empty())
                classes += ' ';
            classes += WindowClass(window);
        }
        return classes;
    }

    // With Trace every step is followed by a count, and a change is shown.
    bool Trace = false;

    // A settled count: objects a closing dialog still holds for a moment
    // are not counted, so two counts a little apart must agree.
    THookResources Count()
    {
        THookResources last = CountOnce();
        for (int tries = 0; tries < 20; ++tries) {
            ::Sleep(50);
            const THookResources next = CountOnce();
            if (SameObjects(last, next))
                return next;
            last = next;
        }
        return last;
    }

private:
    THookResources CountOnce()
    {
        WaitIdle(FMain);
        THookResources counted{};
        if (!FHook->Resources(counted))
            Fail("counting: " + FHook->Failure());
        return counted;
    }

    static bool SameObjects(const THookResources& a, const THookResources& b)
    {
        return a.GdiObjects == b.GdiObjects && a.UserObjects == b.UserObjects && a.Windows == b.Windows &&
               a.Menus == b.Menus && a.Handles == b.Handles && a.RuntimeHeapBlocks == b.RuntimeHeapBlocks;
    }

    void Mark(const char* step)
    {
        const ULONGLONG now = ::GetTickCount64();
        FSteps[step] += now - FMark;
        if (Trace) {
            const THookResources counted = Count();
            if (FTraced.GdiObjects && counted.GdiObjects != FTraced.GdiObjects)
                std::printf("after %-8s gdi %ld -> %ld (bitmaps %ld -> %ld)\n", step, FTraced.GdiObjects,
                            counted.GdiObjects, FTraced.GdiByType[OBJ_BITMAP], counted.GdiByType[OBJ_BITMAP]);
            FTraced = counted;
        }
        FMark = ::GetTickCount64();
    }

    template <class F>
    HWND Await(F find, const char* what)
    {
        HWND found = nullptr;
        if (!WaitUntil(
                20000, [&] { return (found = find()) != nullptr; }, 2))
            Fail(std::string("no ") + what);
        return found;
    }

    void Gone(HWND window, const char* what)
    {
        if (!WaitUntil(
                20000, [&] { return !::IsWindow(window) || !::IsWindowVisible(window); }, 2))
            Fail(std::string(what) + " did not close");
    }

    // A visible dialog box of the program with this title.
    HWND Dialog(const char* title)
    {
        for (HWND window : ProcessWindows(FProgram.Id()))
            if (WindowClass(window) == "#32770" && WindowText(window) == title && ::IsWindowEnabled(window))
                return window;
        return nullptr;
    }

    void AwaitCaption(const std::string& file)
    {
        if (!WaitUntil(
                20000, [&] { return WindowText(FMain) == file + " - Quorvel"; }, 2))
            Fail("opening " + file + " left the caption " + WindowText(FMain));
    }

    void Drop(const std::string& file)
    {
        if (!FHook->Drop({file}, POINT{20, 20}))
            Fail("drop: " + FHook->Failure());
    }

    void OpenThroughDialog(const std::string& path)
    {
        ::PostMessageA(FMain, WM_COMMAND, MAKEWPARAM(FOpen, 0), 0);
        const HWND dialog = Await([&] { return Dialog("Open"); }, "open dialog");
        HWND name = ::GetDlgItem(dialog, cmb13);
        if (!name)
            name = ::GetDlgItem(dialog, edt1);
        if (!name)
            Fail("the open dialog has no file name field");
        ::SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
        ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        Gone(dialog, "the open dialog");
    }

public:
    void ApplyFont(const char* size)
    {
        ::PostMessageA(FMain, WM_COMMAND, MAKEWPARAM(FFont, 0), 0);
        const HWND dialog = Await([&] { return Dialog("Font"); }, "font dialog");
        // Drawn whole, as a user sees it, before anything is chosen: a dialog
        // closed before it painted would leave the bitmaps its first drawing
        // loads for good to a later cycle, by chance.
        ::RedrawWindow(dialog, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        const HWND sizes = ::GetDlgItem(dialog, cmb3);
        const LRESULT index =
            ::SendMessageA(sizes, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(size));
        if (index == CB_ERR)
            Fail(std::string("the font dialog offers no size ") + size);
        ::SendMessageA(sizes, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(cmb3, CBN_SELCHANGE), reinterpret_cast<LPARAM>(sizes));
        ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(psh3, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog, psh3)));
        ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        Gone(dialog, "the font dialog");
    }

private:
    void ShowAbout()
    {
        ::PostMessageA(FMain, WM_COMMAND, MAKEWPARAM(FAbout, 0), 0);
        const HWND about = Await(
            [&]() -> HWND {
                for (HWND window : ProcessWindows(FProgram.Id()))
                    if (WindowText(window) == "About Quorvel")
                        return window;
                return nullptr;
            },
            "About box");
        // Enter, as the dialog manager reports it.
        ::PostMessageA(about, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
        Gone(about, "the About box");
    }

    std::vector<std::string> FFiles;
    std::string FLocked;
    TProcess FProgram;
    HWND FMain = nullptr;
    HWND FViewer = nullptr;
    std::unique_ptr<TProgramHook> FHook;
    UINT FOpen = 0, FFont = 0, FAbout = 0;
    ULONGLONG FMark = 0;
    std::map<std::string, ULONGLONG> FSteps;
    THookResources FTraced{};
};

// While it lives, windows this thread makes are made of the controls the
// program's manifest asks for (version 6 of the common controls), as the
// program's dialogs are.
class TProgramControls {
public:
    TProgramControls()
    {
        const std::string program = QuorvelExePath();
        ACTCTXA context{};
        context.cbSize = sizeof context;
        context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        context.lpSource = program.c_str();
        context.lpResourceName = MAKEINTRESOURCEA(1);  // the manifest a process is started with
        FContext = ::CreateActCtxA(&context);
        if (FContext == INVALID_HANDLE_VALUE)
            Fail("the program's manifest could not be read here");
        if (!::ActivateActCtx(FContext, &FCookie)) {
            ::ReleaseActCtx(FContext);
            Fail("the program's manifest could not be activated here");
        }
    }
    ~TProgramControls()
    {
        ::DeactivateActCtx(0, FCookie);
        ::ReleaseActCtx(FContext);
    }
    TProgramControls(const TProgramControls&) = delete;
    TProgramControls& operator=(const TProgramControls&) = delete;

private:
    HANDLE FContext = INVALID_HANDLE_VALUE;
    ULONG_PTR FCookie = 0;
};

// A bare program's open dialog, with the options the program's dialog has,
// used `uses` times by this process.
void BareOpenDialog(const std::string& file, int uses)
{
    for (int i = 0; i < uses; ++i) {
        std::thread closer = UserThread([] {
            const HWND dialog = WaitForDialog(::GetCurrentProcessId(), "Open", 20000);
            ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        });
        char name[MAX_PATH] = {};
        file.copy(name, sizeof name - 1);
        OPENFILENAMEA open{};
        open.lStructSize = sizeof open;
        open.lpstrFile = name;
        open.nMaxFile = sizeof name;
        open.lpstrFilter = "All files\0*.*\0\0";
        open.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_ENABLESIZING;
        ::GetOpenFileNameA(&open);
        closer.join();
    }
}

// A bare program's font dialog with the program's options, used `uses`
// times as a cycle uses the program's: a size chosen, Apply (which makes
// the font and lets the previous one go, as the viewer does), Cancel.
HFONT BareApplied = nullptr;

UINT_PTR CALLBACK BareFontHook(HWND dialog, UINT msg, WPARAM wParam, LPARAM)
{
    if (msg == WM_INITDIALOG)
        return TRUE;
    if (msg == WM_COMMAND && LOWORD(wParam) == psh3) {
        LOGFONTA applied{};
        ::SendMessageA(dialog, WM_CHOOSEFONT_GETLOGFONT, 0, reinterpret_cast<LPARAM>(&applied));
        const HFONT font = ::CreateFontIndirectA(&applied);
        if (BareApplied)
            ::DeleteObject(BareApplied);
        BareApplied = font;
        return TRUE;
    }
    return FALSE;
}

// An owner for the bare dialog as the program's main window is one: a
// top-level window whose class has the program's own icon.
HWND BareOwner()
{
    static HWND owner = [] {
        const std::string program = TestDriver::TestExeFolder() + "\\..\\app\\Quorvel.exe";
        const HMODULE data = ::LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        WNDCLASSA wc{};
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.hIcon = static_cast<HICON>(::LoadImageA(data, MAKEINTRESOURCEA(1), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
        wc.lpszClassName = "SoakBareOwner";
        ::RegisterClassA(&wc);
        const HWND made = ::CreateWindowA("SoakBareOwner", "Bare owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 700, 0, 400,
                                          300, nullptr, nullptr, wc.hInstance, nullptr);
        return made;
    }();
    return owner;
}

void BareFontDialog(int uses)
{
    for (int i = 0; i < uses; ++i) {
        const char* size = i % 2 ? "12" : "10";
        std::thread closer = UserThread([size] {
            const HWND dialog = WaitForDialog(::GetCurrentProcessId(), "Font", 20000);
            const HWND sizes = ::GetDlgItem(dialog, cmb3);
            const LRESULT index =
                ::SendMessageA(sizes, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(size));
            ::SendMessageA(sizes, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
            ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(cmb3, CBN_SELCHANGE), reinterpret_cast<LPARAM>(sizes));
            ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(psh3, BN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(dialog, psh3)));
            ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        });
        LOGFONTA font{};
        font.lfHeight = -13;
        font.lfWeight = FW_BOLD;
        std::strcpy(font.lfFaceName, "Courier New");
        CHOOSEFONTA choose{};
        choose.lStructSize = sizeof choose;
        choose.hwndOwner = BareOwner();
        choose.lpLogFont = &font;
        choose.Flags =
            CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_FIXEDPITCHONLY | CF_LIMITSIZE | CF_APPLY | CF_ENABLEHOOK;
        choose.nSizeMin = 4;
        choose.nSizeMax = 36;
        choose.nFontType = SCREEN_FONTTYPE;
        choose.lpfnHook = BareFontHook;
        ::ChooseFontA(&choose);
        closer.join();
    }
}

THookResources Growth(const THookResources& from, const THookResources& to)
{
    THookResources d{};
    d.GdiObjects = to.GdiObjects - from.GdiObjects;
    for (int type = 0; type < 16; ++type)
        d.GdiByType[type] = to.GdiByType[type] - from.GdiByType[type];
    d.UserObjects = to.UserObjects - from.UserObjects;
    d.Windows = to.Windows - from.Windows;
    d.Menus = to.Menus - from.Menus;
    d.Handles = to.Handles - from.Handles;
    d.PrivateBytes = to.PrivateBytes - from.PrivateBytes;
    d.RuntimeHeapBlocks = to.RuntimeHeapBlocks - from.RuntimeHeapBlocks;
    d.RuntimeHeapBytes = to.RuntimeHeapBytes - from.RuntimeHeapBytes;
    return d;
}

void PrintGrowth(const char* what, const THookResources& d)
{
    std::printf("%s: gdi %+ld (by type:", what, d.GdiObjects);
    for (int type = 1; type < 16; ++type)
        if (d.GdiByType[type])
            std::printf(" %d:%+ld", type, d.GdiByType[type]);
    std::printf("), user %+ld, windows %+ld, menus %+ld, handles %+ld, private %+.3f MiB, runtime heap %+ld blocks "
                "(%+lld bytes)\n",
                d.UserObjects, d.Windows, d.Menus, d.Handles,
                static_cast<double>(static_cast<LONGLONG>(d.PrivateBytes)) / (1 << 20), d.RuntimeHeapBlocks,
                static_cast<long long>(d.RuntimeHeapBytes));
}

void PrintCounts(const char* when, const THookResources& r)
{
    std::printf("%-12s gdi %5ld  user %5ld  windows %4ld  menus %3ld  handles %5ld  private %10.3f MiB  runtime heap "
                "%ld blocks\n",
                when, r.GdiObjects, r.UserObjects, r.Windows, r.Menus, r.Handles,
                static_cast<double>(r.PrivateBytes) / (1 << 20), r.RuntimeHeapBlocks);
    std::printf("%-12s gdi by type:", "");
    for (int type = 1; type < 16; ++type)
        if (r.GdiByType[type])
            std::printf(" %d:%ld", type, r.GdiByType[type]);
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv)
{
    int cycles = 10000;
    int dialogs = 0;
    int fonts = 0;
    bool check = false;
    bool trace = false;
    bool heap = false;
    std::string skip;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--check") == 0)
            check = true;
        else if (std::strcmp(argv[i], "--skip") == 0 && i + 1 < argc)
            skip = argv[++i];
        else if (std::strcmp(argv[i], "--trace") == 0)
            trace = true;
        else if (std::strcmp(argv[i], "--heap") == 0)
            heap = true;
        else if (std::strcmp(argv[i], "--fonts") == 0 && i + 1 < argc)
            fonts = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--dialogs") == 0 && i + 1 < argc)
            dialogs = std::atoi(argv[++i]);
        else
            cycles = std::atoi(argv[i]);
    }
    if (cycles <= BaselineCycle || cycles % 4 != 0) {
        std::fprintf(stderr, "cycles must be a multiple of 4 above %d\n", BaselineCycle);
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    UsePrivateDesktop();
    TFirstRun firstRun;
    const std::vector<std::string> files = {
        WriteSample("Soak-empty.bin", ""),
        WriteSample("Soak-row.bin", SampleBytes(0x30, 16)),
        WriteSample("Soak-70k.bin", SampleBytes(0x41, 70 * 1024)),
        WriteSample("Soak-64m.bin", SampleBytes(0x00, 64u << 20)),
    };
    const std::string locked = WriteSample("Soak-locked.bin", SampleBytes(0x20, 600));
    // Written to here, so the program's read with read sharing fails.
    TFileHandle lock(::CreateFileA(locked.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    int status = 0;
    try {
        if (firstRun.Folder().empty() || !lock)
            Fail("the per-user folder could not be set aside, or the sample not locked");
        TSoak soak(files, locked);
        soak.Skipped = skip;
        soak.Trace = trace;
        THookResources baseline{};
        const ULONGLONG started = ::GetTickCount64();
        for (int k = 0; k < cycles; ++k) {
            soak.Cycle(k);
            if (k + 1 == BaselineCycle) {
                if (heap && !soak.MarkHeap())
                    Fail("the heap census could not be taken");
                baseline = soak.Count();
                PrintCounts("cycle 100", baseline);
                std::printf("%-12s windows: %s\n", "", soak.WindowClasses().c_str());
            } else if ((k + 1) % 1000 == 0 && k + 1 < cycles) {
                PrintCounts(("cycle " + std::to_string(k + 1)).c_str(), soak.Count());
            }
        }
        const THookResources last = soak.Count();
        PrintCounts(("cycle " + std::to_string(cycles)).c_str(), last);
        std::printf("%-12s windows: %s\n", "", soak.WindowClasses().c_str());
        if (heap)
            std::printf("%s", soak.HeapReport().c_str());
        const double seconds = static_cast<double>(::GetTickCount64() - started) / 1000;
        std::printf("%d cycles in %.0f s (%.0f ms a cycle:", cycles, seconds, 1000 * seconds / cycles);
        for (const auto& [step, ms] : soak.StepTimes())
            std::printf(" %s %.1f", step.c_str(), static_cast<double>(ms) / cycles);
        std::printf(")\n");
        const THookResources grown = Growth(baseline, last);
        PrintGrowth("growth after cycle 100", grown);
        const bool grew = grown.GdiObjects > 0 || grown.UserObjects > 0 || grown.Windows > 0 || grown.Menus > 0 ||
                          grown.Handles > 0 || grown.RuntimeHeapBlocks > 0 ||
                          last.PrivateBytes > baseline.PrivateBytes + MemorySlack;
        if (check && grew) {
            std::printf("FAILED: the process holds more than after cycle 100\n");
            status = 1;
        }
        // A measure of the program's dialog, then of the same dialog used by
        // this bare program (`warming` times first, for what its first uses
        // keep, as the cycles before the program's first count do).
        const auto compare = [&](const std::string& what, int uses, int warming, const auto& programUse,
                                 const auto& bareUse) {
            if (heap && !soak.MarkHeap())
                Fail("the heap census could not be taken");
            const THookResources before = soak.Count();
            programUse(uses);
            PrintGrowth(("the program's " + what + ", " + std::to_string(uses) + " uses").c_str(),
                        Growth(before, soak.Count()));
            if (heap)
                std::printf("%s", soak.HeapReport().c_str());
            const TProgramControls controls;
            bareUse(warming);
            if (heap && !MarkHeapBlocks())
                Fail("the heap census could not be taken here");
            const THookResources bareBefore = CountProcessResources();
            bareUse(uses);
            PrintGrowth(("a bare program's " + what + ", " + std::to_string(uses) + " uses").c_str(),
                        Growth(bareBefore, CountProcessResources()));
            if (heap) {
                static char report[1 << 16];
                ReportHeapBlocks(report, sizeof report);
                std::printf("%s", report);
            }
        };
        if (fonts > 0)
            compare(
                "font dialog", fonts, BaselineCycle,
                [&](int uses) {
                    for (int i = 0; i < uses; ++i)
                        soak.ApplyFont(i % 2 ? "12" : "10");
                },
                BareFontDialog);
        if (dialogs > 0)
            compare(
                "open dialog", dialogs, 1, [&](int uses) { soak.OpenThroughDialog(uses); },
                [&](int uses) { BareOpenDialog(files[1], uses); });
        // The last font applied is the one saved on closing.
        if (!soak.Close())
            Fail("the program did not end when closed");
        std::ifstream saved(firstRun.Folder() + "\\Quorvel.ini", std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(saved), std::istreambuf_iterator<char>()};
        const std::string font = std::string("font=\"") + ((cycles - 1) % 2 ? "12" : "10") + ",";
        if (skip.find("font") == std::string::npos && text.find(font) == std::string::npos)
            Fail("the font applied last was not the one saved: " + text);
    } catch (const std::exception& e) {
        std::printf("FAILED: %s\n", e.what());
        status = 2;
    }
    lock.Reset();
    for (const std::string& file : files)
        ::DeleteFileA(file.c_str());
    ::DeleteFileA(locked.c_str());
    return status;
}
