// The common dialogs, driven for real with the keyboard from a second
// thread while the dialog runs modally on the test's own thread.

#include <gtest/gtest.h>

#include <windows.h>

#include <dlgs.h>

#include <atomic>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "framework/Dialogs.h"
#include "framework/Forms.h"
#include "tests/support/TestDriver.h"

using namespace TestDriver;

namespace {

// Keys pressed here reach only this test's windows.
[[maybe_unused]] const bool OnOwnDesktop = TestDriver::UsePrivateDesktop();

std::vector<std::string> ComboItems(HWND combo)
{
    std::vector<std::string> items;
    const auto count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[LF_FACESIZE * 2] = {};
        SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    return items;
}

bool IsFixedPitch(const std::string& face)
{
    LOGFONTA request{};
    request.lfHeight = -13;
    request.lfCharSet = DEFAULT_CHARSET;
    face.copy(request.lfFaceName, LF_FACESIZE - 1);
    HFONT font = CreateFontIndirectA(&request);
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    // The flag is set for variable pitch, despite its name.
    return (metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0;
}

void ConfigureLikeTheMainWindow(TFontDialog& dialog)
{
    dialog.SetMinFontSize(4);
    dialog.SetMaxFontSize(36);
    dialog.SetOptions({fdFixedPitchOnly, fdLimitSize, fdApplyButton});
    dialog.Font().SetName("Courier New");
    dialog.Font().SetHeight(-13);
}

HWND WaitForOwnDialog()
{
    return WaitForDialog(GetCurrentProcessId());
}

}  // namespace

TEST(Dialogs, OpenDialogReturnsTheFullNameAndOffersItAgain)
{
    const std::string path = TestExeFolder() + "\\DialogsTest-sample.bin";
    std::ofstream(path, std::ios::binary) << "sample";
    TOpenDialog open(nullptr);
    open.SetFilter("All files|*.*");
    open.SetOptions({ofHideReadOnly, ofPathMustExist, ofFileMustExist, ofEnableSizing});

    bool readOnlyShown = true;
    auto first = TestDriver::UserThread([&] {
        HWND dialog = WaitForOwnDialog();
        if (!dialog)
            return;
        HWND readOnly = GetDlgItem(dialog, chx1);
        readOnlyShown = readOnly && IsWindowVisible(readOnly);
        TypeIntoOpenDialog(dialog, path);
    });
    const bool chosen = open.Execute();
    first.join();
    EXPECT_TRUE(chosen);
    EXPECT_EQ(open.FileName(), path);
    EXPECT_FALSE(readOnlyShown) << "no read-only check box";

    std::string offered;
    auto second = TestDriver::UserThread([&] {
        HWND dialog = WaitForOwnDialog();
        if (!dialog)
            return;
        HWND name = GetDlgItem(dialog, cmb13) ? GetDlgItem(dialog, cmb13) : GetDlgItem(dialog, edt1);
        offered = WindowText(name);
        Activate(dialog);
        PressKey(VK_ESCAPE);
    });
    EXPECT_FALSE(open.Execute());
    second.join();
    EXPECT_NE(offered.find("DialogsTest-sample.bin"), std::string::npos) << offered;
    EXPECT_EQ(open.FileName(), path) << "cancelling keeps the last name";
    DeleteFileA(path.c_str());
}

TEST(Dialogs, OpenDialogRefusesANameThatDoesNotExist)
{
    TOpenDialog open(nullptr);
    open.SetOptions({ofHideReadOnly, ofPathMustExist, ofFileMustExist, ofEnableSizing});
    bool warned = false;
    bool stayed = false;
    auto user = TestDriver::UserThread([&] {
        HWND dialog = WaitForOwnDialog();
        if (!dialog)
            return;
        TypeIntoOpenDialog(dialog, TestExeFolder() + "\\no-such-file.bin", 1500);
        stayed = IsWindowVisible(dialog) != FALSE;
        HWND warning = WaitForWindow(
            GetCurrentProcessId(), [&](HWND w) { return w != dialog && WindowClass(w) == "#32770"; }, 5000);
        warned = warning != nullptr;
        if (warning) {
            Activate(warning);
            PressKey(VK_RETURN);
            WaitForWindowGone(warning);
        }
        Activate(dialog);
        PressKey(VK_ESCAPE);
    });
    EXPECT_FALSE(open.Execute());
    user.join();
    EXPECT_TRUE(stayed);
    EXPECT_TRUE(warned);
    EXPECT_EQ(open.FileName(), "");
}

TEST(Dialogs, FontDialogListsOnlyFixedPitchFontsInSizesFrom4To36)
{
    TFontDialog fonts(nullptr);
    ConfigureLikeTheMainWindow(fonts);
    std::vector<std::string> names, sizes;
    bool applyShown = false;
    bool effectsShown = true;
    auto user = TestDriver::UserThread([&] {
        HWND dialog = WaitForOwnDialog();
        if (!dialog)
            return;
        names = ComboItems(GetDlgItem(dialog, cmb1));
        sizes = ComboItems(GetDlgItem(dialog, cmb3));
        HWND apply = GetDlgItem(dialog, psh3);
        applyShown = apply && IsWindowVisible(apply);
        HWND strikeOut = GetDlgItem(dialog, chx1);
        effectsShown = strikeOut && IsWindowVisible(strikeOut);
        Activate(dialog);
        PressKey(VK_ESCAPE);
    });
    EXPECT_FALSE(fonts.Execute());
    user.join();
    ASSERT_FALSE(names.empty());
    for (const std::string& name : names)
        EXPECT_TRUE(IsFixedPitch(name)) << name;
    ASSERT_FALSE(sizes.empty());
    for (const std::string& size : sizes) {
        EXPECT_GE(std::stoi(size), 4) << size;
        EXPECT_LE(std::stoi(size), 36) << size;
    }
    EXPECT_TRUE(applyShown);
    EXPECT_FALSE(effectsShown);
}

// What the dialog manager was told on WM_INITDIALOG, seen from the
// returns of this thread's window procedures: TRUE asks it to put the focus
// on the first control.
LRESULT InitDialogAnswer = -1;

LRESULT CALLBACK WatchInitDialog(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code >= 0 && message->message == WM_INITDIALOG)
        InitDialogAnswer = message->lResult;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(Dialogs, FontDialogTakesKeysAtOnceOnItsFirstControl)
{
    TFontDialog fonts(nullptr);
    ConfigureLikeTheMainWindow(fonts);
    InitDialogAnswer = -1;
    const HHOOK watch = SetWindowsHookExA(WH_CALLWNDPROCRET, WatchInitDialog, nullptr, GetCurrentThreadId());
    ASSERT_NE(watch, nullptr);
    HWND names = nullptr;
    bool onNames = false;
    std::string focusedClass, before, after;
    auto user = TestDriver::UserThread([&] {
        HWND dialog = WaitForOwnDialog();
        if (!dialog)
            return;
        Activate(dialog);
        names = GetDlgItem(dialog, cmb1);
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info)) {
            onNames = info.hwndFocus && (info.hwndFocus == names || GetParent(info.hwndFocus) == names);
            focusedClass = info.hwndFocus ? WindowClass(info.hwndFocus) : "nothing";
        }
        before = WindowText(names);
        PressKey(VK_DOWN);
        Pause(200);
        after = WindowText(names);
        PressKey(VK_ESCAPE);
    });
    EXPECT_FALSE(fonts.Execute());
    user.join();
    UnhookWindowsHookEx(watch);
    EXPECT_EQ(InitDialogAnswer, TRUE) << "the dialog manager was told not to set the focus";
    ASSERT_NE(names, nullptr);
    EXPECT_TRUE(onNames) << "focus on " << focusedClass;
    EXPECT_NE(after, before) << "the first key did nothing";
}

