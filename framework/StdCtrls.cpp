#include "framework/StdCtrls.h"

#include "framework/ClassTable.h"
#include "framework/FormWriter.h"

// --- TCustomLabel -------------------------------------------------------------

TCustomLabel::TCustomLabel(TComponent* AOwner) : TCustomControl(AOwner)
{
    // Paint fills the whole window, so erasing first would only flicker.
    SetControlStyle(TControlStyle{csCaptureMouse, csClickEvents, csOpaque});
    SetBounds(0, 0, 65, 17);
}

void TCustomLabel::SetAlignment(TAlignment Value)
{
    if (Value == FAlignment)
        return;
    FAlignment = Value;
    Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout Value)
{
    if (Value == FLayout)
        return;
    FLayout = Value;
    Invalidate();
}

void TCustomLabel::SetAutoSize(bool Value)
{
    if (Value == FAutoSize)
        return;
    FAutoSize = Value;
    AdjustBounds();
}

void TCustomLabel::SetWordWrap(bool Value)
{
    if (Value == FWordWrap)
        return;
    FWordWrap = Value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool Value)
{
    if (Value == FShowAccelChar)
        return;
    FShowAccelChar = Value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetTransparent(bool Value)
{
    if (Value == FTransparent)
        return;
    FTransparent = Value;
    Invalidate();
}

void TCustomLabel::SetParentColor(bool Value)
{
    if (Value == FParentColor)
        return;
    FParentColor = Value;
    Invalidate();
}

void TCustomLabel::ColorChanged()
{
    FParentColor = false;
    TCustomControl::ColorChanged();
}

TColor TCustomLabel::BackgroundColor() const
{
    if ((FTransparent || FParentColor) && Parent())
        return Parent()->Color();
    return Color();
}

UINT TCustomLabel::TextFlags() const
{
    UINT flags = DT_EXPANDTABS;
    if (FWordWrap)
        flags |= DT_WORDBREAK;
    else
        flags |= DT_SINGLELINE;
    if (!FShowAccelChar)
        flags |= DT_NOPREFIX;
    if (FAlignment == taCenter)
        flags |= DT_CENTER;
    else if (FAlignment == taRightJustify)
        flags |= DT_RIGHT;
    return flags;
}

void TCustomLabel::Paint()
{
    const RECT client = ClientRect();
    Canvas().SetBrushColor(BackgroundColor());
    Canvas().FillRect(client);
    Canvas().Font().Assign(Font());
    HDC dc = Canvas().Handle();
    const std::string& text = Caption();
    RECT area = client;
    if (FLayout != tlTop) {
        RECT measure = client;
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &measure, TextFlags() | DT_CALCRECT);
        const int free = (client.bottom - client.top) - (measure.bottom - measure.top);
        area.top += FLayout == tlCenter ? free / 2 : free;
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(Enabled() ? Font().Color() : clGrayText));
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &area, TextFlags());
}

void TCustomLabel::AdjustBounds()
{
    if (!FAutoSize || IsLoading())
        return;
    TWindowDC screen(nullptr);
    TSelectObject font(screen.Get(), Font().Handle());
    // An empty caption still keeps the height of one line.
    const std::string text = Caption().empty() ? std::string(" ") : Caption();
    RECT r{0, 0, FWordWrap ? Width() : 0, 0};
    DrawTextA(screen.Get(), text.c_str(), static_cast<int>(text.size()), &r, TextFlags() | DT_CALCRECT);
    const int width = FWordWrap ? Width() : r.right - r.left;
    int left = Left();
    if (FAlignment == taRightJustify)
        left += Width() - width;
    else if (FAlignment == taCenter)
        left += (Width() - width) / 2;
    SetBounds(left, Top(), width, r.bottom - r.top);
}

void TCustomLabel::Loaded()
{
    TCustomControl::Loaded();
    AdjustBounds();
}

void TCustomLabel::TextChanged()
{
    TCustomControl::TextChanged();
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::FontChanged()
{
    TCustomControl::FontChanged();
    AdjustBounds();
}

void TCustomLabel::MouseDown(int button, TShiftState Shift, int x, int y)
{
    TCustomControl::MouseDown(button, Shift, x, y);
    if (OnMouseDown)
        OnMouseDown(this, button, Shift, x, y);
}

void TCustomLabel::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

LRESULT TCustomLabel::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam)
{
    switch (Msg) {
    case WM_LBUTTONDBLCLK: {
        // The second press of a double-click: no click follows its release.
        const int x = static_cast<short>(LOWORD(lParam));
        const int y = static_cast<short>(HIWORD(lParam));
        if (ControlStyle().Contains(csCaptureMouse))
            SetCapture(Handle());
        if (ControlStyle().Contains(csClickEvents))
            DblClick();
        if (OnMouseDown)
            OnMouseDown(this, 0, MouseShiftState(wParam).Include(ssDouble), x, y);
        return 0;
    }
    case WM_GETDLGCODE: return DLGC_STATIC;
    default: return TCustomControl::WndProc(Msg, wParam, lParam);
    }
}

// --- TButton ------------------------------------------------------------------

namespace {

void CollectButtons(TWinControl* parent, std::vector<TButton*>& buttons)
{
    for (int i = 0; i < parent->ControlCount(); ++i) {
        if (auto* button = dynamic_cast<TButton*>(parent->Controls(i)))
            buttons.push_back(button);
        if (auto* windowed = dynamic_cast<TWinControl*>(parent->Controls(i)))
            CollectButtons(windowed, buttons);
    }
}

}  // namespace

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner)
{
    SetBounds(0, 0, 75, 25);
    SetTabStop(true);
}

