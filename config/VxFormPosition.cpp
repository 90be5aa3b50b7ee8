#include "config/VxFormPosition.h"

#include "framework/Application.h"
#include "framework/Boundary.h"
#include "framework/ClassTable.h"
#include "framework/Handles.h"

namespace {

constexpr const char* LeftKey = "Left";
constexpr const char* TopKey = "Top";
constexpr const char* WidthKey = "Width";
constexpr const char* HeightKey = "Height";
constexpr const char* StateKey = "State";

// Stored states: 0 normal, 1 minimised, 2 maximised; any other value is
// taken as normal.
UINT ShowCommandOf(std::int32_t State)
{
    return State == 1 ? SW_SHOWMINIMIZED : State == 2 ? SW_SHOWMAXIMIZED : SW_SHOW;
}

TWindowState WindowStateOf(std::int32_t State)
{
    return State == 1 ? wsMinimized : State == 2 ? wsMaximized : wsNormal;
}

WINDOWPLACEMENT EmptyPlacement()
{
    WINDOWPLACEMENT Placement{};
    Placement.length = sizeof Placement;
    return Placement;
}

}  // namespace

// What the owner's WindowProc holds while hooked; a copy of the replaced
// procedure travels with it, so it still passes messages on after the
// component is gone.
class TVxFormPosition::THookedProc {
public:
    THookedProc(std::shared_ptr<TVxFormPosition*> Link, TWindowProcedure Old)
        : FLink(std::move(Link)), FOld(std::move(Old))
    {}
    LRESULT operator()(UINT Msg, WPARAM wParam, LPARAM lParam) const
    {
        if (TVxFormPosition* Self = *FLink)
            return Self->HookedWindowProc(Msg, wParam, lParam);
        return FOld(Msg, wParam, lParam);
    }
    bool BelongsTo(const std::shared_ptr<TVxFormPosition*>& Link) const { return FLink == Link; }

private:
    std::shared_ptr<TVxFormPosition*> FLink;
    TWindowProcedure FOld;
};

TVxFormPosition::TVxFormPosition(TComponent* AOwner) : TComponent(AOwner)
{}

TVxFormPosition::~TVxFormPosition()
{
    UnhookOwner();
}

TForm* TVxFormPosition::OwnerForm() const
{
    return dynamic_cast<TForm*>(Owner());
}

void TVxFormPosition::Loaded()
{
    TComponent::Loaded();
    HookOwner();
    // The application names its main form only once the form is built, so
    // while the first form is loading there is none yet.
    TForm* Main = Application ? Application->MainForm() : nullptr;
    if (Main != nullptr && Main != Owner())
        return;
    // A placement that cannot be read or a configuration that cannot be
    // saved must not keep the window from opening: report and go on.
    try {
        RestorePosition();
    } catch (...) {
        Application->HandleException();
    }
}

void TVxFormPosition::HookOwner()
{
    if (!FHooked) {
        if (TForm* Form = OwnerForm()) {
            FOldWindowProc = Form->WindowProc;
            FLink = std::make_shared<TVxFormPosition*>(this);
            Form->WindowProc = THookedProc(FLink, FOldWindowProc);
            FHookedForm = Form;
        }
    }
    FHooked = true;
}

void TVxFormPosition::UnhookOwner()
{
    if (!FHooked)
        return;
    if (FHookedForm) {
        // Another component may have hooked in front of this one since; it
        // keeps its chain, and this link then merely passes messages on.
        const auto* Current = FHookedForm->WindowProc.target<THookedProc>();
        if (Current && Current->BelongsTo(FLink))
            FHookedForm->WindowProc = FOldWindowProc;
        *FLink = nullptr;
        FHookedForm = nullptr;
    }
    FHooked = false;
}

LRESULT TVxFormPosition::HookedWindowProc(UINT Msg, WPARAM wParam, LPARAM lParam)
{
    // Kept aside: whatever the handling does to this component, the message
    // still reaches the procedure it replaced.
    const TWindowProcedure Previous = FOldWindowProc;
    CatchAtBoundary([&] {
        switch (Msg) {
        case WM_DESTROY:
            // Only when the form and its components go; a window destroyed
            // to be made again does not save.
            if (IsDestroying())
                SavePosition();
            break;
        case WM_MOVE:
            if (!FRestored)
                RestorePosition();
            break;
        default: break;
        }
    });
    return Previous(Msg, wParam, lParam);
}

