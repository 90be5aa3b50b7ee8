#pragma once

// The main menu and its items: captions with & mnemonics, "-" separators,
// shortcuts shown in the item text and working as accelerators.

#include <windows.h>

#include <algorithm>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/Component.h"
#include "framework/Handles.h"
#include "framework/ShortCuts.h"

class TMainMenu;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value);
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    bool Checked() const { return FChecked; }
    void SetChecked(bool Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    std::int32_t HelpContext() const { return FHelpContext; }
    void SetHelpContext(std::int32_t Value) { FHelpContext = Value; }
    bool IsLine() const { return FCaption == "-"; }

    TNotifyEvent OnClick;
    virtual void Click();

    int Count() const { return static_cast<int>(FItems.size()); }
    TMenuItem* Items(int i) const { return FItems.at(static_cast<std::size_t>(i)); }
    TMenuItem* Parent() const { return FParent; }
    void Add(TMenuItem* Item);
    void Insert(int Index, TMenuItem* Item);
    void Remove(TMenuItem* Item);
    void SetParentComponent(TComponent* Value) override;

    // The command identifier of WM_COMMAND for this item.
    WORD Command() const { return FCommand; }
    // The item of a command or a help-context lookup, this item or below.
    TMenuItem* FindItem(WORD command);
    // The text shown: the caption, then a tab and the shortcut's text.
    std::string DisplayText() const;

private:
    friend class TMainMenu;
    void Changed();
    TMainMenu* Menu() const;

    std::string FCaption;
    TShortCut FShortCut = scNone;
    bool FEnabled = true;
    bool FChecked = false;
    bool FVisible = true;
    std::int32_t FHelpContext = 0;
    WORD FCommand;
    TMenuItem* FParent = nullptr;
    TMainMenu* FMenu = nullptr;
    std::vector<TMenuItem*> FItems;
};

class TMainMenu : public TComponent {
public:
    explicit TMainMenu(TComponent* AOwner);
    ~TMainMenu() override;

    // The top-level items; owned by the menu when not owned otherwise.
    TMenuItem& Items() { return FItems; }

    // The menu bar, built on first use and rebuilt after changes.
    HMENU Handle();
    // Shows the bar on a window (nullptr takes it off again); the menu stays
    // the owner of the bar, so a window is never left with a destroyed one.
    void SetWindow(HWND window);
    HWND Window() const { return FWindow; }
    // Accelerator table of the items' shortcuts; nullptr when none.
    HACCEL Accelerators();
    // Runs the item of a WM_COMMAND; false when no item has that command.
    bool DispatchCommand(WORD command);
    TMenuItem* FindItem(WORD command) { return FItems.FindItem(command); }

    // Rebuilds the bar and the accelerators after an item changed.
    void Changed();

private:
    void AppendItems(HMENU menu, TMenuItem& parent);
    void CollectAccelerators(TMenuItem& parent, std::vector<ACCEL>& table);

    TMenuItem FItems;
    TMenuHandle FHandle;
    HWND FWindow = nullptr;
    TAcceleratorHandle FAccelerators;
    bool FAcceleratorsValid = false;
};
