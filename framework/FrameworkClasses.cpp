#include "framework/Dialogs.h"
#include "framework/FormReader.h"
#include "framework/Forms.h"
#include "framework/Menus.h"

namespace {

template <class T>
void FontProperties(TComponentClass& cls)
{
    cls.Property("Font.Name", [](T* c, const std::string& v) { c->Font().SetName(v); })
        .Property("Font.Height", [](T* c, int v) { c->Font().SetHeight(v); })
        .Property("Font.Size", [](T* c, int v) { c->Font().SetSize(v); })
        .Property("Font.Style", [](T* c, TFontStyles v) { c->Font().SetStyle(v); })
        .Property("Font.Charset", [](T* c, std::uint8_t v) { c->Font().SetCharset(v); })
        .Property("Font.Color", [](T* c, TColor v) { c->Font().SetColor(v); })
        .Property("Font.Pitch", [](T* c, TFontPitch v) { c->Font().SetPitch(v); });
}

void RegisterConstants()
{
    const std::pair<const char*, std::int64_t> constants[] = {
        {"clBlack", clBlack},         {"clMaroon", clMaroon},       {"clGreen", clGreen},
        {"clOlive", clOlive},         {"clNavy", clNavy},           {"clPurple", clPurple},
        {"clTeal", clTeal},           {"clGray", clGray},           {"clSilver", clSilver},
        {"clRed", clRed},             {"clLime", clLime},           {"clYellow", clYellow},
        {"clBlue", clBlue},           {"clFuchsia", clFuchsia},     {"clAqua", clAqua},
        {"clWhite", clWhite},         {"clWindow", clWindow},       {"clWindowText", clWindowText},
        {"clBtnFace", clBtnFace},     {"clHighlight", clHighlight}, {"clHighlightText", clHighlightText},
        {"clBtnText", clBtnText},     {"clGrayText", clGrayText},   {"ANSI_CHARSET", ANSI_CHARSET},
        {"DEFAULT_CHARSET", DEFAULT_CHARSET}, {"SYMBOL_CHARSET", SYMBOL_CHARSET},
        {"OEM_CHARSET", OEM_CHARSET}, {"crDefault", crDefault},     {"crArrow", crArrow},
        {"crIBeam", crIBeam},         {"crHourGlass", crHourGlass}, {"crHandPoint", crHandPoint},
    };
    for (const auto& [name, value] : constants)
        RegisterIntegerConstant(name, value);
}

void RegisterEnums()
{
    RegisterEnum<TAlign>({{"alNone", alNone}, {"alTop", alTop}, {"alBottom", alBottom}, {"alLeft", alLeft},
                          {"alRight", alRight}, {"alClient", alClient}});
    RegisterEnum<TAnchorKind>({{"akLeft", akLeft}, {"akTop", akTop}, {"akRight", akRight}, {"akBottom", akBottom}});
    RegisterEnum<TFontStyle>(
        {{"fsBold", fsBold}, {"fsItalic", fsItalic}, {"fsUnderline", fsUnderline}, {"fsStrikeOut", fsStrikeOut}});
    RegisterEnum<TFontPitch>({{"fpDefault", fpDefault}, {"fpVariable", fpVariable}, {"fpFixed", fpFixed}});
    RegisterEnum<TPosition>({{"poDesigned", poDesigned}, {"poDefault", poDefault},
                             {"poDefaultPosOnly", poDefaultPosOnly}, {"poDefaultSizeOnly", poDefaultSizeOnly},
                             {"poScreenCenter", poScreenCenter}, {"poMainFormCenter", poMainFormCenter}});
    RegisterEnum<TFormBorderStyle>({{"bsNone", bsNone}, {"bsSingle", bsSingle}, {"bsSizeable", bsSizeable},
                                    {"bsDialog", bsDialog}, {"bsToolWindow", bsToolWindow},
                                    {"bsSizeToolWin", bsSizeToolWin}});
    RegisterEnum<TBorderIcon>({{"biSystemMenu", biSystemMenu}, {"biMinimize", biMinimize},
                               {"biMaximize", biMaximize}, {"biHelp", biHelp}});
    RegisterEnum<TWindowState>({{"wsNormal", wsNormal}, {"wsMinimized", wsMinimized}, {"wsMaximized", wsMaximized}});
    RegisterEnum<TOpenOption>({{"ofReadOnly", ofReadOnly}, {"ofHideReadOnly", ofHideReadOnly},
                               {"ofPathMustExist", ofPathMustExist}, {"ofFileMustExist", ofFileMustExist},
                               {"ofEnableSizing", ofEnableSizing}, {"ofAllowMultiSelect", ofAllowMultiSelect}});
    RegisterEnum<TFontDialogOption>({{"fdAnsiOnly", fdAnsiOnly}, {"fdEffects", fdEffects},
                                     {"fdFixedPitchOnly", fdFixedPitchOnly}, {"fdForceFontExist", fdForceFontExist},
                                     {"fdLimitSize", fdLimitSize}, {"fdApplyButton", fdApplyButton}});
}

void RegisterClasses()
{
    RegisterComponentClass<TComponent>("TComponent").Property("Tag", &TComponent::SetTag);

    auto& control = RegisterComponentClass<TControl>("TControl")
                        .Property("Left", &TControl::SetLeft)
                        .Property("Top", &TControl::SetTop)
                        .Property("Width", &TControl::SetWidth)
                        .Property("Height", &TControl::SetHeight)
                        .Property("ClientWidth", &TControl::SetClientWidth)
                        .Property("ClientHeight", &TControl::SetClientHeight)
                        .Property("Align", &TControl::SetAlign)
                        .Property("Anchors", &TControl::SetAnchors)
                        .Property("Visible", &TControl::SetVisible)
                        .Property("Enabled", &TControl::SetEnabled)
                        .Property("Color", &TControl::SetColor)
                        .Property("Caption", &TControl::SetCaption)
                        .Property("ParentFont", &TControl::SetParentFont)
                        .Property("ParentBackground", &TControl::SetParentBackground)
                        .Property("HelpContext", &TControl::SetHelpContext)
                        .Property("HelpKeyword", &TControl::SetHelpKeyword)
                        .Property("Cursor", &TControl::SetCursor)
                        .Property("OnClick", [](TControl* c, TNotifyEvent e) { c->OnClick = std::move(e); });
    FontProperties<TControl>(control);

    RegisterComponentClass<TWinControl>("TWinControl")
        .Property("TabStop", &TWinControl::SetTabStop)
        .Property("TabOrder", &TWinControl::SetTabOrder)
        .Property("OnKeyDown", [](TWinControl* c, TKeyEvent e) { c->OnKeyDown = std::move(e); })
        .Property("OnKeyPress", [](TWinControl* c, TKeyPressEvent e) { c->OnKeyPress = std::move(e); });

    RegisterComponentClass<TCustomControl>("TCustomControl");

    RegisterComponentClass<TForm>("TForm")
        .Property("Menu", &TForm::SetMenu)
        .Property("ClientWidth", &TForm::SetClientWidth)
        .Property("ClientHeight", &TForm::SetClientHeight)
        .Property("Position", &TForm::SetPosition)
        .Property("BorderStyle", &TForm::SetBorderStyle)
        .Property("BorderIcons", &TForm::SetBorderIcons)
        .Property("Scaled", &TForm::SetScaled)
        .Property("HelpFile", &TForm::SetHelpFile)
        .Property("WindowState", &TForm::SetWindowState)
        .Property("ActiveControl", &TForm::SetActiveControl)
        .Property("OnCreate", [](TForm* f, TNotifyEvent e) { f->OnCreate = std::move(e); })
        .Property("OnClose", [](TForm* f, TCloseEvent e) { f->OnClose = std::move(e); })
        .Property("OnHelp", [](TForm* f, THelpEvent e) { f->OnHelp = std::move(e); });

    RegisterComponentClass<TMainMenu>("TMainMenu");
    RegisterComponentClass<TMenuItem>("TMenuItem")
        .Property("Caption", &TMenuItem::SetCaption)
        .Property("ShortCut", &TMenuItem::SetShortCut)
        .Property("Enabled", &TMenuItem::SetEnabled)
        .Property("Checked", &TMenuItem::SetChecked)
        .Property("Visible", &TMenuItem::SetVisible)
        .Property("HelpContext", &TMenuItem::SetHelpContext)
        .Property("OnClick", [](TMenuItem* m, TNotifyEvent e) { m->OnClick = std::move(e); });

    RegisterComponentClass<TOpenDialog>("TOpenDialog")
        .Property("Filter", &TOpenDialog::SetFilter)
        .Property("Options", &TOpenDialog::SetOptions)
        .Property("FileName", &TOpenDialog::SetFileName)
        .Property("Title", &TOpenDialog::SetTitle)
        .Property("InitialDir", &TOpenDialog::SetInitialDir)
        .Property("DefaultExt", &TOpenDialog::SetDefaultExt);

    auto& fontDialog = RegisterComponentClass<TFontDialog>("TFontDialog")
                           .Property("MinFontSize", &TFontDialog::SetMinFontSize)
                           .Property("MaxFontSize", &TFontDialog::SetMaxFontSize)
                           .Property("Options", &TFontDialog::SetOptions)
                           .Property("OnApply", [](TFontDialog* d, std::function<void(TComponent*, HWND)> e) {
                               d->OnApply = std::move(e);
                           });
    FontProperties<TFontDialog>(fontDialog);
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
