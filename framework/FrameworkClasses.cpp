#include "framework/ClassTable.h"
#include "framework/Dialogs.h"
#include "framework/Forms.h"
#include "framework/Menus.h"

namespace {

// A font that descriptions set but that is never written.
template <class T>
void FontProperties(TClassTable<T>& table)
{
    table.Property("Font.Name", [](T* c, const std::string& v) { c->Font().SetName(v); })
        .Property("Font.Height", [](T* c, int v) { c->Font().SetHeight(v); })
        .Property("Font.Size", [](T* c, int v) { c->Font().SetSize(v); })
        .Property("Font.Style", [](T* c, TFontStyles v) { c->Font().SetStyle(v); })
        .Property("Font.Charset", [](T* c, std::uint8_t v) { c->Font().SetCharset(v); })
        .Property("Font.Color", [](T* c, TColor v) { c->Font().SetColor(v); })
        .Property("Font.Pitch", [](T* c, TFontPitch v) { c->Font().SetPitch(v); });
}

bool FontStored(TControl* c)
{
    return !c->ParentFont();
}

void RegisterConstants()
{
    const std::pair<const char*, std::int64_t> constants[] = {
        {"clBlack", clBlack},
        {"clMaroon", clMaroon},
        {"clGreen", clGreen},
        {"clOlive", clOlive},
        {"clNavy", clNavy},
        {"clPurple", clPurple},
        {"clTeal", clTeal},
        {"clGray", clGray},
        {"clSilver", clSilver},
        {"clRed", clRed},
        {"clLime", clLime},
        {"clYellow", clYellow},
        {"clBlue", clBlue},
        {"clFuchsia", clFuchsia},
        {"clAqua", clAqua},
        {"clWhite", clWhite},
        {"clWindow", clWindow},
        {"clWindowText", clWindowText},
        {"clBtnFace", clBtnFace},
        {"clHighlight", clHighlight},
        {"clHighlightText", clHighlightText},
        {"clBtnText", clBtnText},
        {"clGrayText", clGrayText},
        {"ANSI_CHARSET", ANSI_CHARSET},
        {"DEFAULT_CHARSET", DEFAULT_CHARSET},
        {"SYMBOL_CHARSET", SYMBOL_CHARSET},
        {"OEM_CHARSET", OEM_CHARSET},
        {"crDefault", crDefault},
        {"crArrow", crArrow},
        {"crIBeam", crIBeam},
        {"crHourGlass", crHourGlass},
        {"crHandPoint", crHandPoint},
    };
    for (const auto& [name, value] : constants)
        RegisterIntegerConstant(name, value);
}

void RegisterEnums()
{
    RegisterEnum<TAlign>({{"alNone", alNone},
                          {"alTop", alTop},
                          {"alBottom", alBottom},
                          {"alLeft", alLeft},
                          {"alRight", alRight},
                          {"alClient", alClient}});
    RegisterEnum<TAnchorKind>({{"akLeft", akLeft}, {"akTop", akTop}, {"akRight", akRight}, {"akBottom", akBottom}});
    RegisterEnum<TFontStyle>(
        {{"fsBold", fsBold}, {"fsItalic", fsItalic}, {"fsUnderline", fsUnderline}, {"fsStrikeOut", fsStrikeOut}});
    RegisterEnum<TFontPitch>({{"fpDefault", fpDefault}, {"fpVariable", fpVariable}, {"fpFixed", fpFixed}});
    RegisterEnum<TPosition>({{"poDesigned", poDesigned},
                             {"poDefault", poDefault},
                             {"poDefaultPosOnly", poDefaultPosOnly},
                             {"poDefaultSizeOnly", poDefaultSizeOnly},
                             {"poScreenCenter", poScreenCenter},
                             {"poMainFormCenter", poMainFormCenter}});
    RegisterEnum<TFormBorderStyle>({{"bsNone", bsNone},
                                    {"bsSingle", bsSingle},
                                    {"bsSizeable", bsSizeable},
                                    {"bsDialog", bsDialog},
                                    {"bsToolWindow", bsToolWindow},
                                    {"bsSizeToolWin", bsSizeToolWin}});
    RegisterEnum<TBorderIcon>(
        {{"biSystemMenu", biSystemMenu}, {"biMinimize", biMinimize}, {"biMaximize", biMaximize}, {"biHelp", biHelp}});
    RegisterEnum<TWindowState>({{"wsNormal", wsNormal}, {"wsMinimized", wsMinimized}, {"wsMaximized", wsMaximized}});
    RegisterEnum<TOpenOption>({{"ofReadOnly", ofReadOnly},
                               {"ofHideReadOnly", ofHideReadOnly},
                               {"ofPathMustExist", ofPathMustExist},
                               {"ofFileMustExist", ofFileMustExist},
                               {"ofEnableSizing", ofEnableSizing},
                               {"ofAllowMultiSelect", ofAllowMultiSelect}});
    RegisterEnum<TFontDialogOption>({{"fdAnsiOnly", fdAnsiOnly},
                                     {"fdEffects", fdEffects},
                                     {"fdFixedPitchOnly", fdFixedPitchOnly},
                                     {"fdForceFontExist", fdForceFontExist},
                                     {"fdLimitSize", fdLimitSize},
                                     {"fdApplyButton", fdApplyButton}});
}

void RegisterClasses()
{
    RegisterComponentClass<TComponent>("TComponent").Property("Tag", &TComponent::Tag, &TComponent::SetTag).Default(0);

    RegisterComponentClass<TControl, TComponent>("TControl")
        .Property("Left", &TControl::Left, &TControl::SetLeft)
        .Property("Top", &TControl::Top, &TControl::SetTop)
        .Property("Width", &TControl::Width, &TControl::SetWidth)
        .Property("Height", &TControl::Height, &TControl::SetHeight)
        .Property("Align", &TControl::Align, &TControl::SetAlign)
        .Default(alNone)
        .Property("Anchors", &TControl::Anchors, &TControl::SetAnchors)
        .Default(TAnchors{akLeft, akTop})
        .Property("Caption", &TControl::Caption, &TControl::SetCaption)
        .StoredWhen([](TControl* c) { return !c->Caption().empty(); })
        .Property("Color", &TControl::Color, &TControl::SetColor)
        .Default(clBtnFace)
        .Property("Cursor", &TControl::Cursor, &TControl::SetCursor)
        .Default(crDefault)
        .Property("Enabled", &TControl::Enabled, &TControl::SetEnabled)
        .Default(true)
        .Property(
            "Font.Charset", [](TControl* c) { return c->Font().Charset(); },
            [](TControl* c, std::uint8_t v) { c->Font().SetCharset(v); })
        .StoredWhen(FontStored)
        .Property(
            "Font.Color", [](TControl* c) { return c->Font().Color(); },
            [](TControl* c, TColor v) { c->Font().SetColor(v); })
        .StoredWhen(FontStored)
        .Property(
            "Font.Height", [](TControl* c) { return c->Font().Height(); },
            [](TControl* c, int v) { c->Font().SetHeight(v); })
        .StoredWhen(FontStored)
        .Property(
            "Font.Name", [](TControl* c) { return c->Font().Name(); },
            [](TControl* c, const std::string& v) { c->Font().SetName(v); })
        .StoredWhen(FontStored)
        .Property(
            "Font.Style", [](TControl* c) { return c->Font().Style(); },
            [](TControl* c, TFontStyles v) { c->Font().SetStyle(v); })
        .Default(TFontStyles{})
        .Property("ParentFont", &TControl::ParentFont, &TControl::SetParentFont)
        .Default(true)
        .Property("HelpContext", &TControl::HelpContext, &TControl::SetHelpContext)
        .Default(0)
        .Property("Visible", &TControl::Visible, &TControl::SetVisible)
        .Default(true)
        .Property("Font.Size", [](TControl* c, int v) { c->Font().SetSize(v); })
        .Property("Font.Pitch", [](TControl* c, TFontPitch v) { c->Font().SetPitch(v); })
        .Property("ClientWidth", &TControl::SetClientWidth)
        .Property("ClientHeight", &TControl::SetClientHeight)
        .Property("ParentBackground", &TControl::SetParentBackground)
        .Property("HelpKeyword", &TControl::SetHelpKeyword)
        .Property("OnClick", [](TControl* c, TNotifyEvent e) { c->OnClick = std::move(e); });

    RegisterComponentClass<TWinControl, TControl>("TWinControl")
        .Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop)
        .Default(false)
        .Property("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
        .StoredWhen([](TWinControl* c) { return c->Parent() != nullptr; })
        .Property("OnKeyDown", [](TWinControl* c, TKeyEvent e) { c->OnKeyDown = std::move(e); })
        .Property("OnKeyPress", [](TWinControl* c, TKeyPressEvent e) { c->OnKeyPress = std::move(e); });

    RegisterComponentClass<TCustomControl, TWinControl>("TCustomControl");

    RegisterComponentClass<TForm, TWinControl>("TForm")
        .Property("BorderStyle", &TForm::BorderStyle, &TForm::SetBorderStyle)
        .Default(bsSizeable)
        .Property("BorderIcons", &TForm::BorderIcons, &TForm::SetBorderIcons)
        .Default(TBorderIcons{biSystemMenu, biMinimize, biMaximize})
        .Property("Position", &TForm::Position, &TForm::SetPosition)
        .Default(poDesigned)
        .Property("Scaled", &TForm::Scaled, &TForm::SetScaled)
        .Default(true)
        .Property("HelpFile", &TForm::HelpFile, &TForm::SetHelpFile)
        .StoredWhen([](TForm* f) { return !f->HelpFile().empty(); })
        // A form is in no tab order; descriptions may still say so.
        .Redeclare("TabOrder")
        .NeverStored()
        .Redeclare("TabStop")
        .NeverStored()
        .Property("Menu", &TForm::SetMenu)
        .Property("ClientWidth", &TForm::SetClientWidth)
        .Property("ClientHeight", &TForm::SetClientHeight)
        .Property("WindowState", &TForm::SetWindowState)
        .Property("ActiveControl", &TForm::SetActiveControl)
        .Property("OnCreate", [](TForm* f, TNotifyEvent e) { f->OnCreate = std::move(e); })
        .Property("OnClose", [](TForm* f, TCloseEvent e) { f->OnClose = std::move(e); })
        .Property("OnHelp", [](TForm* f, THelpEvent e) { f->OnHelp = std::move(e); });

    RegisterComponentClass<TMainMenu, TComponent>("TMainMenu");
    RegisterComponentClass<TMenuItem, TComponent>("TMenuItem")
        .Property("Caption", &TMenuItem::SetCaption)
        .Property("ShortCut", &TMenuItem::SetShortCut)
        .Property("Enabled", &TMenuItem::SetEnabled)
        .Property("Checked", &TMenuItem::SetChecked)
        .Property("Visible", &TMenuItem::SetVisible)
        .Property("HelpContext", &TMenuItem::SetHelpContext)
        .Property("OnClick", [](TMenuItem* m, TNotifyEvent e) { m->OnClick = std::move(e); });

    RegisterComponentClass<TOpenDialog, TComponent>("TOpenDialog")
        .Property("Filter", &TOpenDialog::SetFilter)
        .Property("Options", &TOpenDialog::SetOptions)
        .Property("FileName", &TOpenDialog::SetFileName)
        .Property("Title", &TOpenDialog::SetTitle)
        .Property("InitialDir", &TOpenDialog::SetInitialDir)
        .Property("DefaultExt", &TOpenDialog::SetDefaultExt);

    auto fontDialog = RegisterComponentClass<TFontDialog, TComponent>("TFontDialog");
    fontDialog.Property("MinFontSize", &TFontDialog::SetMinFontSize)
        .Property("MaxFontSize", &TFontDialog::SetMaxFontSize)
        .Property("Options", &TFontDialog::SetOptions)
        .Property("OnApply",
                  [](TFontDialog* d, std::function<void(TComponent*, HWND)> e) { d->OnApply = std::move(e); });
    FontProperties(fontDialog);
}

}  // namespace

void RegisterFrameworkClasses()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterConstants();
    RegisterEnums();
    RegisterClasses();
}
