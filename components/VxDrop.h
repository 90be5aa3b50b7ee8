#pragma once

// A non-visual component that makes a windowed control accept files dropped
// from the shell: it subclasses the control's window, collects the dropped
// names and raises OnDropFiles with the drop point.

#include "components/VxDropBase.h"
#include "framework/WinControls.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Point is the drop position in client coordinates of the target's window.
using TVxDropFilesEvent = std::function<void(TComponent* Sender, POINT& Point)>;

class TVxDropHook;

class TVxCustomDropFiles : public TVxDropComponent {
public:
    explicit TVxCustomDropFiles(TComponent* AOwner);
    ~TVxCustomDropFiles() override;

    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    // Files reported by the last drop message (0 before any).
    std::int32_t Count() const { return FCount; }
    // Full names of the last drop that reported files, in the shell's order.
    const std::vector<std::string>& Files() const { return FFiles; }

protected:
    bool Active() const { return FActive; }
    void SetActive(bool Value);
    TWinControl* DropTarget() const { return FDropTarget; }
    // Raises EVxDropFilesError when Value is neither empty nor a windowed control.
    void SetDropTarget(TComponent* Value);

    TVxDropFilesEvent OnDropFiles;

private:
    friend class TVxDropHook;

    void AssignTarget(TComponent* Value, bool deferHook);
    void HookTarget(bool deferHook);
    void UnhookTarget();
    // Handles WM_DROPFILES; false when the drop reports no files and the
    // message belongs to the previous procedure.
    bool DropFiles(WPARAM drop);

    bool FActive = true;
    std::int32_t FCount = 0;
    TWinControl* FDropTarget = nullptr;
    // The target seen as a component, safe to compare while it is torn down.
    TComponent* FTargetComponent = nullptr;
    std::vector<std::string> FFiles;
    TVxDropHook* FHook = nullptr;
    bool FPending = false;
};

class TVxDropFiles : public TVxCustomDropFiles {
public:
    using TVxCustomDropFiles::TVxCustomDropFiles;

    using TVxCustomDropFiles::Active;
    using TVxCustomDropFiles::DropTarget;
    using TVxCustomDropFiles::OnDropFiles;
    using TVxCustomDropFiles::SetActive;
    using TVxCustomDropFiles::SetDropTarget;
};

// Registers the drop target's class table and those it stands on;
// idempotent.
void RegisterDropFiles();
