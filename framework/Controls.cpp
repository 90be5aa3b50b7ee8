#include "framework/Controls.h"

#include "framework/WinControls.h"

#include <algorithm>

TShiftState KeyboardShiftState()
{
    TShiftState state;
    if (GetKeyState(VK_SHIFT) < 0)
        state.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0)
        state.Include(ssCtrl);
    if (GetKeyState(VK_MENU) < 0)
        state.Include(ssAlt);
    return state;
}

TShiftState MouseShiftState(WPARAM wParam)
{
    TShiftState state;
    if (wParam & MK_SHIFT)
        state.Include(ssShift);
    if (wParam & MK_CONTROL)
        state.Include(ssCtrl);
    if (wParam & MK_LBUTTON)
        state.Include(ssLeft);
    if (wParam & MK_RBUTTON)
        state.Include(ssRight);
    if (wParam & MK_MBUTTON)
        state.Include(ssMiddle);
    if (GetKeyState(VK_MENU) < 0)
        state.Include(ssAlt);
    return state;
}

TControl::TControl(TComponent* AOwner) : TComponent(AOwner)
{
    FFont.OnChange = [this](TFont&) {
        if (!FApplyingParentFont)
            FParentFont = false;
        FontChanged();
    };
}

TControl::~TControl()
{
    if (FParent)
        FParent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* AParent)
{
    if (AParent == FParent)
        return;
    if (AParent == this)
        throw EInvalidOperation("A control cannot be its own parent");
    if (FParent)
        FParent->RemoveControl(this);
    if (AParent)
        AParent->InsertControl(this);
}

void TControl::SetParentComponent(TComponent* Value)
{
    if (auto* parent = dynamic_cast<TWinControl*>(Value))
        SetParent(parent);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight)
        return;
    UpdateBoundsFields(ALeft, ATop, AWidth, AHeight);
    if (FParent && FAlign != alNone)
        FParent->Realign();
}

void TControl::UpdateBoundsFields(int ALeft, int ATop, int AWidth, int AHeight)
{
    FLeft = ALeft;
    FTop = ATop;
    FWidth = std::max(AWidth, 0);
    FHeight = std::max(AHeight, 0);
    BoundsChanged();
}

void TControl::BoundsChanged()
{}

void TControl::SetClientWidth(int Value)
{
    SetWidth(Value + (Width() - ClientWidth()));
}

void TControl::SetClientHeight(int Value)
{
    SetHeight(Value + (Height() - ClientHeight()));
}

void TControl::SetAlign(TAlign Value)
{
    if (Value == FAlign)
        return;
    FAlign = Value;
    if (FParent)
        FParent->Realign();
}

void TControl::SetVisible(bool Value)
{
    if (Value == FVisible)
        return;
    FVisible = Value;
    if (FParent)
        FParent->Realign();
}

void TControl::SetEnabled(bool Value)
{
    if (Value == FEnabled)
        return;
    FEnabled = Value;
    Invalidate();
}

void TControl::SetColor(TColor Value)
{
    if (Value == FColor)
        return;
    FColor = Value;
    ColorChanged();
}

void TControl::SetParentBackground(bool Value)
{
    if (Value == FParentBackground)
        return;
    FParentBackground = Value;
    Invalidate();
}

void TControl::SetCaption(const std::string& Value)
{
    if (Value == FCaption)
        return;
    FCaption = Value;
    TextChanged();
}

void TControl::SetParentFont(bool Value)
{
    FParentFont = Value;
    if (Value)
        ParentFontChanged();
}

void TControl::ParentFontChanged()
{
    if (!FParentFont || !FParent)
        return;
    FApplyingParentFont = true;
    try {
        FFont.Assign(FParent->Font());
    } catch (...) {
        FApplyingParentFont = false;
        throw;
    }
    FApplyingParentFont = false;
}

void TControl::FontChanged()
{
    Invalidate();
}

void TControl::ColorChanged()
{
    Invalidate();
}

void TControl::TextChanged()
{
    Invalidate();
}

void TControl::Click()
{
    if (OnClick)
        OnClick(this);
}

void TControl::Invalidate()
{
    if (auto* self = dynamic_cast<TWinControl*>(this)) {
        if (self->HandleAllocated())
            InvalidateRect(self->Handle(), nullptr, TRUE);
    } else if (FParent && FParent->HandleAllocated()) {
        const RECT r = BoundsRect();
        InvalidateRect(FParent->Handle(), &r, TRUE);
    }
}

void TControl::Update()
{
    if (auto* self = dynamic_cast<TWinControl*>(this)) {
        if (self->HandleAllocated())
            UpdateWindow(self->Handle());
    } else if (FParent && FParent->HandleAllocated()) {
        UpdateWindow(FParent->Handle());
    }
}

void TControl::Repaint()
{
    Invalidate();
    Update();
}

HWND TControl::ParentWindow() const
{
    return FParent ? FParent->Handle() : nullptr;
}
