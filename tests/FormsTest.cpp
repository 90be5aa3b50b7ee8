// Forms read from their descriptions, the application's default error
// report, help requests and the message loop.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "framework/Application.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "tests/support/TestDriver.h"

using namespace TestDriver;

namespace {

// Keys pressed here reach only this test's windows.
[[maybe_unused]] const bool OnOwnDesktop = TestDriver::UsePrivateDesktop();

std::vector<std::string> Steps;

class TFormsTestForm : public TForm {
public:
    explicit TFormsTestForm(TComponent* owner, const std::string& resource = "TFormsTestForm") : TForm(owner)
    {
        Publish("CMenu", CMenu);
        Publish("MOpen", MOpen);
        Publish("Body", Body);
        Publish("FormCreate", &TFormsTestForm::FormCreate);
        Publish("MOpenClick", &TFormsTestForm::MOpenClick);
        ReadDescription(resource);
    }
    void Loaded() override
    {
        TForm::Loaded();
        Steps.push_back("Loaded");
    }
    void FormCreate(TComponent*) { Steps.push_back("Create"); }
    void MOpenClick(TComponent*) { ++Opens; }

    TMainMenu* CMenu = nullptr;
    TMenuItem* MOpen = nullptr;
    TCustomControl* Body = nullptr;
    int Opens = 0;
};

using THelpCall = std::tuple<std::uint16_t, std::intptr_t, bool>;

class FormsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterFrameworkClasses();
        Steps.clear();
        Calls.clear();
        Application->SetTitle("Forms Test");
        Application->OnHelp = [this](std::uint16_t command, std::intptr_t data, bool& callHelp) {
            Calls.emplace_back(command, data, callHelp);
            if (command == HELP_COMMAND)
                Keyword = reinterpret_cast<const char*>(data);
            callHelp = false;
            return true;
        };
    }
    void TearDown() override { Application->OnHelp = nullptr; }

    // Pumps this thread's messages until `done` or the time is up.
    bool PumpUntil(const std::function<bool()>& done, DWORD ms = 5000)
    {
        return TestDriver::PumpUntil(done, ms, [] { Application->ProcessMessages(); });
    }

    std::vector<THelpCall> Calls;
    std::string Keyword;
};

}  // namespace

TEST_F(FormsTest, AFormIsBuiltFromItsDescriptionThenCreated)
{
    TFormsTestForm form(nullptr);
    EXPECT_EQ(Steps, (std::vector<std::string>{"Loaded", "Create"}));
    EXPECT_EQ(form.Name(), "FormsTestForm");
    EXPECT_EQ(form.Caption(), "Read from its description");
    EXPECT_EQ(form.HelpContext(), 30500);
    ASSERT_NE(form.Body, nullptr);
    EXPECT_EQ(form.Body->Parent(), &form);
    EXPECT_EQ(form.Body->Color(), clWhite);
    ASSERT_EQ(form.Menu(), form.CMenu);
    form.Show();
    EXPECT_EQ(form.ClientWidth(), 328);
    EXPECT_EQ(form.ClientHeight(), 243);
    EXPECT_EQ(form.Body->Width(), 328) << "aligned to the client area";
    EXPECT_EQ(GetMenu(form.Handle()), form.CMenu->Handle());
    char text[64] = {};
    GetWindowTextA(form.Handle(), text, sizeof text);
    EXPECT_STREQ(text, "Read from its description");
}

TEST_F(FormsTest, AFormsWindowIsMadeWithItsMenuAndTheApplicationsIcon)
{
    TFormsTestForm form(nullptr);
    HMENU given = nullptr;
    int iconsSet = 0;
    const auto previous = form.WindowProc;
    form.WindowProc = [&](UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_CREATE)
            given = reinterpret_cast<const CREATESTRUCTA*>(lParam)->hMenu;
        if (msg == WM_SETICON)
            ++iconsSet;
        return previous(msg, wParam, lParam);
    };
    form.Show();
    ASSERT_NE(given, nullptr) << "the menu was attached after the window was made";
    EXPECT_EQ(given, form.CMenu->Handle());
    EXPECT_EQ(GetMenu(form.Handle()), form.CMenu->Handle());
    ASSERT_NE(Application->Icon().Handle(), nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongPtrA(form.Handle(), GCLP_HICON)), Application->Icon().Handle());
    EXPECT_EQ(iconsSet, 0) << "the icon was set after the window was made";
}

