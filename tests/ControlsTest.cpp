// Controls on real windows: the window procedure, fonts, alignment, keys,
// focus and the dialog keyboard of modal forms.

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "framework/Application.h"
#include "framework/Forms.h"
#include "tests/support/TestDriver.h"

namespace {

// Keys pressed here reach only this test's windows.
[[maybe_unused]] const bool OnOwnDesktop = TestDriver::UsePrivateDesktop();

constexpr UINT WM_THROW = WM_APP + 1;

class TProbe : public TCustomControl {
public:
    explicit TProbe(TComponent* owner) : TCustomControl(owner)
    {
        if (auto* parent = dynamic_cast<TWinControl*>(owner))
            SetParent(parent);
        SetTabStop(true);
        SetBounds(0, 0, 50, 20);
    }
    int FontChanges = 0;
    std::vector<WORD> Keys;
    LRESULT DlgCode = 0;

    void KeyDown(WORD& Key, TShiftState Shift) override
    {
        TCustomControl::KeyDown(Key, Shift);
        Keys.push_back(Key);
    }

protected:
    void FontChanged() override
    {
        TCustomControl::FontChanged();
        ++FontChanges;
    }
    LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override
    {
        if (Msg == WM_THROW)
            throw EVxError("thrown in the window procedure");
        if (Msg == WM_GETDLGCODE && DlgCode)
            return DlgCode;
        return TCustomControl::WndProc(Msg, wParam, lParam);
    }
};

// A control on the system's edit class that records what comes back to it
// from its parent.
class TEditProbe : public TWinControl {
public:
    explicit TEditProbe(TWinControl* parent) : TWinControl(parent)
    {
        SetParent(parent);
        SetBounds(0, 0, 120, 24);
    }
    std::vector<std::pair<UINT, WORD>> Reflected;

    void CreateParams(TCreateParams& Params) override
    {
        TWinControl::CreateParams(Params);
        Params.WinClassName = "EDIT";
    }

protected:
    LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override
    {
        if (Msg == CN_COMMAND || Msg == CN_NOTIFY) {
            Reflected.emplace_back(Msg, HIWORD(wParam));
            return 0;
        }
        return TWinControl::WndProc(Msg, wParam, lParam);
    }
};

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Reports.clear();
        Application->OnException = [this](TComponent*, const std::exception& e) { Reports.push_back(e.what()); };
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 400, 300);
    }
    void TearDown() override
    {
        delete Form;
        Application->OnException = nullptr;
    }

    TForm* Form = nullptr;
    std::vector<std::string> Reports;
};

}  // namespace

TEST_F(ControlsTest, ExceptionsStopAtTheWindowProcedureAndReachTheErrorReport)
{
    auto* probe = new TProbe(Form);
    HWND window = probe->Handle();
    SendMessageA(window, WM_THROW, 0, 0);
    ASSERT_EQ(Reports, (std::vector<std::string>{"thrown in the window procedure"}));
    // The control still works afterwards.
    SetWindowTextA(window, "still here");
    char text[32] = {};
    GetWindowTextA(window, text, sizeof text);
    EXPECT_STREQ(text, "still here");
}

TEST_F(ControlsTest, WindowsAreMadeParentFirstAndGoWithTheirOwner)
{
    auto* probe = new TProbe(Form);
    EXPECT_FALSE(Form->HandleAllocated());
    HWND child = probe->Handle();
    ASSERT_TRUE(Form->HandleAllocated());
    EXPECT_EQ(GetParent(child), Form->Handle());
    EXPECT_EQ(FindControl(child), probe);
    EXPECT_EQ(GetClassLongA(child, GCL_STYLE) & (CS_HREDRAW | CS_VREDRAW), UINT(CS_HREDRAW | CS_VREDRAW));
    HWND top = Form->Handle();
    delete Form;
    Form = nullptr;
    EXPECT_FALSE(IsWindow(child));
    EXPECT_FALSE(IsWindow(top));
}

TEST_F(ControlsTest, AControlWithoutAParentHasNoWindow)
{
    TProbe orphan(nullptr);
    EXPECT_THROW(orphan.Handle(), EInvalidOperation);
}

TEST_F(ControlsTest, FontChangesReachTheControlOnceEach)
{
    auto* probe = new TProbe(Form);
    probe->FontChanges = 0;
    probe->Font().SetName("Courier New");
    EXPECT_EQ(probe->FontChanges, 1);
    probe->Font().SetName("Courier New");
    EXPECT_EQ(probe->FontChanges, 1) << "an unchanged value is no change";
    TFont other;
    other.SetName("Tahoma");
    other.SetHeight(-20);
    other.SetStyle({fsBold, fsItalic});
    probe->Font().Assign(other);
    EXPECT_EQ(probe->FontChanges, 2);
    EXPECT_EQ(probe->Font().Name(), "Tahoma");
    EXPECT_EQ(probe->Font().Height(), -20);
    EXPECT_TRUE(probe->Font().Style().Contains(fsItalic));
}

