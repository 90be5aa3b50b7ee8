#include "components/VxDrop.h"

#include "framework/Application.h"
#include "framework/FormReader.h"
#include "framework/Forms.h"

#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// A drop handle as the shell makes it: DROPFILES, then ANSI names each
// ending in a zero, then one more zero.
HDROP MakeDrop(const std::vector<std::string>& names, POINT point)
{
    std::string list;
    for (const std::string& name : names)
        list += name + '\0';
    list += '\0';
    HGLOBAL memory = ::GlobalAlloc(GHND, sizeof(DROPFILES) + list.size());
    auto* header = static_cast<DROPFILES*>(::GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->pt = point;
    header->fNC = FALSE;
    header->fWide = FALSE;
    std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), list.data(), list.size());
    ::GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

// Wine counts an empty name list as one empty name; a block that cannot be
// locked reports no files on every system.
HDROP MakeEmptyDrop()
{
    return static_cast<HDROP>(::GlobalAlloc(GMEM_MOVEABLE, 0));
}

bool Finished(HDROP drop)
{
    return ::GlobalFlags(drop) == GMEM_INVALID_HANDLE;
}

LONG_PTR WindowProcOf(HWND window)
{
    return ::GetWindowLongPtrA(window, GWLP_WNDPROC);
}

bool AcceptsFiles(HWND window)
{
    return (::GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0;
}

struct TSeen {
    UINT Msg;
    WPARAM wParam;
    LPARAM lParam;
};

// Puts a recorder in front of a control's framework procedure: drop and
// application messages are logged and answered with a marker result.
constexpr LRESULT Marker = 0x5A5A;
void RecordMessages(TWinControl* control, std::vector<TSeen>& log)
{
    auto previous = control->WindowProc;
    control->WindowProc = [previous, &log](UINT Msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (Msg == WM_DROPFILES || Msg >= WM_APP) {
            log.push_back({Msg, wParam, lParam});
            return Marker;
        }
        return previous(Msg, wParam, lParam);
    };
}

class DropFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->OnException = [this](TComponent*, const std::exception& e) { Errors.push_back(e.what()); };
        Form = new TForm(nullptr);
        Form->SetBounds(10, 10, 400, 300);
        A = MakeControl(0);
        B = MakeControl(150);
        Drop = new TVxDropFiles(Form);
        Drop->OnDropFiles = [this](TComponent* Sender, POINT& Point) {
            EXPECT_EQ(Sender, Drop);
            Points.push_back(Point);
            Seen.push_back(Drop->Files());
        };
    }

    void TearDown() override
    {
        delete Form;
        Application->OnException = nullptr;
    }

    TWinControl* MakeControl(int left)
    {
        auto* control = new TWinControl(Form);
        control->SetParent(Form);
        control->SetBounds(left, 0, 100, 100);
        control->Handle();
        return control;
    }

    LRESULT SendDrop(TWinControl* target, HDROP drop)
    {
        return ::SendMessageA(target->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    }

    TForm* Form = nullptr;
    TWinControl* A = nullptr;
    TWinControl* B = nullptr;
    TVxDropFiles* Drop = nullptr;
    std::vector<POINT> Points;
    std::vector<std::vector<std::string>> Seen;
    std::vector<std::string> Errors;
};

TEST_F(DropFiles, CollectsNamesRaisesEventOnceAndFinishesTheDrop)
{
    std::vector<TSeen> previous;
    RecordMessages(A, previous);
    Drop->SetDropTarget(A);
    EXPECT_TRUE(AcceptsFiles(A->Handle()));

    const std::vector<std::string> three{"C:\\data\\first.bin", "C:\\data\\second file.txt", "D:\\x"};
    HDROP drop = MakeDrop(three, POINT{12, 34});
    EXPECT_EQ(SendDrop(A, drop), 0);
    EXPECT_EQ(Drop->Count(), 3);
    EXPECT_EQ(Drop->Files(), three);
    ASSERT_EQ(Points.size(), 1u);
    EXPECT_EQ(Points[0].x, 12);
    EXPECT_EQ(Points[0].y, 34);
    EXPECT_EQ(Seen[0], three);
    EXPECT_TRUE(Finished(drop));
    EXPECT_TRUE(previous.empty());

    HDROP one = MakeDrop({"E:\\only.dat"}, POINT{1, 2});
    EXPECT_EQ(SendDrop(A, one), 0);
    EXPECT_EQ(Drop->Count(), 1);
    EXPECT_EQ(Drop->Files(), std::vector<std::string>{"E:\\only.dat"});
    EXPECT_EQ(Points.size(), 2u);
    EXPECT_TRUE(Finished(one));
}