TEST(Dialogs, ApplyChangesTheTargetAtOnceAndCancelKeepsIt)
{
    TFontDialog fonts(nullptr);
    ConfigureLikeTheMainWindow(fonts);
    TFont target;
    target.Assign(fonts.Font());
    std::atomic<int> applies{0};
    bool openWhileApplied = false;
    fonts.OnApply = [&](TComponent* sender, HWND dialog) {
        EXPECT_EQ(sender, &fonts);
        target.Assign(fonts.Font());
        openWhileApplied = IsWindowVisible(dialog) != FALSE;
        ++applies;
    };
    std::string chosen;
    auto user = TestDriver::UserThread([&] {
        HWND dialog = WaitForOwnDialog();
        if (!dialog)
            return;
        Activate(dialog);
        HWND names = GetDlgItem(dialog, cmb1);
        const std::string before = WindowText(names);
        // Another font from the list, as a user picks it.
        PostMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(names), TRUE);
        Pause(200);
        for (int i = 0; i < 5 && WindowText(names) == before; ++i)
            PressKey(VK_DOWN);
        Pause(200);
        chosen = WindowText(names);
        PressKey('A', mdAlt);
        for (int i = 0; i < 100 && applies == 0; ++i)
            Sleep(50);
        PressKey(VK_ESCAPE);
    });
    EXPECT_FALSE(fonts.Execute()) << "cancelled";
    user.join();
    ASSERT_EQ(applies, 1);
    EXPECT_TRUE(openWhileApplied);
    EXPECT_FALSE(chosen.empty());
    EXPECT_EQ(target.Name(), chosen) << "the applied font stays after Cancel";
    EXPECT_NE(target.Name(), "Courier New");
}

TEST(Dialogs, OkLeavesTheChosenFontInTheDialog)
{
    TFontDialog fonts(nullptr);
    ConfigureLikeTheMainWindow(fonts);
    std::string chosen;
    auto user = TestDriver::UserThread([&] {
        HWND dialog = WaitForOwnDialog();
        if (!dialog)
            return;
        Activate(dialog);
        HWND names = GetDlgItem(dialog, cmb1);
        const std::string before = WindowText(names);
        PostMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(names), TRUE);
        Pause(200);
        for (int i = 0; i < 5 && WindowText(names) == before; ++i)
            PressKey(VK_DOWN);
        Pause(200);
        chosen = WindowText(names);
        PressKey(VK_RETURN);
    });
    EXPECT_TRUE(fonts.Execute());
    user.join();
    EXPECT_EQ(fonts.Font().Name(), chosen);
}
