#pragma once

// A plain top-level window to hold the controls under test or measure.

#include "framework/WinControls.h"

namespace TestDriver {

// Visible from its creation, with a caption and no other frame controls.
// One should serve a whole suite or run: hiding or destroying a top-level
// window under a display without a window manager waits two seconds.
class THostWindow : public TWinControl {
public:
    THostWindow(int left, int top, int width, int height)
        : TWinControl(nullptr), FLeft(left), FTop(top), FWidth(width), FHeight(height)
    {}
    void CreateParams(TCreateParams& Params) override;

private:
    int FLeft;
    int FTop;
    int FWidth;
    int FHeight;
};

// Sizes the control so that its client area is exactly w x h, given its
// border and a vertical scroll bar beside it, and handles what that queued.
// False when the control's client area came out otherwise.
bool SetClientSize(TWinControl& control, int w, int h);

}  // namespace TestDriver