TEST_F(DropFiles, EmptyDropAndOtherMessagesReachThePreviousProcedure)
{
    std::vector<TSeen> previous;
    RecordMessages(A, previous);
    Drop->SetDropTarget(A);
    HDROP two = MakeDrop({"C:\\a", "C:\\b"}, POINT{0, 0});
    SendDrop(A, two);

    HDROP empty = MakeEmptyDrop();
    ASSERT_EQ(::DragQueryFileA(empty, 0xFFFFFFFF, nullptr, 0), 0u);
    EXPECT_EQ(SendDrop(A, empty), Marker);
    EXPECT_EQ(Drop->Count(), 0);
    EXPECT_EQ(Drop->Files(), (std::vector<std::string>{"C:\\a", "C:\\b"}));
    EXPECT_EQ(Points.size(), 1u);
    // Finishing an empty drop is the previous procedure's business.
    EXPECT_FALSE(Finished(empty));
    ::GlobalFree(empty);

    EXPECT_EQ(::SendMessageA(A->Handle(), WM_APP + 3, 0x1234, -77), Marker);
    ASSERT_EQ(previous.size(), 2u);
    EXPECT_EQ(previous[0].Msg, static_cast<UINT>(WM_DROPFILES));
    EXPECT_EQ(previous[0].wParam, reinterpret_cast<WPARAM>(empty));
    EXPECT_EQ(previous[1].Msg, static_cast<UINT>(WM_APP + 3));
    EXPECT_EQ(previous[1].wParam, 0x1234u);
    EXPECT_EQ(previous[1].lParam, -77);

    ::SetWindowTextA(A->Handle(), "through the chain");
    char text[32] = {};
    ::GetWindowTextA(A->Handle(), text, sizeof text);
    EXPECT_STREQ(text, "through the chain");
}

TEST_F(DropFiles, InactiveTargetStopsAcceptingButKeepsTheHook)
{
    Drop->SetDropTarget(A);
    const LONG_PTR hooked = WindowProcOf(A->Handle());
    Drop->SetActive(false);
    EXPECT_FALSE(Drop->Active());
    EXPECT_FALSE(AcceptsFiles(A->Handle()));
    EXPECT_EQ(WindowProcOf(A->Handle()), hooked);
    Drop->SetActive(true);
    EXPECT_TRUE(AcceptsFiles(A->Handle()));
    EXPECT_EQ(WindowProcOf(A->Handle()), hooked);

    Drop->SetActive(false);
    Drop->SetDropTarget(B);
    EXPECT_FALSE(AcceptsFiles(B->Handle()));
}

TEST_F(DropFiles, MovingTheTargetGivesTheOldWindowItsProcedureBack)
{
    const LONG_PTR ownA = WindowProcOf(A->Handle());
    const LONG_PTR ownB = WindowProcOf(B->Handle());
    Drop->SetDropTarget(A);
    EXPECT_NE(WindowProcOf(A->Handle()), ownA);

    Drop->SetDropTarget(B);
    EXPECT_EQ(Drop->DropTarget(), B);
    EXPECT_EQ(WindowProcOf(A->Handle()), ownA);
    EXPECT_FALSE(AcceptsFiles(A->Handle()));
    EXPECT_NE(WindowProcOf(B->Handle()), ownB);
    EXPECT_TRUE(AcceptsFiles(B->Handle()));

    std::vector<TSeen> onA;
    RecordMessages(A, onA);
    HDROP toA = MakeDrop({"C:\\a"}, POINT{0, 0});
    EXPECT_EQ(SendDrop(A, toA), Marker);
    EXPECT_EQ(onA.size(), 1u);
    ::GlobalFree(toA);
    HDROP toB = MakeDrop({"C:\\b"}, POINT{0, 0});
    SendDrop(B, toB);
    EXPECT_EQ(Seen, std::vector<std::vector<std::string>>{{"C:\\b"}});

    Drop->SetDropTarget(nullptr);
    EXPECT_EQ(WindowProcOf(B->Handle()), ownB);
    EXPECT_FALSE(AcceptsFiles(B->Handle()));
}