TEST_F(FormsTest, AMissingDescriptionIsAReadError)
{
    try {
        TFormsTestForm form(nullptr, "TNoSuchForm");
        FAIL() << "no error";
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), "Resource TNoSuchForm not found");
    }
}

TEST_F(FormsTest, TheErrorReportIsAnErrorBoxOwnedByTheApplicationWindow)
{
    const std::pair<std::string, std::string> cases[] = {
        {"Cannot open file", "Cannot open file."},
        {"Already a sentence.", "Already a sentence."},
        {"Ends in (brackets)", "Ends in (brackets)"},
    };
    for (const auto& [message, shown] : cases) {
        SCOPED_TRACE(message);
        std::string title, text;
        HWND owner = nullptr;
        HICON icon = nullptr;
        std::vector<std::string> texts;
        auto user = TestDriver::UserThread([&] {
            HWND box = WaitForDialog(GetCurrentProcessId(), "Forms Test");
            if (!box)
                return;
            title = WindowText(box);
            text = MessageBoxText(box);
            texts = ChildTexts(box);
            owner = GetWindow(box, GW_OWNER);
            icon = MessageBoxIcon(box);
            Activate(box);
            PressKey(VK_RETURN);
        });
        try {
            throw EVxError(message);
        } catch (...) {
            Application->HandleException();
        }
        user.join();
        EXPECT_EQ(title, "Forms Test");
        EXPECT_EQ(text, shown);
        EXPECT_EQ(owner, Application->Handle());
        EXPECT_EQ(icon, LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_HAND)));
        // The message and one OK button.
        EXPECT_THAT(texts, ::testing::UnorderedElementsAre(shown, "OK"));
    }
}

TEST_F(FormsTest, HelpRequestsReachTheApplicationsHandlerWithTheirCommands)
{
    EXPECT_TRUE(Application->HelpCommand(HELP_FINDER, 0));
    EXPECT_TRUE(Application->HelpContext(30500));
    EXPECT_TRUE(Application->HelpKeyword("topic"));
    ASSERT_EQ(Calls.size(), 3u);
    EXPECT_EQ(Calls[0], THelpCall(11, 0, true));
    EXPECT_EQ(Calls[1], THelpCall(1, 30500, true));
    EXPECT_EQ(std::get<0>(Calls[2]), 258);
    EXPECT_EQ(Keyword, "topic") << "the data word is the keyword's whole address";
}

TEST_F(FormsTest, TheActiveFormsOwnHelpHandlerComesFirst)
{
    TFormsTestForm form(nullptr);
    std::vector<THelpCall> formCalls;
    form.OnHelp = [&](std::uint16_t command, std::intptr_t data, bool& callHelp) {
        formCalls.emplace_back(command, data, callHelp);
        callHelp = false;
        return false;
    };
    form.Show();
    ASSERT_TRUE(PumpUntil([&] { return Screen->ActiveForm() == &form; }));
    EXPECT_FALSE(Application->HelpContext(7));
    EXPECT_EQ(formCalls, (std::vector<THelpCall>{{1, 7, true}}));
    EXPECT_TRUE(Calls.empty());
}

TEST_F(FormsTest, F1AsksForTheHelpContextOfTheFocusedControlOrItsForm)
{
    TFormsTestForm form(nullptr);
    form.Show();
    ASSERT_TRUE(Activate(form.Handle()));
    ASSERT_TRUE(PumpUntil([&] { return form.Body->Focused(); }));
    PressKey(VK_F1);
    ASSERT_TRUE(PumpUntil([&] { return !Calls.empty(); }));
    PumpUntil([] { return false; }, 300);
    ASSERT_EQ(Calls.size(), 1u) << "one request for one key";
    EXPECT_EQ(Calls[0], THelpCall(1, 30500, true));
    form.Body->SetHelpContext(700);
    PressKey(VK_F1);
    ASSERT_TRUE(PumpUntil([&] { return Calls.size() == 2; }));
    EXPECT_EQ(Calls[1], THelpCall(1, 700, true));
    // Without any help context, a help keyword asks for keyword help.
    form.Body->SetHelpContext(0);
    form.SetHelpContext(0);
    form.Body->SetHelpKeyword("viewer");
    PumpUntil([] { return false; }, 300);
    PressKey(VK_F1);
    ASSERT_TRUE(PumpUntil([&] { return Calls.size() == 3; }));
    EXPECT_EQ(std::get<0>(Calls[2]), HELP_COMMAND);
    EXPECT_EQ(Keyword, "viewer") << "the data word is the keyword's whole address";
}

