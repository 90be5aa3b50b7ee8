// The window position component on real forms built from descriptions, with
// the test program's own configuration file in the per-user folder.

#include "config/VxFormPosition.h"

#include "framework/Application.h"
#include "framework/FormReader.h"
#include "resources/ResourceIds.h"
#include "tests/ConfigTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr const char* Designed = "Left = 100\n Top = 120\n Width = 400\n Height = 300\n";

struct TStoredPlacement {
    std::int32_t Left, Top, Width, Height, State;
};

RECT NormalRect(TForm& Form)
{
    WINDOWPLACEMENT Placement{};
    Placement.length = sizeof Placement;
    EXPECT_TRUE(::GetWindowPlacement(Form.Handle(), &Placement));
    return Placement.rcNormalPosition;
}

::testing::AssertionResult SameRect(const RECT& Actual, int Left, int Top, int Width, int Height)
{
    if (Actual.left == Left && Actual.top == Top && Actual.right - Actual.left == Width &&
        Actual.bottom - Actual.top == Height)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "rectangle " << Actual.left << "," << Actual.top << " "
                                         << Actual.right - Actual.left << "x" << Actual.bottom - Actual.top;
}

class FormPosition : public testing::Test {
protected:
    static void SetUpTestSuite() { RegisterFormPosition(); }

    void SetUp() override
    {
        Application->OnException = [this](TComponent*, const std::exception& E) { Reported.push_back(E.what()); };
        // Every test starts from a file without placement sections.
        TVxConfigSectionRef Section = Configuration().OpenSection("Window");
        Section->Erase();
        Section->EraseSection("MAIN");
        Section.Release();
        ASSERT_FALSE(Configuration().ConfigFile().Modified());
    }

    void TearDown() override
    {
        Application->OnException = nullptr;
        Application->SetMainForm(nullptr);
    }

    static void Store(const std::string& Name, const TStoredPlacement& P)
    {
        TVxConfigSectionRef Section = Configuration().OpenSection(Name);
        Section->WriteInteger("Left", P.Left);
        Section->WriteInteger("Top", P.Top);
        Section->WriteInteger("Width", P.Width);
        Section->WriteInteger("Height", P.Height);
        Section->WriteInteger("State", P.State);
        Section.Release();
    }

    // What the file on disk holds for the section (-1 for a missing key).
    static TStoredPlacement OnDisk(const std::string& Name)
    {
        TVxConfigFile Disk(Configuration().FileName(), true);
        return TStoredPlacement{Disk.ReadInteger(Name, "Left", -1), Disk.ReadInteger(Name, "Top", -1),
                                Disk.ReadInteger(Name, "Width", -1), Disk.ReadInteger(Name, "Height", -1),
                                Disk.ReadInteger(Name, "State", -1)};
    }

    static std::unique_ptr<TForm> MakeForm(const std::string& Position = "Section = \"Window\"")
    {
        auto Form = std::make_unique<TForm>(nullptr);
        ReadComponentDescription(Form.get(), std::string("TForm PositionForm {\n") + Designed +
                                                 "TVxFormPosition CFormPos {\n" + Position + "\n}\n}");
        return Form;
    }

    static TVxFormPosition& PositionOf(TForm& Form)
    {
        return *dynamic_cast<TVxFormPosition*>(Form.FindComponent("CFormPos"));
    }

    static void Show(TForm& Form)
    {
        Form.Show();
        Application->ProcessMessages();
    }

    std::vector<std::string> Reported;
};

