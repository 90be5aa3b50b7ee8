#include "components/VxDrop.h"

#include "components/VxDropConst.h"
#include "framework/Boundary.h"
#include "framework/ClassTable.h"
#include "framework/Forms.h"
#include "framework/InstanceProc.h"
#include "framework/SysError.h"

#include <shellapi.h>

#include <cstdint>
#include <utility>

namespace {

// Owns a drop handle until DragFinish.
class TDropHandle {
public:
    explicit TDropHandle(HDROP drop) : FDrop(drop) {}
    ~TDropHandle() { ::DragFinish(FDrop); }
    TDropHandle(const TDropHandle&) = delete;
    TDropHandle& operator=(const TDropHandle&) = delete;

private:
    HDROP FDrop;
};

}  // namespace

// The subclassing of one window for one drop component. It can outlive its
// component: when another procedure was installed above it, taking it out
// would cut that one off, so it stays in the chain forwarding every message
// until the window is destroyed. It also stays alive while one of its calls
// is running, since a message may end in the destruction of its component.
class TVxDropHook {
public:
    static TVxDropHook* Install(TVxCustomDropFiles* owner, HWND window)
    {
        auto* hook = new TVxDropHook(owner, window);
        ::SetLastError(0);
        const LONG_PTR previous =
            ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hook->FThunk.Proc()));
        if (!previous && ::GetLastError() != 0) {
            const DWORD error = ::GetLastError();
            delete hook;
            RaiseOSError("SetWindowLongA", error);
        }
        hook->FPrevious = reinterpret_cast<WNDPROC>(previous);
        hook->FInChain = true;
        return hook;
    }

    HWND Window() const { return FWindow; }
    bool WindowAlive() const { return FWindowAlive; }

    // Parts from the owner, giving the window its previous procedure back
    // when this hook is still the one the window calls first.
    void Release()
    {
        FOwner = nullptr;
        if (FInChain && FWindowAlive &&
            ::GetWindowLongPtrA(FWindow, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(FThunk.Proc())) {
            ::SetWindowLongPtrA(FWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FPrevious));
            FInChain = false;
        }
        DeleteIfUnused();
    }

private:
    TVxDropHook(TVxCustomDropFiles* owner, HWND window) : FOwner(owner), FWindow(window), FThunk(this, &Proc) {}

    static LRESULT CALLBACK Proc(HWND self, UINT Msg, WPARAM wParam, LPARAM lParam)
    {
        auto* hook = reinterpret_cast<TVxDropHook*>(self);
        ++hook->FDepth;
        const LRESULT result = CatchAtBoundary(LRESULT{0}, [&] {
            if (Msg == WM_DROPFILES && hook->FOwner && hook->FOwner->DropFiles(wParam))
                return LRESULT{0};
            return ::CallWindowProcA(hook->FPrevious, hook->FWindow, Msg, wParam, lParam);
        });
        --hook->FDepth;
        if (Msg == WM_NCDESTROY) {
            hook->FWindowAlive = false;
            hook->FInChain = false;
        }
        hook->DeleteIfUnused();
        return result;
    }

    // A call may free its own instance procedure on its way out.
    void DeleteIfUnused()
    {
        if (!FOwner && !FInChain && FDepth == 0)
            delete this;
    }

    TVxCustomDropFiles* FOwner;
    HWND FWindow;
    WNDPROC FPrevious = nullptr;
    TInstanceProc FThunk;
    int FDepth = 0;
    bool FInChain = false;
    bool FWindowAlive = true;
};

TVxCustomDropFiles::TVxCustomDropFiles(TComponent* AOwner) : TVxDropComponent(AOwner)
{
    // Running, the target waits for a setter or the end of loading.
    if (IsDesigning()) {
        FDropTarget = dynamic_cast<TWinControl*>(AOwner);
        FTargetComponent = FDropTarget;
    }
}

TVxCustomDropFiles::~TVxCustomDropFiles()
{
    // A window that stays behind no longer accepts files nobody would take.
    if (FHook && FHook->WindowAlive())
        ::DragAcceptFiles(FHook->Window(), FALSE);
    UnhookTarget();
}

void TVxCustomDropFiles::Loaded()
{
    TVxDropComponent::Loaded();
    if (IsDesigning())
        return;
    if (FPending)
        AssignTarget(FTargetComponent, false);
    if (!FDropTarget && Owner()) {
        auto* owner = dynamic_cast<TWinControl*>(Owner());
        if (!owner)
            RaiseInvalidCast();
        AssignTarget(owner, false);
    }
    if (FActive && FDropTarget)
        ::DragAcceptFiles(FDropTarget->Handle(), TRUE);
}

