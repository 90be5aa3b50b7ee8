#include "framework/StdCtrls.h"


#include "framework/FormReader.h"
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

namespace {

bool FontStored(TControl* c)
{
    return !c->ParentFont();
}

void RegisterControlWriters()
{
    RegisterWriterClass<TComponent>("TComponent").Default("Tag", &TComponent::Tag, 0);
    RegisterWriterClass<TControl>("TControl")
        .Property("Left", &TControl::Left)
        .Property("Top", &TControl::Top)
        .Property("Width", &TControl::Width)
        .Property("Height", &TControl::Height)
        .Enum("Align", &TControl::Align, {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"}, alNone)
        .Set("Anchors", &TControl::Anchors, {"akLeft", "akTop", "akRight", "akBottom"}, TAnchors{akLeft, akTop})
        .Stored("Caption", &TControl::Caption, [](TControl* c) { return !c->Caption().empty(); })
        .Default("Color", &TControl::Color, clBtnFace)
        .Default("Cursor", &TControl::Cursor, crDefault)
        .Default("Enabled", &TControl::Enabled, true)
        .Stored("Font.Charset", [](TControl* c) { return c->Font().Charset(); }, FontStored)
        .Stored("Font.Color", [](TControl* c) { return c->Font().Color(); }, FontStored)
        .Stored("Font.Height", [](TControl* c) { return c->Font().Height(); }, FontStored)
        .Stored("Font.Name", [](TControl* c) { return c->Font().Name(); }, FontStored)
        .Set("Font.Style", [](TControl* c) { return c->Font().Style(); },
             {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}, TFontStyles{})
        .Default("ParentFont", &TControl::ParentFont, true)
        .Default("HelpContext", &TControl::HelpContext, 0)
        .Default("Visible", &TControl::Visible, true);
    RegisterWriterClass<TWinControl>("TWinControl")
        .Default("TabStop", &TWinControl::TabStop, false)
        .Stored("TabOrder", &TWinControl::TabOrder, [](TWinControl* c) { return c->Parent() != nullptr; });
    RegisterWriterClass<TForm>("TForm")
        .Enum("BorderStyle", &TForm::BorderStyle,
              {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"}, bsSizeable)
        .Set("BorderIcons", &TForm::BorderIcons, {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"},
             TBorderIcons{biSystemMenu, biMinimize, biMaximize})
        .Enum("Position", &TForm::Position,
              {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
               "poMainFormCenter"},
              poDesigned)
        .Default("Scaled", &TForm::Scaled, true)
        .Stored("HelpFile", &TForm::HelpFile, [](TForm* f) { return !f->HelpFile().empty(); })
        .Unpublish("TabOrder")
        .Unpublish("TabStop");
    // The label's colour is its parent's until it is set.
    RegisterWriterClass<TCustomLabel>("TCustomLabel")
        .Stored("Color", &TControl::Color, [](TCustomLabel* c) { return !c->ParentColor(); })
        .Enum("Alignment", &TCustomLabel::Alignment, {"taLeftJustify", "taRightJustify", "taCenter"},
              taLeftJustify)
        .Enum("Layout", &TCustomLabel::Layout, {"tlTop", "tlCenter", "tlBottom"}, tlTop)
        .Default("AutoSize", &TCustomLabel::AutoSize, true)
        .Default("WordWrap", &TCustomLabel::WordWrap, false)
        .Default("ShowAccelChar", &TCustomLabel::ShowAccelChar, true)
        .Default("Transparent", &TCustomLabel::Transparent, false)
        .Default("ParentColor", &TCustomLabel::ParentColor, true)
        .Unpublish("TabOrder")
        .Unpublish("TabStop");
    RegisterWriterClass<TLabel>("TLabel");
    RegisterWriterClass<TButton>("TButton")
        .Default("TabStop", &TWinControl::TabStop, true)
        .Default("Cancel", &TButton::Cancel, false)
        .Default("Default", &TButton::Default, false)
        .Default("ModalResult", &TButton::ModalResult, mrNone);
}

}  // namespace

TComponent* ControlParentOf(TComponent* c)
{
    auto* control = dynamic_cast<TControl*>(c);
    return control ? control->Parent() : nullptr;
}

TFormNode WriteComponentTree(TComponent* root)
{
    RegisterStdControls();
    return WriteComponent(root, ControlParentOf);
}

void RegisterStdControls()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterFrameworkClasses();
    RegisterControlWriters();
    const std::pair<const char*, std::int64_t> results[] = {
        {"mrNone", mrNone},   {"mrOk", mrOk},   {"mrCancel", mrCancel}, {"mrAbort", mrAbort}, {"mrRetry", mrRetry},
        {"mrIgnore", mrIgnore}, {"mrYes", mrYes}, {"mrNo", mrNo},         {"mrAll", mrAll},
    };
    for (const auto& [name, value] : results)
        RegisterIntegerConstant(name, value);
    RegisterEnum<TAlignment>(
        {{"taLeftJustify", taLeftJustify}, {"taRightJustify", taRightJustify}, {"taCenter", taCenter}});
    RegisterEnum<TTextLayout>({{"tlTop", tlTop}, {"tlCenter", tlCenter}, {"tlBottom", tlBottom}});
    RegisterComponentClass<TCustomLabel>("TCustomLabel")
        .Property("Alignment", &TCustomLabel::SetAlignment)
        .Property("Layout", &TCustomLabel::SetLayout)
        .Property("AutoSize", &TCustomLabel::SetAutoSize)
        .Property("WordWrap", &TCustomLabel::SetWordWrap)
        .Property("ShowAccelChar", &TCustomLabel::SetShowAccelChar)
        .Property("Transparent", &TCustomLabel::SetTransparent)
        .Property("ParentColor", &TCustomLabel::SetParentColor)
        .Property("OnDblClick", [](TCustomLabel* c, TNotifyEvent e) { c->OnDblClick = std::move(e); })
        .Property("OnMouseDown", [](TCustomLabel* c, TLabelMouseEvent e) { c->OnMouseDown = std::move(e); });
    RegisterComponentClass<TLabel>("TLabel");
    RegisterComponentClass<TButton>("TButton")
        .Property("Default", &TButton::SetDefault)
        .Property("Cancel", &TButton::SetCancel)
        .Property("ModalResult", &TButton::SetModalResult);
}

static const bool StdControlsRegistered = (RegisterStdControls(), true);
