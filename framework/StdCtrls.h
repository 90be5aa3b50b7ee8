#pragma once

// Labels that draw their caption, and the native push button with its
// default, cancel and modal-result roles.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "framework/WinControls.h"
#include "framework/FormParser.h"
#include "framework/Forms.h"

// The modal result of an "All" button.
constexpr TModalResult mrAll = 8;

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };

// Button 0 is the left, 1 the right mouse button.
using TLabelMouseEvent = std::function<void(TComponent* Sender, int Button, TShiftState Shift, int X, int Y)>;

// A label is a small window of its own: the framework paints windows only.
class TCustomLabel : public TCustomControl {
public:
    explicit TCustomLabel(TComponent* AOwner);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout Value);
    // Fits the bounds to the caption: the width (unless WordWrap) and the
    // height; the edge the alignment names stays where it is.
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    // False shows an ampersand as it is instead of underlining the next letter.
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool Value);
    // The background is the parent's colour.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool Value);

    TNotifyEvent OnDblClick;
    TLabelMouseEvent OnMouseDown;

    void Paint() override;
    void Loaded() override;
    // The DrawText flags the caption is drawn with.
    UINT TextFlags() const;
    // The colour the background is filled with.
    TColor BackgroundColor() const;

protected:
    LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;
    void MouseDown(int button, TShiftState Shift, int x, int y) override;
    virtual void DblClick();
    void TextChanged() override;
    void FontChanged() override;
    void ColorChanged() override;
    void AdjustBounds();

private:
    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FAutoSize = true;
    bool FWordWrap = false;
    bool FShowAccelChar = true;
    bool FTransparent = false;
    bool FParentColor = true;
};

class TLabel : public TCustomLabel {
public:
    explicit TLabel(TComponent* AOwner) : TCustomLabel(AOwner) {}
};

// The native push button. Its window is the system's button, superclassed
// so the framework's window procedure owns it.
class TButton : public TWinControl {
public:
    explicit TButton(TComponent* AOwner);

    // Enter presses the active default button: the focused button, or the
    // button with Default when no button has the focus.
    bool Default() const { return FDefault; }
    void SetDefault(bool Value);
    // Escape presses a button with Cancel.
    bool Cancel() const { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }
    // Given to the form on a click; 0 leaves a modal form open.
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }
    // Whether this button is the one Enter presses now.
    bool IsActiveDefault() const { return FActive; }

    void Click() override;
    bool DialogKey(WORD Key) override;
    void CreateParams(TCreateParams& Params) override;

    // Works out the active default button of every button on the form
    // holding `Control`, for the focus now on `focus`.
    static void UpdateDefaultButtons(TControl* Control, HWND focus);

protected:
    // Told when the button becomes or stops being the active default; the
    // base switches the native default frame.
    virtual void ActiveDefaultChanged(bool Active);
    void HandleCreated() override;
    LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;
    void FontChanged() override;

private:
    void SetActive(bool Value);

    bool FDefault = false;
    bool FCancel = false;
    bool FActive = false;
    TModalResult FModalResult = mrNone;
};

// Registers the class tables of the controls above and of the framework's
// classes they stand on; idempotent.
void RegisterStdControls();

// A control's parent, for nesting in a description; nullptr otherwise.
TComponent* ControlParentOf(TComponent* c);
// `root` and everything it owns, controls nested under their parents.
TFormNode WriteComponentTree(TComponent* root);