TEST_F(DropFiles, LongNamesAreCutToThePathLimit)
{
    Drop->SetDropTarget(A);
    const std::string longName = "C:\\" + std::string(300, 'n');
    SendDrop(A, MakeDrop({longName, "C:\\short"}, POINT{0, 0}));
    ASSERT_EQ(Drop->Files().size(), 2u);
    EXPECT_EQ(Drop->Files()[0], longName.substr(0, 259));
    EXPECT_EQ(Drop->Files()[1], "C:\\short");
}

TEST_F(DropFiles, NonWindowedTargetIsRefusedAndChangesNothing)
{
    Drop->SetDropTarget(A);
    const LONG_PTR hooked = WindowProcOf(A->Handle());
    auto* plain = new TComponent(Form);
    try {
        Drop->SetDropTarget(plain);
        FAIL() << "no error";
    } catch (const EVxDropFilesError& e) {
        EXPECT_EQ(e.Code, 122);
        EXPECT_EQ(e.Message(), "Drop target must be a TWinControl descendant");
    }
    EXPECT_EQ(Drop->DropTarget(), A);
    EXPECT_EQ(WindowProcOf(A->Handle()), hooked);
    EXPECT_TRUE(AcceptsFiles(A->Handle()));
}

TEST_F(DropFiles, EndOfLoadingTakesTheOwnerOnlyWhenWindowed)
{
    Drop->Loaded();
    EXPECT_EQ(Drop->DropTarget(), Form);
    EXPECT_TRUE(AcceptsFiles(Form->Handle()));

    TComponent plainOwner(nullptr);
    auto* orphan = new TVxDropFiles(&plainOwner);
    try {
        orphan->Loaded();
        FAIL() << "no error";
    } catch (const EInvalidCast& e) {
        EXPECT_EQ(e.Message(), "Invalid class typecast");
    }
    EXPECT_EQ(orphan->DropTarget(), nullptr);

    TVxDropFiles unowned(nullptr);
    EXPECT_NO_THROW(unowned.Loaded());
    EXPECT_EQ(unowned.DropTarget(), nullptr);
}

TEST_F(DropFiles, TargetDestroyedFirstIsForgotten)
{
    Drop->SetDropTarget(A);
    delete A;
    A = nullptr;
    EXPECT_EQ(Drop->DropTarget(), nullptr);

    // A target from another owner is heard of too.
    TForm other(nullptr);
    auto* foreign = new TWinControl(&other);
    foreign->SetParent(&other);
    Drop->SetDropTarget(foreign);
    delete foreign;
    EXPECT_EQ(Drop->DropTarget(), nullptr);

    Drop->SetDropTarget(B);
    SendDrop(B, MakeDrop({"C:\\after"}, POINT{0, 0}));
    EXPECT_EQ(Drop->Files(), std::vector<std::string>{"C:\\after"});
}

TEST_F(DropFiles, TargetTakenOutOfItsOwnerIsUnhooked)
{
    const LONG_PTR own = WindowProcOf(A->Handle());
    Drop->SetDropTarget(A);
    Form->RemoveComponent(A);
    EXPECT_EQ(Drop->DropTarget(), nullptr);
    EXPECT_EQ(WindowProcOf(A->Handle()), own);
    EXPECT_FALSE(AcceptsFiles(A->Handle()));
    Form->InsertComponent(A);
}

TEST_F(DropFiles, ComponentDestroyedFirstGivesTheWindowItsProcedureBack)
{
    const LONG_PTR own = WindowProcOf(A->Handle());
    Drop->SetDropTarget(A);
    delete Drop;
    Drop = nullptr;
    EXPECT_EQ(WindowProcOf(A->Handle()), own);
    EXPECT_FALSE(AcceptsFiles(A->Handle()));
    std::vector<TSeen> previous;
    RecordMessages(A, previous);
    EXPECT_EQ(::SendMessageA(A->Handle(), WM_APP, 1, 2), Marker);
    EXPECT_EQ(previous.size(), 1u);
}

// A procedure installed above the drop hook must not be cut out when the
// drop component goes; the hook then keeps forwarding.
WNDPROC OuterPrevious = nullptr;
int OuterCalls = 0;
LRESULT CALLBACK OuterProc(HWND window, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    ++OuterCalls;
    return ::CallWindowProcA(OuterPrevious, window, Msg, wParam, lParam);
}