TEST_F(ControlsTest, CanvasMeasuresWithItsCurrentFont)
{
    auto* probe = new TProbe(Form);
    TCanvas& canvas = probe->Canvas();
    canvas.Font().SetHeight(-10);
    const int small = canvas.TextHeight("A");
    canvas.Font().SetHeight(-40);
    const int large = canvas.TextHeight("A");
    EXPECT_GT(large, small * 3);
    EXPECT_GT(canvas.TextWidth("WWWW"), canvas.TextWidth("W"));
}

TEST_F(ControlsTest, CustomControlsPaintTheSameOnTheScreenAndOnAMemoryBitmap)
{
    auto* probe = new TProbe(Form);
    probe->SetBounds(10, 10, 60, 40);
    probe->SetColor(clPurple);
    Form->Show();
    ASSERT_TRUE(TestDriver::Activate(Form->Handle()));
    RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    // The screen may show the painting a little later than it is done.
    TestDriver::TCapture screen;
    for (int i = 0; i < 40; ++i) {
        screen = TestDriver::CaptureWindow(probe->Handle());
        if (screen.Width == 60 && screen.At(30, 20) == 0x800080u)
            break;
        TestDriver::Pause(50);
    }
    ASSERT_EQ(screen.Width, 60);
    EXPECT_EQ(screen.At(30, 20), 0x800080u);

    TestDriver::TDibImage memory(60, 40);
    ASSERT_NE(memory.DC(), nullptr);
    probe->PaintTo(memory.DC());
    EXPECT_EQ(GetPixel(memory.DC(), 30, 20), RGB(128, 0, 128));
    EXPECT_EQ(memory.At(30, 20), 0x800080u);
}

TEST_F(ControlsTest, ParentFontIsFollowedUntilTheControlGetsItsOwn)
{
    auto* probe = new TProbe(Form);
    Form->Font().SetName("Tahoma");
    EXPECT_EQ(probe->Font().Name(), "Tahoma");
    EXPECT_TRUE(probe->ParentFont());
    probe->Font().SetHeight(-30);
    EXPECT_FALSE(probe->ParentFont());
    Form->Font().SetName("Courier New");
    EXPECT_EQ(probe->Font().Name(), "Tahoma");
}

TEST_F(ControlsTest, AlignedControlsShareTheClientAreaAndFollowItsSize)
{
    auto* top = new TProbe(Form);
    auto* bottom = new TProbe(Form);
    auto* left = new TProbe(Form);
    auto* client = new TProbe(Form);
    top->SetHeight(20);
    bottom->SetHeight(30);
    left->SetWidth(40);
    client->SetAlign(alClient);
    left->SetAlign(alLeft);
    bottom->SetAlign(alBottom);
    top->SetAlign(alTop);
    Form->Handle();
    const int w = Form->ClientWidth();
    const int h = Form->ClientHeight();
    auto bounds = [](TControl* c) { return std::vector<int>{c->Left(), c->Top(), c->Width(), c->Height()}; };
    EXPECT_EQ(bounds(top), (std::vector<int>{0, 0, w, 20}));
    EXPECT_EQ(bounds(bottom), (std::vector<int>{0, h - 30, w, 30}));
    EXPECT_EQ(bounds(left), (std::vector<int>{0, 20, 40, h - 50}));
    EXPECT_EQ(bounds(client), (std::vector<int>{40, 20, w - 40, h - 50}));
    Form->SetBounds(100, 100, 500, 400);
    EXPECT_EQ(client->Width(), Form->ClientWidth() - 40);
    EXPECT_EQ(client->Height(), Form->ClientHeight() - 50);
    RECT r{};
    GetWindowRect(client->Handle(), &r);
    EXPECT_EQ(r.right - r.left, client->Width()) << "the window follows";
}

