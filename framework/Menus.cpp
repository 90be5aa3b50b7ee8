#include "framework/Menus.h"

namespace {
// Command identifiers start above the dialog manager's IDOK..IDHELP.
WORD NextCommand()
{
    static WORD next = 100;
    if (next >= 0xEFFF)
        next = 100;
    return next++;
}
}  // namespace

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), FCommand(NextCommand())
{}

TMenuItem::~TMenuItem()
{
    Destroying();
    while (!FItems.empty())
        delete FItems.back();
    if (FParent)
        FParent->Remove(this);
}

void TMenuItem::SetCaption(const std::string& Value)
{
    if (Value == FCaption)
        return;
    FCaption = Value;
    Changed();
}

void TMenuItem::SetShortCut(TShortCut Value)
{
    if (Value == FShortCut)
        return;
    FShortCut = Value;
    Changed();
}

void TMenuItem::SetEnabled(bool Value)
{
    if (Value == FEnabled)
        return;
    FEnabled = Value;
    Changed();
}

void TMenuItem::SetChecked(bool Value)
{
    if (Value == FChecked)
        return;
    FChecked = Value;
    Changed();
}

void TMenuItem::SetVisible(bool Value)
{
    if (Value == FVisible)
        return;
    FVisible = Value;
    Changed();
}

void TMenuItem::Click()
{
    if (OnClick)
        OnClick(this);
}

void TMenuItem::Add(TMenuItem* Item)
{
    Insert(Count(), Item);
}

void TMenuItem::Insert(int Index, TMenuItem* Item)
{
    if (!Item || Item == this)
        throw EInvalidOperation("Cannot insert a menu item into itself");
    if (Item->FParent)
        Item->FParent->Remove(Item);
    const auto at = static_cast<std::size_t>(std::clamp(Index, 0, Count()));
    FItems.insert(FItems.begin() + static_cast<std::ptrdiff_t>(at), Item);
    Item->FParent = this;
    Changed();
}

void TMenuItem::Remove(TMenuItem* Item)
{
    std::erase(FItems, Item);
    if (Item->FParent == this)
        Item->FParent = nullptr;
    Changed();
}

void TMenuItem::SetParentComponent(TComponent* Value)
{
    if (auto* item = dynamic_cast<TMenuItem*>(Value))
        item->Add(this);
    else if (auto* menu = dynamic_cast<TMainMenu*>(Value))
        menu->Items().Add(this);
}

TMenuItem* TMenuItem::FindItem(WORD command)
{
    if (command == FCommand)
        return this;
    for (TMenuItem* item : FItems)
        if (TMenuItem* found = item->FindItem(command))
            return found;
    return nullptr;
}

std::string TMenuItem::DisplayText() const
{
    const std::string keys = ShortCutToText(FShortCut);
    return keys.empty() ? FCaption : FCaption + "\t" + keys;
}

TMainMenu* TMenuItem::Menu() const
{
    const TMenuItem* item = this;
    while (item->FParent)
        item = item->FParent;
    return item->FMenu;
}

void TMenuItem::Changed()
{
    if (TMainMenu* menu = Menu())
        menu->Changed();
}

TMainMenu::TMainMenu(TComponent* AOwner) : TComponent(AOwner), FItems(nullptr)
{
    FItems.FMenu = this;
}

TMainMenu::~TMainMenu()
{
    Destroying();
    SetWindow(nullptr);
}

HMENU TMainMenu::Handle()
{
    if (!FHandle) {
        TMenuHandle menu(CreateMenu());
        ThrowLastErrorIf(!menu, "CreateMenu");
        AppendItems(menu.Get(), FItems);
        FHandle = std::move(menu);
    }
    return FHandle.Get();
}

void TMainMenu::AppendItems(HMENU menu, TMenuItem& parent)
{
    for (TMenuItem* item : parent.FItems) {
        if (!item->Visible())
            continue;
        if (item->IsLine()) {
            ThrowLastErrorIf(!AppendMenuA(menu, MF_SEPARATOR, 0, nullptr), "AppendMenuA");
            continue;
        }
        UINT flags = MF_STRING;
        if (!item->Enabled())
            flags |= MF_GRAYED;
        if (item->Checked())
            flags |= MF_CHECKED;
        const std::string text = item->DisplayText();
        if (item->Count() > 0) {
            TMenuHandle popup(CreatePopupMenu());
            ThrowLastErrorIf(!popup, "CreatePopupMenu");
            AppendItems(popup.Get(), *item);
            ThrowLastErrorIf(
                !AppendMenuA(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(popup.Get()), text.c_str()),
                "AppendMenuA");
            popup.Release();  // now part of `menu`
        } else {
            ThrowLastErrorIf(!AppendMenuA(menu, flags, item->Command(), text.c_str()), "AppendMenuA");
        }
    }
}

void TMainMenu::SetWindow(HWND window)
{
    // The window it is on already keeps it.
    if (window && window == FWindow && FHandle && GetMenu(window) == FHandle.Get())
        return;
    if (FWindow && IsWindow(FWindow) && FHandle && GetMenu(FWindow) == FHandle.Get())
        ::SetMenu(FWindow, nullptr);
    FWindow = window;
    // A window made with this menu has it already.
    if (FWindow && GetMenu(FWindow) != Handle()) {
        ThrowLastErrorIf(!::SetMenu(FWindow, Handle()), "SetMenu");
        DrawMenuBar(FWindow);
    }
}

void TMainMenu::Changed()
{
    FAcceleratorsValid = false;
    if (IsDestroying() || !FHandle)
        return;
    HWND window = FWindow;
    SetWindow(nullptr);
    FHandle.Reset();
    if (window)
        SetWindow(window);
}

void TMainMenu::CollectAccelerators(TMenuItem& parent, std::vector<ACCEL>& table)
{
    for (TMenuItem* item : parent.FItems) {
        if (item->ShortCut() != scNone && item->Count() == 0) {
            ACCEL accel{};
            accel.fVirt = FVIRTKEY;
            if (item->ShortCut() & scShift)
                accel.fVirt |= FSHIFT;
            if (item->ShortCut() & scCtrl)
                accel.fVirt |= FCONTROL;
            if (item->ShortCut() & scAlt)
                accel.fVirt |= FALT;
            accel.key = static_cast<WORD>(item->ShortCut() & 0xFF);
            accel.cmd = item->Command();
            table.push_back(accel);
        }
        CollectAccelerators(*item, table);
    }
}

HACCEL TMainMenu::Accelerators()
{
    if (!FAcceleratorsValid) {
        std::vector<ACCEL> table;
        CollectAccelerators(FItems, table);
        FAccelerators.Reset();
        if (!table.empty()) {
            FAccelerators.Reset(CreateAcceleratorTableA(table.data(), static_cast<int>(table.size())));
            ThrowLastErrorIf(!FAccelerators, "CreateAcceleratorTableA");
        }
        FAcceleratorsValid = true;
    }
    return FAccelerators.Get();
}

bool TMainMenu::DispatchCommand(WORD command)
{
    TMenuItem* item = FItems.FindItem(command);
    if (!item || item == &FItems)
        return false;
    if (item->Enabled() && item->Count() == 0)
        item->Click();
    return true;
}