TEST(FitsDesktopTest, OnlyANonEmptyRectangleWhollyOnTheVirtualScreenFits)
{
    const RECT D = DesktopRect();
    ASSERT_LT(D.left, D.right);
    ASSERT_LT(D.top, D.bottom);
    struct TCase {
        const char* What;
        std::int64_t Left, Top, Right, Bottom;
        bool Fits;
    };
    const TCase Cases[] = {
        {"the whole desktop", D.left, D.top, D.right, D.bottom, true},
        {"one pixel beyond the right", D.left, D.top, D.right + 1, D.bottom, false},
        {"one pixel beyond the bottom", D.left, D.top, D.right, D.bottom + 1, false},
        {"one pixel left of it", D.left - 1, D.top, D.left + 200, D.top + 200, false},
        {"one pixel above it", D.left, D.top - 1, D.left + 200, D.top + 200, false},
        {"zero width", D.left + 10, D.top + 10, D.left + 10, D.top + 50, false},
        {"inverted height", D.left + 10, D.top + 50, D.left + 60, D.top + 10, false},
        {"far beyond 32 bits", D.left, D.top, std::int64_t{1} << 40, D.bottom, false},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(FitsDesktop(C.Left, C.Top, C.Right, C.Bottom), C.Fits) << C.What;
}

TEST_F(FormPosition, FirstRunKeepsTheDesignedPlacementAndClosingStoresTheNormalRectangle)
{
    auto Form = MakeForm();
    EXPECT_TRUE(PositionOf(*Form).Hooked());
    EXPECT_TRUE(PositionOf(*Form).Restored());
    Show(*Form);
    EXPECT_TRUE(SameRect(NormalRect(*Form), 100, 120, 400, 300));
    ::MoveWindow(Form->Handle(), 130, 140, 420, 310, TRUE);
    Form.reset();

    const TStoredPlacement Stored = OnDisk("Window");
    EXPECT_EQ(Stored.Left, 130);
    EXPECT_EQ(Stored.Top, 140);
    EXPECT_EQ(Stored.Width, 420);
    EXPECT_EQ(Stored.Height, 310);
    EXPECT_EQ(Stored.State, 0);
    EXPECT_TRUE(Reported.empty()) << Reported.front();
}

TEST_F(FormPosition, MaximisedWindowStoresItsNormalRectangleAndComesBackMaximisedOverIt)
{
    Store("Window", {150, 130, 500, 350, 0});
    auto Form = MakeForm();
    Show(*Form);
    EXPECT_TRUE(SameRect(NormalRect(*Form), 150, 130, 500, 350));
    Form->SetWindowState(wsMaximized);
    Application->ProcessMessages();
    ASSERT_TRUE(::IsZoomed(Form->Handle()));
    Form.reset();

    const TStoredPlacement Stored = OnDisk("Window");
    EXPECT_EQ(Stored.State, 2);
    EXPECT_EQ(Stored.Left, 150);
    EXPECT_EQ(Stored.Top, 130);
    EXPECT_EQ(Stored.Width, 500);
    EXPECT_EQ(Stored.Height, 350);

    Form = MakeForm();
    EXPECT_EQ(Form->WindowState(), wsMaximized) << "before it is shown";
    Show(*Form);
    EXPECT_TRUE(::IsZoomed(Form->Handle()));
    ::ShowWindow(Form->Handle(), SW_RESTORE);
    Application->ProcessMessages();
    RECT Outer{};
    ::GetWindowRect(Form->Handle(), &Outer);
    EXPECT_TRUE(SameRect(Outer, 150, 130, 500, 350));
    EXPECT_TRUE(Reported.empty()) << Reported.front();
}

TEST_F(FormPosition, WindowClosedMinimisedStoresStateOne)
{
    auto Form = MakeForm();
    Show(*Form);
    ::ShowWindow(Form->Handle(), SW_MINIMIZE);
    Application->ProcessMessages();
    ASSERT_TRUE(::IsIconic(Form->Handle()));
    Form.reset();

    const TStoredPlacement Stored = OnDisk("Window");
    EXPECT_EQ(Stored.State, 1);
    EXPECT_EQ(Stored.Width, 400) << "the normal rectangle, not the icon's";
    EXPECT_EQ(Stored.Height, 300);
}

TEST_F(FormPosition, RectangleOnePixelBeyondTheVirtualScreenIsNotRestoredNorItsState)
{
    const RECT D = DesktopRect();
    Store("Window", {D.right - 300, D.top + 10, 301, 200, 2});
    auto Form = MakeForm();
    EXPECT_TRUE(SameRect(NormalRect(*Form), 100, 120, 400, 300));
    EXPECT_EQ(Form->WindowState(), wsNormal);
    EXPECT_TRUE(PositionOf(*Form).Restored()) << "the one attempt is made";
}

TEST_F(FormPosition, DisabledComponentReadsAndWritesNothing)
{
    Store("Window", {200, 210, 300, 250, 2});
    const std::string Before = ReadWhole(Configuration().FileName());
    auto Form = MakeForm("Section = \"Window\"\n Enabled = false");
    EXPECT_FALSE(PositionOf(*Form).Restored());
    EXPECT_TRUE(SameRect(NormalRect(*Form), 100, 120, 400, 300));
    EXPECT_EQ(Form->WindowState(), wsNormal);
    ::MoveWindow(Form->Handle(), 50, 60, 320, 240, FALSE);
    Form.reset();
    EXPECT_EQ(ReadWhole(Configuration().FileName()), Before);
    EXPECT_FALSE(Configuration().ConfigFile().Modified());
}

TEST_F(FormPosition, EmptySectionKeepsThePlacementInTheMainSection)
{
    auto Form = MakeForm("");
    ::MoveWindow(Form->Handle(), 70, 80, 330, 260, FALSE);
    Form.reset();
    const TStoredPlacement Main = OnDisk("MAIN");
    EXPECT_EQ(Main.Left, 70);
    EXPECT_EQ(Main.Top, 80);
    EXPECT_EQ(Main.Width, 330);
    EXPECT_EQ(Main.Height, 260);
    EXPECT_EQ(OnDisk("Window").Left, -1);
}

TEST_F(FormPosition, OtherFormsRestoreOnTheirFirstMove)
{
    TForm Main(nullptr);
    Application->SetMainForm(&Main);
    Store("Window", {240, 220, 360, 280, 0});
    auto Form = MakeForm();
    EXPECT_TRUE(PositionOf(*Form).Hooked());
    EXPECT_FALSE(PositionOf(*Form).Restored());
    EXPECT_FALSE(Form->HandleAllocated()) << "loading alone makes no window";
    Show(*Form);
    EXPECT_TRUE(PositionOf(*Form).Restored());
    EXPECT_TRUE(SameRect(NormalRect(*Form), 240, 220, 360, 280));
    EXPECT_TRUE(::IsWindowVisible(Form->Handle()));
    Form.reset();
    EXPECT_TRUE(Reported.empty()) << Reported.front();
}

TEST_F(FormPosition, RemovedComponentLeavesAWorkingChainAndSavesNothing)
{
    auto Form = MakeForm();
    Form->Handle();
    // A hook installed after the component's, as another component would.
    int Seen = 0;
    auto Previous = Form->WindowProc;
    Form->WindowProc = [&Seen, Previous](UINT Msg, WPARAM wParam, LPARAM lParam) {
        ++Seen;
        return Previous(Msg, wParam, lParam);
    };
    delete &PositionOf(*Form);
    EXPECT_EQ(Form->FindComponent("CFormPos"), nullptr);
    Form->Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("still handled"));
    char Text[32] = {};
    ::GetWindowTextA(Form->Handle(), Text, sizeof Text);
    EXPECT_STREQ(Text, "still handled");
    EXPECT_GT(Seen, 0);
    Form.reset();
    EXPECT_EQ(OnDisk("Window").Left, -1);
}

