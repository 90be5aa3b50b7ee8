#include "components/VxButtons.h"

#include "framework/Application.h"
#include "framework/ClassTable.h"

namespace {

constexpr TVxButtonStock Stock[] = {
    {"", mrNone, false, false},          {"OK", mrOk, true, false},        {"Cancel", mrCancel, false, true},
    {"&Help", mrNone, false, false},     {"&Yes", mrYes, true, false},     {"&No", mrNo, false, true},
    {"&Close", mrNone, false, false},    {"Abort", mrAbort, false, false}, {"&Retry", mrRetry, false, false},
    {"&Ignore", mrIgnore, false, false}, {"&All", mrAll, false, false},
};

// Case-sensitive, by the user's locale.
bool SameCaption(const std::string& a, const char* b)
{
    return CompareStringA(LOCALE_USER_DEFAULT, 0, a.c_str(), -1, b, -1) == CSTR_EQUAL;
}

}  // namespace

const TVxButtonStock& VxButtonStock(TVxButtonKind Kind)
{
    return Stock[Kind <= bkAll ? Kind : bkCustom];
}

TVxButton::TVxButton(TComponent* AOwner) : TButton(AOwner)
{}

TVxButtonKind TVxButton::Kind()
{
    if (FKind != bkCustom) {
        const TVxButtonStock& stock = VxButtonStock(FKind);
        if (Default() != stock.Default || Cancel() != stock.Cancel || ModalResult() != stock.ModalResult)
            FKind = bkCustom;
    }
    return FKind;
}

void TVxButton::SetKind(TVxButtonKind Value)
{
    if (Value == FKind)
        return;
    if (Value != bkCustom) {
        const TVxButtonStock& stock = VxButtonStock(Value);
        SetDefault(stock.Default);
        SetCancel(stock.Cancel);
        // A caption read before the kind was stored because it differed.
        if (*stock.Caption && !(IsLoading() && !Caption().empty()))
            SetCaption(stock.Caption);
        SetModalResult(stock.ModalResult);
    }
    FKind = Value;
    Invalidate();
}

void TVxButton::SetStyle(TButtonStyle Value)
{
    if (Value == FStyle)
        return;
    FStyle = Value;
    Invalidate();
}

void TVxButton::Click()
{
    switch (FKind) {
    case bkHelp:
        if (const std::int32_t context = FindHelpContext(this)) {
            Application->HelpContext(context);
            return;
        }
        break;
    case bkClose:
        if (TForm* form = GetParentForm(this)) {
            form->Close();
            return;
        }
        break;
    default: break;
    }
    TButton::Click();
}

void TVxButton::ActiveDefaultChanged(bool)
{
    Repaint();
}

void RegisterVxButton()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterStdControls();
    RegisterEnum<TVxButtonKind>({{"bkCustom", bkCustom},
                                 {"bkOK", bkOK},
                                 {"bkCancel", bkCancel},
                                 {"bkHelp", bkHelp},
                                 {"bkYes", bkYes},
                                 {"bkNo", bkNo},
                                 {"bkClose", bkClose},
                                 {"bkAbort", bkAbort},
                                 {"bkRetry", bkRetry},
                                 {"bkIgnore", bkIgnore},
                                 {"bkAll", bkAll}});
    RegisterEnum<TButtonStyle>({{"bsAutoDetect", bsAutoDetect}, {"bsWin31", bsWin31}, {"bsNew", bsNew}});
    // Cancel, Default and ModalResult follow from any kind but bkCustom; the
    // caption is kept when it is not the kind's own. All four come before
    // Kind, so a stored caption is in place when the kind is read.
    RegisterComponentClass<TVxButton, TButton>("TVxButton")
        .Redeclare("Cancel")
        .StoredWhen([](TVxButton* b) { return b->Kind() == bkCustom && b->Cancel(); })
        // The kind is read here too: Caption is written before Cancel, and a
        // kind that turns custom has no caption of its own.
        .Redeclare("Caption")
        .StoredWhen([](TVxButton* b) { return !SameCaption(b->Caption(), VxButtonStock(b->Kind()).Caption); })
        .Redeclare("Default")
        .StoredWhen([](TVxButton* b) { return b->Kind() == bkCustom && b->Default(); })
        .Redeclare("ModalResult")
        .StoredWhen([](TVxButton* b) { return b->Kind() == bkCustom && b->ModalResult() != mrNone; })
        .Property("Kind", &TVxButton::Kind, &TVxButton::SetKind)
        .Default(bkCustom)
        .Property("Style", &TVxButton::Style, &TVxButton::SetStyle)
        .Default(bsAutoDetect);
}
