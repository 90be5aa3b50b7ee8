#pragma once

// A non-visual component that keeps its owner form's placement between runs:
// the normal rectangle and the normal / minimised / maximised state are
// written to a configuration section when the form is destroyed and applied
// when it is next created, provided the rectangle lies wholly on the desktop.
// It puts its own window procedure in front of the form's.

#include "config/VXConfig.h"
#include "framework/Forms.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class TVxFormPosition : public TComponent {
public:
    using TWindowProcedure = std::function<LRESULT(UINT Msg, WPARAM wParam, LPARAM lParam)>;

    explicit TVxFormPosition(TComponent* AOwner);
    // Gives the owner its window procedure back; does not save.
    ~TVxFormPosition() override;

    // Empty means the configuration's main section.
    const std::string& Section() const { return FSection; }
    void SetSection(const std::string& Value) { FSection = Value; }
    // False: nothing is read or written.
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }

    bool Hooked() const { return FHooked; }
    bool Restored() const { return FRestored; }
    bool Saved() const { return FSaved; }

    // Hooks the owner; the form that is becoming the main form is restored
    // here, before it is shown. Other forms restore on their first WM_MOVE.
    void Loaded() override;

    TVxConfigSectionRef OpenPositionSection();
    // At most one attempt while enabled.
    void RestorePosition();
    // At most one attempt, enabled or not.
    void SavePosition();

private:
    class THookedProc;

    void HookOwner();
    void UnhookOwner();
    // Own handling first, then always the procedure it replaced.
    LRESULT HookedWindowProc(UINT Msg, WPARAM wParam, LPARAM lParam);
    void ApplyPlacement(TForm& Form, IVxConfigSection& Position);
    TForm* OwnerForm() const;

    bool FEnabled = true;
    TWindowProcedure FOldWindowProc;
    bool FHooked = false;
    bool FRestored = false;
    bool FSaved = false;
    std::string FSection;
    // Shared with the installed procedure; cleared when this component goes,
    // so a procedure that a later hook still chains to only passes messages on.
    std::shared_ptr<TVxFormPosition*> FLink;
    TForm* FHookedForm = nullptr;
};

// The desktop that a stored placement must fit in: the virtual screen, or the
// primary screen when the system reports no monitors.
RECT DesktopRect();
// True when the rectangle is not empty and lies wholly inside DesktopRect().
bool FitsDesktop(std::int64_t Left, std::int64_t Top, std::int64_t Right, std::int64_t Bottom);

// Registers the window position's class table and those it stands on;
// idempotent.
void RegisterFormPosition();