TEST_F(ControlsTest, OnKeyDownRunsFirstAndMayConsumeTheKey)
{
    auto* probe = new TProbe(Form);
    std::vector<WORD> seen;
    probe->OnKeyDown = [&](TComponent* sender, WORD& key, TShiftState) {
        EXPECT_EQ(sender, probe);
        seen.push_back(key);
        if (key == VK_DOWN)
            key = 0;
    };
    SendMessageA(probe->Handle(), WM_KEYDOWN, VK_UP, 0);
    SendMessageA(probe->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(seen, (std::vector<WORD>{VK_UP, VK_DOWN}));
    EXPECT_EQ(probe->Keys, (std::vector<WORD>{VK_UP, 0}));
}

TEST_F(ControlsTest, AProcedurePutInFrontSeesMessagesFirstAndChains)
{
    auto* probe = new TProbe(Form);
    std::vector<UINT> hooked;
    auto previous = probe->WindowProc;
    probe->WindowProc = [&, previous](UINT msg, WPARAM w, LPARAM l) -> LRESULT {
        hooked.push_back(msg);
        if (msg == WM_APP + 7)
            return 42;
        return previous(msg, w, l);
    };
    EXPECT_EQ(SendMessageA(probe->Handle(), WM_APP + 7, 0, 0), 42);
    SendMessageA(probe->Handle(), WM_THROW, 0, 0);
    EXPECT_EQ(Reports.size(), 1u) << "the replaced procedure still ran";
    probe->WindowProc = previous;
    hooked.clear();
    SendMessageA(probe->Handle(), WM_APP + 7, 0, 0);
    EXPECT_TRUE(hooked.empty());
}

TEST_F(ControlsTest, TabOrderSetsTheWindowOrder)
{
    auto* first = new TProbe(Form);
    auto* second = new TProbe(Form);
    second->SetTabOrder(0);
    EXPECT_EQ(second->TabOrder(), 0);
    EXPECT_EQ(first->TabOrder(), 1);
    EXPECT_EQ(GetWindow(Form->Handle(), GW_CHILD), second->Handle());
    EXPECT_EQ(GetWindow(second->Handle(), GW_HWNDNEXT), first->Handle());
}

TEST_F(ControlsTest, ModalFormsMoveFocusWithTabUnlessTheControlWantsTab)
{
    class TRecordingForm : public TForm {
    public:
        using TForm::TForm;
        std::vector<TWinControl*> Focused;
        void ChildFocused(TWinControl* c) override
        {
            TForm::ChildFocused(c);
            Focused.push_back(c);
        }
    } form(nullptr);
    form.SetBounds(150, 150, 300, 200);
    form.SetCaption("Modal");
    auto* wantsTab = new TProbe(&form);
    auto* plain = new TProbe(&form);
    auto* last = new TProbe(&form);
    wantsTab->DlgCode = DLGC_WANTTAB;
    form.SetActiveControl(plain);
    int tabsInWantsTab = 0;
    wantsTab->OnKeyDown = [&](TComponent*, WORD& key, TShiftState) { tabsInWantsTab += key == VK_TAB; };
    auto user = TestDriver::UserThread([] {
        using namespace TestDriver;
        HWND window = WaitForWindow(GetCurrentProcessId(), [](HWND w) { return WindowText(w) == "Modal"; });
        Activate(window);
        Pause(300);
        for (unsigned modifiers : {mdNone, mdShift, mdShift, mdNone}) {
            PressKey(VK_TAB, modifiers);
            Pause(300);
        }
        PostMessageA(window, WM_CLOSE, 0, 0);
    });
    const TModalResult result = form.ShowModal();
    user.join();
    EXPECT_EQ(result, mrCancel) << "closing a modal form cancels it";
    EXPECT_EQ(form.Focused, (std::vector<TWinControl*>{plain, last, plain, wantsTab}));
    EXPECT_EQ(tabsInWantsTab, 1);
    EXPECT_FALSE(IsWindowVisible(form.Handle()));
}

TEST_F(ControlsTest, AControlOnASystemClassIsTheSystemsControlAndStillTheObjects)
{
    auto* edit = new TEditProbe(Form);
    HWND window = edit->Handle();
    EXPECT_EQ(FindControl(window), edit);
    // Only the edit class's own procedure answers these.
    SendMessageA(window, EM_SETLIMITTEXT, 12, 0);
    EXPECT_EQ(SendMessageA(window, EM_GETLIMITTEXT, 0, 0), 12);
    SetWindowTextA(window, "typed");
    char text[16] = {};
    GetWindowTextA(window, text, sizeof text);
    EXPECT_STREQ(text, "typed");
    // The change notifications went to the form and came back to the edit.
    EXPECT_EQ(edit->Reflected, (std::vector<std::pair<UINT, WORD>>{{CN_COMMAND, EN_UPDATE}, {CN_COMMAND, EN_CHANGE}}));
}

TEST_F(ControlsTest, NotificationsReachTheChildTheyAreAboutOrStayWithTheParent)
{
    auto* edit = new TEditProbe(Form);
    auto* inner = new TEditProbe(Form);
    auto* panel = new TProbe(Form);
    inner->SetParent(panel);
    HWND window = edit->Handle();
    HWND innerWindow = inner->Handle();
    edit->Reflected.clear();
    inner->Reflected.clear();

    NMHDR header{window, 5, 0};
    SendMessageA(Form->Handle(), WM_NOTIFY, 5, reinterpret_cast<LPARAM>(&header));
    // Only the window's own parent hands a notification on.
    SendMessageA(Form->Handle(), WM_COMMAND, MAKEWPARAM(6, EN_SETFOCUS), reinterpret_cast<LPARAM>(innerWindow));
    EXPECT_EQ(edit->Reflected, (std::vector<std::pair<UINT, WORD>>{{CN_NOTIFY, 0}}));
    EXPECT_TRUE(inner->Reflected.empty());

    // A colour request the child leaves gets the parent's default brush.
    HDC dc = GetDC(window);
    EXPECT_NE(
        SendMessageA(Form->Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(window)),
        0);
    ReleaseDC(window, dc);
}