// Moves the configuration folder aside and puts a plain file in its place,
// so the folder cannot be made; puts everything back when it goes.
class TFolderBlocked {
public:
    explicit TFolderBlocked(const std::string& FileName)
        : FFolder(FileName.substr(0, FileName.find_last_of('\\'))), FAside(FFolder + ".aside")
    {
        FMoved = ::MoveFileA(FFolder.c_str(), FAside.c_str()) != FALSE;
        const HANDLE Blocker =
            ::CreateFileA(FFolder.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        FBlocked = Blocker != INVALID_HANDLE_VALUE;
        if (FBlocked)
            ::CloseHandle(Blocker);
    }
    ~TFolderBlocked()
    {
        if (FBlocked)
            ::DeleteFileA(FFolder.c_str());
        if (FMoved)
            ::MoveFileA(FAside.c_str(), FFolder.c_str());
    }
    bool Ready() const { return FMoved && FBlocked; }
    const std::string& Folder() const { return FFolder; }

private:
    std::string FFolder;
    std::string FAside;
    bool FMoved = false;
    bool FBlocked = false;
};

TEST_F(FormPosition, SaveErrorOnDestroyIsReportedAndTheWindowStillGoes)
{
    auto Form = MakeForm();
    const HWND Window = Form->Handle();
    {
        TFolderBlocked Blocked(Configuration().FileName());
        ASSERT_TRUE(Blocked.Ready());
        EXPECT_NO_THROW(Form.reset());
        EXPECT_FALSE(::IsWindow(Window));
        ASSERT_EQ(Reported.size(), 1u);
        EXPECT_EQ(Reported[0], "Unable to create configuration folder: " + Blocked.Folder() + "\\");
    }
    // Still modified, so the next save writes what was lost.
    EXPECT_TRUE(Configuration().ConfigFile().Modified());
    Configuration().OpenSection("Window").Release();
    EXPECT_EQ(OnDisk("Window").Width, 400);
}

TEST_F(FormPosition, SaveErrorWhileTheMainWindowLoadsIsReportedAndTheWindowStillComes)
{
    Store("Window", {160, 150, 420, 320, 0});
    std::unique_ptr<TForm> Form;
    {
        TFolderBlocked Blocked(Configuration().FileName());
        ASSERT_TRUE(Blocked.Ready());
        // A change that could not be saved, so restoring's release saves.
        TVxConfigSectionRef Pending = Configuration().OpenSection("Other");
        Pending->WriteInteger("Value", 1);
        EXPECT_THROW(Pending.Release(), EVxError);
        EXPECT_NO_THROW(Form = MakeForm());
        ASSERT_EQ(Reported.size(), 1u);
        EXPECT_EQ(Reported[0], "Unable to create configuration folder: " + Blocked.Folder() + "\\");
    }
    ASSERT_NE(Form, nullptr);
    EXPECT_TRUE(SameRect(NormalRect(*Form), 160, 150, 420, 320)) << "applied before the save failed";
    Configuration().OpenSection("Other")->Erase();
}

}  // namespace

int main(int argc, char** argv)
{
    // As the program does at start: the test's resources hold the maker folder.
    SetMakerFolderResource(IDS_MAKER_FOLDER);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