void TButton::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.WinClassName = "BUTTON";
    Params.Style &= ~static_cast<DWORD>(WS_CLIPCHILDREN);
    Params.Style |= FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::HandleCreated()
{
    SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), FALSE);
    FActive = FDefault;
    TWinControl::HandleCreated();
}

LRESULT TButton::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam)
{
    switch (Msg) {
    case CN_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED)
            Click();
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        WORD key = static_cast<WORD>(wParam);
        KeyDown(key, KeyboardShiftState());
        return key ? DefaultHandler(Msg, key, lParam) : 0;
    }
    case WM_SETFOCUS:
        if (Parent())
            Parent()->ChildFocused(this);
        UpdateDefaultButtons(this, Handle());
        return DefaultHandler(Msg, wParam, lParam);
    case WM_KILLFOCUS:
        UpdateDefaultButtons(this, reinterpret_cast<HWND>(wParam));
        return DefaultHandler(Msg, wParam, lParam);
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && SetCursorShape())
            return TRUE;
        return DefaultHandler(Msg, wParam, lParam);
    default: return DefaultHandler(Msg, wParam, lParam);
    }
}

void TButton::FontChanged()
{
    TWinControl::FontChanged();
    if (HandleAllocated())
        SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), TRUE);
}

void TButton::SetDefault(bool Value)
{
    if (Value == FDefault)
        return;
    FDefault = Value;
    if (HandleAllocated())
        UpdateDefaultButtons(this, GetFocus());
    else
        FActive = Value;
}

void TButton::UpdateDefaultButtons(TControl* Control, HWND focus)
{
    TWinControl* root = GetParentForm(Control);
    if (!root)
        root = Control->Parent();
    if (!root)
        return;
    std::vector<TButton*> buttons;
    CollectButtons(root, buttons);
    TButton* focused = nullptr;
    for (TButton* b : buttons)
        if (b->HandleAllocated() && focus && b->Handle() == focus)
            focused = b;
    for (TButton* b : buttons)
        b->SetActive(focused ? b == focused : b->FDefault);
}

void TButton::SetActive(bool Value)
{
    if (Value == FActive)
        return;
    FActive = Value;
    if (HandleAllocated())
        ActiveDefaultChanged(Value);
}

void TButton::ActiveDefaultChanged(bool Active)
{
    SendMessageA(Handle(), BM_SETSTYLE, Active ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

bool TButton::DialogKey(WORD Key)
{
    if ((Key == VK_RETURN && FActive) || (Key == VK_ESCAPE && FCancel)) {
        Click();
        return true;
    }
    return false;
}

void TButton::Click()
{
    if (TForm* form = GetParentForm(this))
        form->SetModalResult(FModalResult);
    TWinControl::Click();
}

// --- registration ---------------------------------------------------------------

TComponent* ControlParentOf(TComponent* c)
{
    auto* control = dynamic_cast<TControl*>(c);
    return control ? control->Parent() : nullptr;
}

TFormNode WriteComponentTree(TComponent* root)
{
    return WriteComponent(root, ControlParentOf);
}

void RegisterStdControls()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterFrameworkClasses();
    const std::pair<const char*, std::int64_t> results[] = {
        {"mrNone", mrNone},     {"mrOk", mrOk},   {"mrCancel", mrCancel}, {"mrAbort", mrAbort}, {"mrRetry", mrRetry},
        {"mrIgnore", mrIgnore}, {"mrYes", mrYes}, {"mrNo", mrNo},         {"mrAll", mrAll},
    };
    for (const auto& [name, value] : results)
        RegisterIntegerConstant(name, value);
    RegisterEnum<TAlignment>(
        {{"taLeftJustify", taLeftJustify}, {"taRightJustify", taRightJustify}, {"taCenter", taCenter}});
    RegisterEnum<TTextLayout>({{"tlTop", tlTop}, {"tlCenter", tlCenter}, {"tlBottom", tlBottom}});
    // A label is in no tab order, and its colour is its parent's until it
    // is set.
    RegisterComponentClass<TCustomLabel, TCustomControl>("TCustomLabel")
        .Redeclare("Color")
        .StoredWhen([](TCustomLabel* c) { return !c->ParentColor(); })
        .Redeclare("TabOrder")
        .NeverStored()
        .Redeclare("TabStop")
        .NeverStored()
        .Property("Alignment", &TCustomLabel::Alignment, &TCustomLabel::SetAlignment)
        .Default(taLeftJustify)
        .Property("Layout", &TCustomLabel::Layout, &TCustomLabel::SetLayout)
        .Default(tlTop)
        .Property("AutoSize", &TCustomLabel::AutoSize, &TCustomLabel::SetAutoSize)
        .Default(true)
        .Property("WordWrap", &TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap)
        .Default(false)
        .Property("ShowAccelChar", &TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar)
        .Default(true)
        .Property("Transparent", &TCustomLabel::Transparent, &TCustomLabel::SetTransparent)
        .Default(false)
        .Property("ParentColor", &TCustomLabel::ParentColor, &TCustomLabel::SetParentColor)
        .Default(true)
        .Property("OnDblClick", [](TCustomLabel* c, TNotifyEvent e) { c->OnDblClick = std::move(e); })
        .Property("OnMouseDown", [](TCustomLabel* c, TLabelMouseEvent e) { c->OnMouseDown = std::move(e); });
    RegisterComponentClass<TLabel, TCustomLabel>("TLabel");
    RegisterComponentClass<TButton, TWinControl>("TButton")
        .Redeclare("TabStop")
        .Default(true)
        .Property("Cancel", &TButton::Cancel, &TButton::SetCancel)
        .Default(false)
        .Property("Default", &TButton::Default, &TButton::SetDefault)
        .Default(false)
        .Property("ModalResult", &TButton::ModalResult, &TButton::SetModalResult)
        .Default(mrNone);
}