// What a second thread saw of the error box of this process.
struct TSeenBox {
    std::string Text;
    HWND Owner = nullptr;
    bool OthersEnabled = true;
};

std::thread DismissErrorBox(TSeenBox& seen, std::vector<HWND> others)
{
    return TestDriver::UserThread([&seen, others] {
        const HWND box = WaitForDialog(GetCurrentProcessId(), "Forms Test");
        if (!box)
            return;
        seen.Text = MessageBoxText(box);
        seen.Owner = GetWindow(box, GW_OWNER);
        for (HWND window : others)
            seen.OthersEnabled = seen.OthersEnabled && IsWindowEnabled(window);
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
}

TEST_F(FormsTest, AnErrorRaisedWhileTheLoopHandlesAKeyIsReportedOverTheFormThatGoesOn)
{
    TFormsTestForm other(nullptr);
    other.Show();
    TFormsTestForm form(nullptr);
    std::atomic<int> helps{0};
    form.OnHelp = [&](std::uint16_t, std::intptr_t, bool& callHelp) -> bool {
        callHelp = false;
        if (++helps == 1)
            throw EVxError("No help today");
        return true;
    };
    form.Show();
    ASSERT_TRUE(Activate(form.Handle()));
    ASSERT_TRUE(PumpUntil([&] { return form.Body->Focused(); }));
    TSeenBox seen;
    std::thread user = DismissErrorBox(seen, {form.Handle(), other.Handle()});
    PressKey(VK_F1);
    PumpUntil([&] { return !seen.Text.empty(); });
    user.join();
    EXPECT_EQ(seen.Text, "No help today.");
    EXPECT_EQ(seen.Owner, form.Handle()) << "owned by the active form";
    EXPECT_FALSE(seen.OthersEnabled) << "the program's windows took input while the box showed";
    EXPECT_TRUE(IsWindowEnabled(form.Handle()) && IsWindowEnabled(other.Handle()));
    EXPECT_EQ(GetActiveWindow(), form.Handle());
    EXPECT_TRUE(form.Body->Focused()) << "the focus did not come back";
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(helps, 1) << "one press asked for help more than once";
    PressKey(VK_F1);
    EXPECT_TRUE(PumpUntil([&] { return helps == 2; })) << "the next key went nowhere";

    // The same inside a modal form's own loop, which goes on after the box.
    form.Hide();
    helps = 0;
    bool closedAfterTheBox = false;
    bool oneRequestForThePress = false;
    seen = TSeenBox{};
    auto modalUser = TestDriver::UserThread([&] {
        for (int i = 0; i < 100 && !IsWindowVisible(form.Handle()); ++i)
            Sleep(50);
        Activate(form.Handle());
        Pause(200);
        PressKey(VK_F1);
        TSeenBox inner;
        std::thread dismiss = DismissErrorBox(inner, {});
        dismiss.join();
        seen.Text = inner.Text;
        Pause(300);
        oneRequestForThePress = helps == 1;
        PressKey(VK_F1);
        for (int i = 0; i < 100 && helps < 2; ++i)
            Sleep(50);
        Pause(300);
        closedAfterTheBox = helps == 2;
        PostMessageA(form.Handle(), WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(form.ShowModal(), mrCancel);
    modalUser.join();
    EXPECT_EQ(seen.Text, "No help today.");
    EXPECT_TRUE(oneRequestForThePress) << "one press asked for help more than once";
    EXPECT_TRUE(closedAfterTheBox) << "the modal form took no key after the box";
}

// Last: Run ends the loop for good.
TEST_F(FormsTest, RunEndsWhenTheMainFormClosesAndDestroysTheForms)
{
    auto* form = Application->CreateForm<TFormsTestForm>();
    ASSERT_EQ(Application->MainForm(), form);
    TComponent watcher(nullptr);
    class TWatcher : public TComponent {
    public:
        using TComponent::TComponent;
        bool Gone = false;
        void Notification(TComponent* c, TOperation op) override
        {
            TComponent::Notification(c, op);
            Gone = Gone || op == opRemove;
        }
    } probe(nullptr);
    form->FreeNotification(&probe);
    bool closed = false;
    form->OnClose = [&](TComponent*, TCloseAction&) { closed = true; };
    PostMessageA(form->Handle(), WM_CLOSE, 0, 0);
    Application->Run();
    EXPECT_TRUE(closed);
    EXPECT_TRUE(probe.Gone);
    EXPECT_EQ(Application->MainForm(), nullptr);
}