TEST_F(DropFiles, ComponentDestroyedUnderALaterSubclassKeepsTheChain)
{
    std::vector<TSeen> previous;
    RecordMessages(A, previous);
    Drop->SetDropTarget(A);
    OuterCalls = 0;
    OuterPrevious = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(A->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OuterProc)));
    delete Drop;
    Drop = nullptr;
    EXPECT_EQ(WindowProcOf(A->Handle()), reinterpret_cast<LONG_PTR>(&OuterProc));

    HDROP drop = MakeDrop({"C:\\nobody"}, POINT{0, 0});
    EXPECT_EQ(SendDrop(A, drop), Marker);
    EXPECT_GE(OuterCalls, 1);
    EXPECT_EQ(previous.size(), 1u);
    ::GlobalFree(drop);

    // Unwinding the outer procedure leaves the forwarding hook in place.
    ::SetWindowLongPtrA(A->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OuterPrevious));
    EXPECT_EQ(::SendMessageA(A->Handle(), WM_APP + 1, 0, 0), Marker);
    EXPECT_EQ(previous.size(), 2u);
    delete A;
    A = nullptr;
}

TEST_F(DropFiles, HandlerErrorGoesToTheReportAndTheDropIsStillFinished)
{
    Drop->SetDropTarget(A);
    Drop->OnDropFiles = [](TComponent*, POINT&) { throw EInvalidOperation("Cannot open it"); };
    HDROP drop = MakeDrop({"C:\\bad"}, POINT{0, 0});
    EXPECT_EQ(SendDrop(A, drop), 0);
    EXPECT_TRUE(Finished(drop));
    EXPECT_EQ(Errors, std::vector<std::string>{"Cannot open it"});
    EXPECT_EQ(Drop->Files(), std::vector<std::string>{"C:\\bad"});
}

TEST_F(DropFiles, HandlerMayDestroyTheComponent)
{
    const LONG_PTR own = WindowProcOf(A->Handle());
    Drop->SetDropTarget(A);
    Drop->OnDropFiles = [this](TComponent*, POINT&) {
        delete Drop;
        Drop = nullptr;
    };
    HDROP drop = MakeDrop({"C:\\x"}, POINT{0, 0});
    EXPECT_EQ(SendDrop(A, drop), 0);
    EXPECT_TRUE(Finished(drop));
    EXPECT_EQ(WindowProcOf(A->Handle()), own);
}

class TDropHostForm : public TForm {
public:
    explicit TDropHostForm(TComponent* AOwner) : TForm(AOwner)
    {
        Publish("CDrop", CDrop);
        Publish("CDropDropFiles", &TDropHostForm::CDropDropFiles);
    }
    void CDropDropFiles(TComponent*, POINT&) { Opened.push_back(CDrop->Files()[0]); }

    TVxDropFiles* CDrop = nullptr;
    std::vector<std::string> Opened;
};

TEST(DropFilesDescription, HooksTheFormAtTheEndOfLoading)
{
    RegisterDropFiles();
    TDropHostForm host(nullptr);
    ReadComponentDescription(&host, R"(
        TDropHostForm Host {
            TVxDropFiles CDrop {
                DropTarget = Host
                Active = true
                OnDropFiles = CDropDropFiles
                Version = "9.99"
            }
        })");
    ASSERT_NE(host.CDrop, nullptr);
    EXPECT_EQ(host.CDrop->DropTarget(), &host);
    EXPECT_EQ(host.CDrop->Version(), "1.02");
    ASSERT_TRUE(host.HandleAllocated());
    EXPECT_TRUE(AcceptsFiles(host.Handle()));

    HDROP drop = MakeDrop({"C:\\one", "C:\\two"}, POINT{3, 4});
    EXPECT_EQ(::SendMessageA(host.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0), 0);
    EXPECT_EQ(host.Opened, std::vector<std::string>{"C:\\one"});
    EXPECT_TRUE(Finished(drop));
}

TEST(DropFilesDescription, InactiveWithoutTargetTakesTheOwnerAndRefusesDrops)
{
    RegisterDropFiles();
    TDropHostForm host(nullptr);
    ReadComponentDescription(&host, "TDropHostForm Host { TVxDropFiles CDrop { Active = false } }");
    ASSERT_NE(host.CDrop, nullptr);
    EXPECT_EQ(host.CDrop->DropTarget(), &host);
    EXPECT_FALSE(AcceptsFiles(host.Handle()));
    host.CDrop->SetActive(true);
    EXPECT_TRUE(AcceptsFiles(host.Handle()));
}

}  // namespace
