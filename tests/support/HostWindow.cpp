#include "tests/support/HostWindow.h"

#include "tests/support/TestDriver.h"

namespace TestDriver {

void THostWindow::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.Style = WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN | WS_VISIBLE;
    Params.WndParent = nullptr;
    Params.X = FLeft;
    Params.Y = FTop;
    Params.Width = FWidth;
    Params.Height = FHeight;
}

bool SetClientSize(TWinControl& control, int w, int h)
{
    const HWND window = control.Handle();
    RECT r{0, 0, w, h};
    ::AdjustWindowRectEx(&r, static_cast<DWORD>(::GetWindowLongA(window, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongA(window, GWL_EXSTYLE)));
    control.SetBounds(0, 0, r.right - r.left + ::GetSystemMetrics(SM_CXVSCROLL), r.bottom - r.top);
    PumpMessages();
    return control.ClientWidth() == w && control.ClientHeight() == h;
}

}  // namespace TestDriver