TVxConfigSectionRef TVxFormPosition::OpenPositionSection()
{
    return FSection.empty() ? Configuration().MainSection() : Configuration().OpenSection(FSection);
}

void TVxFormPosition::RestorePosition()
{
    if (FRestored || !FEnabled)
        return;
    FRestored = true;
    TForm* Form = OwnerForm();
    if (!Form)
        return;
    TVxConfigSectionRef Position = OpenPositionSection();
    ApplyPlacement(*Form, *Position);
    // Released here rather than by the destructor, so the error of the save
    // it may make reaches the caller.
    Position.Release();
}

void TVxFormPosition::ApplyPlacement(TForm& Form, IVxConfigSection& Position)
{
    WINDOWPLACEMENT Placement = EmptyPlacement();
    // A form that is not shown yet (the main window while it loads) gets its
    // state when it is shown; a visible one at once, and only when stored.
    const bool Visible = Form.Visible();
    if (Visible) {
        const std::int32_t State = Position.ReadInteger(StateKey, -1);
        if (State < 0)
            return;
        Placement.showCmd = ShowCommandOf(State);
    } else {
        Placement.showCmd = SW_HIDE;
    }
    const std::int64_t Left = Position.ReadInteger(LeftKey, 0);
    const std::int64_t Top = Position.ReadInteger(TopKey, 0);
    const std::int64_t Right = Left + Position.ReadInteger(WidthKey, 0);
    const std::int64_t Bottom = Top + Position.ReadInteger(HeightKey, 0);
    if (!FitsDesktop(Left, Top, Right, Bottom))
        return;
    // Inside the desktop, so every edge fits a LONG.
    Placement.rcNormalPosition =
        RECT{static_cast<LONG>(Left), static_cast<LONG>(Top), static_cast<LONG>(Right), static_cast<LONG>(Bottom)};
    ThrowLastErrorIf(!::SetWindowPlacement(Form.Handle(), &Placement), "SetWindowPlacement");
    // Showing the form applies the form's own state, so it has to agree with
    // the placement just set.
    Form.SetWindowState(WindowStateOf(Position.ReadInteger(StateKey, 0)));
}

void TVxFormPosition::SavePosition()
{
    if (FSaved)
        return;
    FSaved = true;
    TForm* Form = OwnerForm();
    if (!FEnabled || !Form || !Form->HandleAllocated())
        return;
    WINDOWPLACEMENT Placement = EmptyPlacement();
    ThrowLastErrorIf(!::GetWindowPlacement(Form->Handle(), &Placement), "GetWindowPlacement");
    std::int32_t State = 0;
    if (::IsIconic(Application->Handle()) || Placement.showCmd == SW_SHOWMINIMIZED)
        State = 1;
    else if (Placement.showCmd == SW_SHOWMAXIMIZED)
        State = 2;
    const RECT& Normal = Placement.rcNormalPosition;
    TVxConfigSectionRef Position = OpenPositionSection();
    Position->WriteInteger(LeftKey, Normal.left);
    Position->WriteInteger(TopKey, Normal.top);
    Position->WriteInteger(WidthKey, Normal.right - Normal.left);
    Position->WriteInteger(HeightKey, Normal.bottom - Normal.top);
    Position->WriteInteger(StateKey, State);
    // The last accessor's release writes the file.
    Position.Release();
}

RECT DesktopRect()
{
    if (::GetSystemMetrics(SM_CMONITORS) != 0) {
        const int Left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
        const int Top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
        return RECT{Left, Top, Left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                    Top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    }
    return RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

bool FitsDesktop(std::int64_t Left, std::int64_t Top, std::int64_t Right, std::int64_t Bottom)
{
    if (Top >= Bottom || Left >= Right)
        return false;
    const RECT Desktop = DesktopRect();
    return Left >= Desktop.left && Top >= Desktop.top && Right <= Desktop.right && Bottom <= Desktop.bottom;
}

void RegisterFormPosition()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterFrameworkClasses();
    RegisterComponentClass<TVxFormPosition, TComponent>("TVxFormPosition")
        .Property("Section", &TVxFormPosition::SetSection)
        .Property("Enabled", &TVxFormPosition::SetEnabled);
}
