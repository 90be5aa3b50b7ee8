#pragma once

// An image control that shows an icon, and the bevel that frames or divides
// a dialog.

#include <windows.h>

#include "framework/WinControls.h"
#include "framework/Graphics.h"

class TImage : public TCustomControl {
public:
    explicit TImage(TComponent* AOwner);

    // The icon shown; assigning to it repaints and, with AutoSize, resizes.
    TIcon& Icon() { return FIcon; }
    // The control takes the icon's size (while it does not stretch).
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    // The icon is drawn in the middle rather than at the top left.
    bool Center() const { return FCenter; }
    void SetCenter(bool Value);
    // The icon is drawn at the control's size.
    bool Stretch() const { return FStretch; }
    void SetStretch(bool Value);
    // Where Paint draws the icon, in client coordinates.
    RECT DestRect() const;

    void Paint() override;

private:
    void PictureChanged();

    TIcon FIcon;
    bool FAutoSize = false;
    bool FCenter = false;
    bool FStretch = false;
};

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

// A bevel draws only its edges; its window covers only them, so controls
// inside a box or frame stay visible.
class TBevel : public TCustomControl {
public:
    explicit TBevel(TComponent* AOwner);

    TBevelShape Shape() const { return FShape; }
    void SetShape(TBevelShape Value);
    TBevelStyle Style() const { return FStyle; }
    void SetStyle(TBevelStyle Value);

    void Paint() override;

protected:
    void HandleCreated() override;
    void BoundsChanged() override;

private:
    void UpdateRegion();

    TBevelShape FShape = bsBox;
    TBevelStyle FStyle = bsLowered;
};

// Registers the class tables of the controls above and of the framework's
// classes they stand on; idempotent.
void RegisterExtControls();
