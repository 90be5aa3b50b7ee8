#pragma once

// Helpers for the dialog component tests under Wine: painting a control into
// a bitmap, and steps run from a timer while a modal loop runs.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/Application.h"
#include "framework/WinControls.h"
#include "framework/Forms.h"
#include "tests/support/TestDriver.h"

namespace about_test {

// A control's client area as painted by its Paint, pixel by pixel (COLORREF).
class TCapture {
public:
    explicit TCapture(TCustomControl& control) : Width(control.ClientWidth()), Height(control.ClientHeight())
    {
        TestDriver::TDibImage image(Width, Height);
        control.PaintTo(image.DC());
        Pixels = image.Pixels().Pixels;
    }

    COLORREF At(int x, int y) const
    {
        const std::uint32_t p =
            Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) + static_cast<std::size_t>(x)];
        // Captured pixels are 0x00RRGGBB.
        return RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF);
    }
    int Count(COLORREF color) const
    {
        int n = 0;
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x)
                n += At(x, y) == color;
        return n;
    }
    // The longest horizontal run of `color` in any row.
    int LongestRun(COLORREF color) const
    {
        int best = 0;
        for (int y = 0; y < Height; ++y) {
            int run = 0;
            for (int x = 0; x < Width; ++x) {
                run = At(x, y) == color ? run + 1 : 0;
                best = std::max(best, run);
            }
        }
        return best;
    }
    // Leftmost and rightmost column holding `color`, or -1.
    std::pair<int, int> Columns(COLORREF color) const
    {
        int left = -1;
        int right = -1;
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x)
                if (At(x, y) == color) {
                    left = left < 0 ? x : std::min(left, x);
                    right = std::max(right, x);
                }
        return {left, right};
    }

    int Width;
    int Height;
    std::vector<std::uint32_t> Pixels;
};

// Runs one step per timer tick inside whatever message loop is running (a
// modal form's). A loop still running after the last step is ended with
// mrCancel and the test fails, so a broken close never hangs the test.
class TModalScript {
public:
    explicit TModalScript(std::vector<std::function<void()>> steps, UINT interval = 60) : FSteps(std::move(steps))
    {
        Current() = this;
        FTimer = SetTimer(nullptr, 0, interval, Tick);
    }
    ~TModalScript()
    {
        KillTimer(nullptr, FTimer);
        Current() = nullptr;
    }
    TModalScript(const TModalScript&) = delete;
    TModalScript& operator=(const TModalScript&) = delete;

    std::size_t StepsRun() const { return FNext; }

private:
    static TModalScript*& Current()
    {
        static TModalScript* current = nullptr;
        return current;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        TModalScript* script = Current();
        if (!script)
            return;
        if (script->FNext < script->FSteps.size()) {
            script->FSteps[script->FNext++]();
            return;
        }
        if (++script->FOverrun == 20)
            for (int i = 0; i < Screen->FormCount(); ++i)
                if (Screen->Forms(i)->IsModal()) {
                    ADD_FAILURE() << "the modal loop did not end after the last step";
                    Screen->Forms(i)->SetModalResult(mrCancel);
                }
    }

    std::vector<std::function<void()>> FSteps;
    std::size_t FNext = 0;
    int FOverrun = 0;
    UINT_PTR FTimer = 0;
};

// The modal form now running, or nullptr.
inline TForm* ModalForm()
{
    for (int i = 0; i < Screen->FormCount(); ++i)
        if (Screen->Forms(i)->IsModal())
            return Screen->Forms(i);
    return nullptr;
}

inline void PostKey(WORD key)
{
    HWND target = GetFocus();
    if (!target) {
        ADD_FAILURE() << "no window of this thread has the focus for key " << key;
        return;
    }
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

inline void ProcessMessages()
{
    Application->ProcessMessages();
}

}  // namespace about_test