void TVxCustomDropFiles::Notification(TComponent* AComponent, TOperation Operation)
{
    TVxDropComponent::Notification(AComponent, Operation);
    if (Operation != opRemove || !AComponent || AComponent != FTargetComponent || IsDestroying())
        return;
    // A target being destroyed has lost its window already (and its
    // windowed part, so it is not asked); the hook saw the window go.
    if (FHook && FHook->WindowAlive())
        ::DragAcceptFiles(FHook->Window(), FALSE);
    else if (!FHook && !AComponent->IsDestroying() && FDropTarget->HandleAllocated())
        ::DragAcceptFiles(FDropTarget->Handle(), FALSE);
    UnhookTarget();
    FDropTarget = nullptr;
    FTargetComponent = nullptr;
    FPending = false;
}

void TVxCustomDropFiles::SetActive(bool Value)
{
    FActive = Value;
    if (!IsDesigning() && FDropTarget && !FPending)
        ::DragAcceptFiles(FDropTarget->Handle(), Value ? TRUE : FALSE);
}

void TVxCustomDropFiles::SetDropTarget(TComponent* Value)
{
    AssignTarget(Value, IsLoading());
}

void TVxCustomDropFiles::AssignTarget(TComponent* Value, bool deferHook)
{
    TWinControl* target = nullptr;
    if (Value) {
        target = dynamic_cast<TWinControl*>(Value);
        if (!target)
            throw EVxDropFilesError(SVxDropTargetNotWinControl);
    }
    if (IsDesigning()) {
        FDropTarget = target ? target : dynamic_cast<TWinControl*>(Owner());
        FTargetComponent = FDropTarget;
        return;
    }
    UnhookTarget();
    TWinControl* old = FDropTarget;
    TComponent* oldComponent = FTargetComponent;
    FDropTarget = target;
    FTargetComponent = Value;
    if (oldComponent != Value) {
        // Free notification is kept on both sides; both must forget it.
        if (oldComponent) {
            oldComponent->RemoveFreeNotification(this);
            RemoveFreeNotification(oldComponent);
        }
        // Heard of even when the target belongs to another owner.
        if (Value)
            Value->FreeNotification(this);
    }
    HookTarget(deferHook);
    if (old && old->HandleAllocated())
        ::DragAcceptFiles(old->Handle(), FALSE);
    if (target && !FPending)
        ::DragAcceptFiles(target->Handle(), FActive ? TRUE : FALSE);
}

// While loading, a target without a window waits for Loaded rather than
// having its window made before its own description is complete.
void TVxCustomDropFiles::HookTarget(bool deferHook)
{
    if (FDropTarget && deferHook && !FDropTarget->HandleAllocated()) {
        FPending = true;
        return;
    }
    FPending = false;
    if (FHook || !FDropTarget)
        return;
    FHook = TVxDropHook::Install(this, FDropTarget->Handle());
}

void TVxCustomDropFiles::UnhookTarget()
{
    if (!FHook)
        return;
    std::exchange(FHook, nullptr)->Release();
}

bool TVxCustomDropFiles::DropFiles(WPARAM drop)
{
    const auto handle = reinterpret_cast<HDROP>(drop);
    const UINT count = ::DragQueryFileA(handle, 0xFFFFFFFF, nullptr, 0);
    FCount = static_cast<std::int32_t>(count);
    if (count == 0)
        return false;
    // Declared first so the handle is finished however the handler ends;
    // nothing after the handler touches this component, which the handler
    // may have destroyed.
    TDropHandle finish(handle);
    try {
        FFiles.clear();
        char name[MAX_PATH];
        for (UINT i = 0; i < count; ++i) {
            name[0] = '\0';
            ::DragQueryFileA(handle, i, name, MAX_PATH);
            FFiles.emplace_back(name);
        }
        POINT point{};
        ::DragQueryPoint(handle, &point);
        if (OnDropFiles) {
            const TVxDropFilesEvent handler = OnDropFiles;
            handler(this, point);
        }
    } catch (...) {
        ReportBoundaryError();
    }
    return true;
}

void RegisterDropFiles()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterFrameworkClasses();
    RegisterComponentClass<TVxDropFiles, TComponent>("TVxDropFiles")
        .Property("DropTarget", &TVxDropFiles::SetDropTarget)
        .Property("Active", &TVxDropFiles::SetActive)
        .Property("OnDropFiles",
                  [](TVxDropFiles* drop, TVxDropFilesEvent handler) { drop->OnDropFiles = std::move(handler); })
        .Property("Version", &TVxDropFiles::SetVersion);
}
