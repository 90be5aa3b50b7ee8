#include "hexview/VxHexViewer.h"

#include <gtest/gtest.h>

#include <cstring>

#include "framework/FormReader.h"
#include "tests/HexViewerFixture.h"

namespace {

using hexviewtest::HexViewerTest;
using hexviewtest::PatternBytes;
using hexviewtest::TDibCanvas;

std::string FullPath(const std::string& name)
{
    char buffer[MAX_PATH];
    const DWORD length = ::GetFullPathNameA(name.c_str(), MAX_PATH, buffer, nullptr);
    return std::string(buffer, length);
}

bool HasUpdate(HWND window)
{
    return ::GetUpdateRect(window, nullptr, FALSE) != FALSE;
}

// --- creation and properties -------------------------------------------------

TEST_F(HexViewerTest, CreationGivesAFramedFocusableChildOfItsOwner)
{
    EXPECT_EQ(FViewer->Parent(), FHost.get());
    EXPECT_EQ(::GetParent(Window()), FHost->Handle());
    const auto style = static_cast<DWORD>(::GetWindowLongA(Window(), GWL_STYLE));
    EXPECT_EQ(style & 0x00A00000u, 0x00A00000u);
    EXPECT_TRUE(style & WS_TABSTOP);
    EXPECT_TRUE(FViewer->TabStop());
    EXPECT_EQ(FViewer->Color(), 0xFF000005u);
    EXPECT_EQ(FViewer->Font().Name(), "FixedSys");
    EXPECT_TRUE(FViewer->ControlStyle() == (TControlStyle{csCaptureMouse, csClickEvents, csFramed}));
    EXPECT_TRUE(FViewer->ShowAddress());
    EXPECT_TRUE(FViewer->ShowCharacters());
    EXPECT_TRUE(FViewer->DisplayOffset());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(FViewer->GetColumnColor(i), 0u);
    // The font was measured during creation.
    EXPECT_GT(FViewer->CellWidth(), 1);
    EXPECT_GT(FViewer->CellHeight(), 2);
    EXPECT_GE(FViewer->BytesPerRow(), 1);
    EXPECT_EQ(FViewer->RowCount(), 0);
    EXPECT_FALSE(FViewer->HasData());
    EXPECT_EQ(::SendMessageA(Window(), WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
}

TEST_F(HexViewerTest, OwnerMustBeAWindowedControl)
{
    TComponent plain(nullptr);
    EXPECT_THROW(TVxHexViewer viewer(&plain), EInvalidCast);
    EXPECT_THROW(TVxHexViewer viewer(nullptr), Exception);
}

TEST_F(HexViewerTest, ColumnColoursAssertOnABadIndexAndRepaintOnlyOnChange)
{
    SetClientSize(300, 100);
    EXPECT_THROW(FViewer->GetColumnColor(3), EAssertionFailed);
    EXPECT_THROW(FViewer->SetColumnColor(-1, 5), EAssertionFailed);
    try {
        FViewer->GetColumnColor(7);
    } catch (const EAssertionFailed& e) {
        EXPECT_EQ(e.Message().rfind("Assertion failure (VxHexViewer.cpp, line ", 0), 0u) << e.Message();
    }

    FViewer->SetAddressColor(0x800080);
    FViewer->SetHexDataColor(0x000001);
    FViewer->SetAnsiCharColor(0x008000);
    EXPECT_EQ(FViewer->GetColumnColor(0), 0x800080u);
    EXPECT_EQ(FViewer->GetColumnColor(1), 0x000001u);
    EXPECT_EQ(FViewer->GetColumnColor(2), 0x008000u);
    Pump();
    ASSERT_FALSE(HasUpdate(Window()));
    FViewer->SetAddressColor(0x800080);
    FViewer->SetShowAddress(true);
    FViewer->SetShowCharacters(true);
    FViewer->SetDisplayOffset(true);
    EXPECT_FALSE(HasUpdate(Window()));
    FViewer->SetAnsiCharColor(0x008001);
    EXPECT_TRUE(HasUpdate(Window()));
    Pump();
    FViewer->SetDisplayOffset(false);
    EXPECT_TRUE(HasUpdate(Window()));
}

TEST_F(HexViewerTest, KnownFontGivesBytesPerRowRowsAndScrollRange)
{
    UseKnownFont();
    if (IsSkipped())
        return;
    SetClientSize(600, 260);
    const auto bytes = PatternBytes(1000);
    FViewer->SetFileName(FFolder.Write("k.bin", bytes));
    // This font measures 9 x 17; the numbers below follow from it.
    ASSERT_EQ(FViewer->CellWidth(), 9);
    ASSERT_EQ(FViewer->CellHeight(), 17);
    EXPECT_EQ(FViewer->BytesPerRow(), 14);
    EXPECT_EQ(FViewer->RowCount(), 72);
    EXPECT_EQ(FViewer->VisibleRows(), 16);
    SCROLLINFO info{sizeof info, SIF_RANGE, 0, 0, 0, 0, 0};
    ASSERT_TRUE(::GetScrollInfo(Window(), SB_VERT, &info));
    EXPECT_EQ(info.nMin, 0);
    EXPECT_EQ(info.nMax, 71);

    // Hiding the characters takes effect with the next layout.
    FViewer->SetShowCharacters(false);
    EXPECT_EQ(FViewer->BytesPerRow(), 14);
    SetClientSize(601, 260);
    EXPECT_EQ(FViewer->BytesPerRow(), 18);
    SetClientSize(50, 16);
    EXPECT_EQ(FViewer->BytesPerRow(), 1);
    EXPECT_EQ(FViewer->VisibleRows(), 1);
    EXPECT_EQ(FViewer->RowCount(), 1000);
    SetClientSize(1500, 260);
    EXPECT_EQ(FViewer->BytesPerRow(), 32);
    EXPECT_EQ(FViewer->RowCount(), 32);
}

TEST_F(HexViewerTest, FontChangeRemeasuresAndLaysOutAgain)
{
    UseKnownFont();
    if (IsSkipped())
        return;
    SetClientSize(600, 260);
    FViewer->SetFileName(FFolder.Write("f.bin", PatternBytes(1000)));
    const int width = FViewer->CellWidth(), height = FViewer->CellHeight();
    const int rows = FViewer->RowCount();
    Pump();
    FViewer->Font().SetHeight(-26);
    EXPECT_GT(FViewer->CellWidth(), width);
    EXPECT_GT(FViewer->CellHeight(), height);
    EXPECT_LT(FViewer->BytesPerRow(), 14);
    EXPECT_GT(FViewer->RowCount(), rows);
    EXPECT_LT(FViewer->VisibleRows(), 16);
    EXPECT_TRUE(HasUpdate(Window()));
    SCROLLINFO info{sizeof info, SIF_RANGE, 0, 0, 0, 0, 0};
    ASSERT_TRUE(::GetScrollInfo(Window(), SB_VERT, &info));
    EXPECT_EQ(info.nMax, FViewer->RowCount() - 1);
}

TEST_F(HexViewerTest, DescriptionCreatesTheViewerThroughItsSetters)
{
    RegisterHexViewer();
    ReadComponentDescription(FHost.get(), R"(THostWindow Host {
        TVxHexViewer CHex {
            AddressColor = 0x800080
            AnsiCharColor = 0x008000
            HexDataColor = 0
            ShowCharacters = false
            DisplayOffset = false
            Font.Name = "Courier New"
            Font.Height = -26
            Font.Style = [fsBold]
        }
    })");
    auto* hex = dynamic_cast<TVxHexViewer*>(FHost->FindComponent("CHex"));
    ASSERT_NE(hex, nullptr);
    EXPECT_EQ(hex->Parent(), FHost.get());
    EXPECT_EQ(hex->AddressColor(), 0x800080u);
    EXPECT_EQ(hex->AnsiCharColor(), 0x008000u);
    EXPECT_FALSE(hex->ShowCharacters());
    EXPECT_FALSE(hex->DisplayOffset());
    EXPECT_TRUE(hex->ShowAddress());
    // The font a description gives is measured once the viewer is loaded,
    // as one set in code is at once.
    FViewer->Font().SetName("Courier New");
    FViewer->Font().SetHeight(-26);
    FViewer->Font().SetStyle(TFontStyles{fsBold});
    EXPECT_EQ(hex->CellWidth(), FViewer->CellWidth());
    EXPECT_EQ(hex->CellHeight(), FViewer->CellHeight());
    EXPECT_GT(hex->CellHeight(), 20);
}

// --- loading -------------------------------------------------------------------

TEST_F(HexViewerTest, LoadsTheWholeFileIntoOneBuffer)
{
    const auto bytes = PatternBytes(5000);
    const std::string name = FFolder.Write("a.bin", bytes);
    FViewer->SetFileName(name);
    EXPECT_EQ(FViewer->FileName(), name);
    EXPECT_TRUE(FViewer->HasData());
    ASSERT_EQ(FViewer->Size(), 5000);
    EXPECT_EQ(std::memcmp(FViewer->Data(), bytes.data(), bytes.size()), 0);
    const int n = FViewer->BytesPerRow();
    EXPECT_EQ(FViewer->RowCount(), (5000 + n - 1) / n);
    EXPECT_EQ(FViewer->GetRowBytes(2), FViewer->Data() + 2 * n);
    EXPECT_EQ(FViewer->GetAddressText(255 / n + 1), FViewer->AddressText());
}

TEST_F(HexViewerTest, SameNameIsNotReadAgainButAnotherSpellingIs)
{
    const std::string name = FFolder.Write("same.bin", PatternBytes(100, 1));
    FViewer->SetFileName(name);
    const std::uint8_t* first = FViewer->Data();
    const std::uint8_t before = first[0];
    FFolder.Write("same.bin", PatternBytes(100, 2));
    FViewer->SetFileName(name);
    EXPECT_EQ(FViewer->Data(), first);
    EXPECT_EQ(FViewer->Data()[0], before);

    std::string other = name;
    for (char& c : other)
        c = static_cast<char>(::toupper(static_cast<unsigned char>(c)));
    ASSERT_NE(other, name);
    FViewer->SetFileName(other);
    EXPECT_EQ(FViewer->FileName(), other);
    EXPECT_EQ(FViewer->Data()[0], PatternBytes(100, 2)[0]);
}

TEST_F(HexViewerTest, EmptyFileLoadsAsNoRows)
{
    const std::string name = FFolder.Write("empty.bin", {});
    FViewer->SetFileName(FFolder.Write("before.bin", PatternBytes(64)));
    FViewer->SetFileName(name);
    EXPECT_EQ(FViewer->FileName(), name);
    EXPECT_EQ(FViewer->Size(), 0);
    EXPECT_EQ(FViewer->Data(), nullptr);
    EXPECT_FALSE(FViewer->HasData());
    EXPECT_EQ(FViewer->RowCount(), 0);
}

TEST_F(HexViewerTest, MissingNamesFoldersAndEmptyNamesChangeNothing)
{
    const auto bytes = PatternBytes(300);
    const std::string name = FFolder.Write("kept.bin", bytes);
    FViewer->SetFileName(name);
    const std::uint8_t* data = FViewer->Data();
    for (const std::string& other : {FFolder.File("missing.bin"), FFolder.Path().string(), std::string()}) {
        EXPECT_NO_THROW(FViewer->SetFileName(other)) << other;
        EXPECT_EQ(FViewer->FileName(), name);
        EXPECT_EQ(FViewer->Data(), data);
        EXPECT_EQ(FViewer->Size(), 300);
    }
}

TEST_F(HexViewerTest, FailedLoadAfterAGoodOneLeavesTheViewEmpty)
{
    FViewer->SetFileName(FFolder.Write("good.bin", PatternBytes(4000)));
    FViewer->SetCurrentRow(20);
    ASSERT_TRUE(FViewer->HasData());
    const std::string held = FFolder.Write("held.bin", PatternBytes(10));
    std::string message;
    {
        hexviewtest::THeldFile holder(held);
        try {
            FViewer->SetFileName(held);
        } catch (const EFOpenError& e) {
            message = e.Message();
        }
    }
    char system[512] = {};
    ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK,
                     nullptr, ERROR_SHARING_VIOLATION, 0, system, sizeof system, nullptr);
    std::string text = system;
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ')
        text.pop_back();
    EXPECT_EQ(message, "Cannot open file \"" + FullPath(held) + "\". " + text);
    EXPECT_EQ(FViewer->FileName(), "");
    EXPECT_EQ(FViewer->Data(), nullptr);
    EXPECT_FALSE(FViewer->HasData());
    EXPECT_EQ(FViewer->Size(), 0);
    EXPECT_EQ(FViewer->RowCount(), 0);
    EXPECT_EQ(FViewer->TopRow(), 0);
    EXPECT_EQ(FViewer->CurrentRow(), 0);
    // Once released, the same file loads.
    FViewer->SetFileName(held);
    EXPECT_EQ(FViewer->Size(), 10);
}

TEST_F(HexViewerTest, FilesOf2GiBOrMoreAreRefusedNamingTheFile)
{
    FViewer->SetFileName(FFolder.Write("good.bin", PatternBytes(4000)));
    const std::string huge = FFolder.WriteSparse("huge.bin", std::int64_t{3} << 30);
    try {
        FViewer->SetFileName(huge);
        FAIL() << "a 3 GiB file was accepted";
    } catch (const Exception& e) {
        EXPECT_NE(e.Message().find(FullPath(huge)), std::string::npos) << e.Message();
    }
    EXPECT_EQ(FViewer->FileName(), "");
    EXPECT_EQ(FViewer->Data(), nullptr);
    EXPECT_EQ(FViewer->RowCount(), 0);
}

// --- files that change while read, names that name no file --------------------

TEST_F(HexViewerTest, FileDeliveringLessThanItsSizeIsAReadErrorAndEmptiesTheView)
{
    // Kernel attribute files report a page of size and deliver a few bytes:
    // a file that shrank between taking the size and reading.
    const char* shortFile = "Z:\\sys\\kernel\\mm\\transparent_hugepage\\enabled";
    const std::int64_t reported = hexviewtest::FileSizeOf(shortFile);
    if (reported <= 0)
        GTEST_SKIP() << "no file here reports a size longer than its contents";
    ASSERT_LT(hexviewtest::ReadAllBytes(shortFile).size(), static_cast<std::size_t>(reported));
    SetClientSize(300, 100);
    FViewer->SetFileName(FFolder.Write("good.bin", PatternBytes(4000)));
    FViewer->SetCurrentRow(20);
    Pump();
    try {
        FViewer->SetFileName(shortFile);
        FAIL() << "a short read was not noticed";
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), "Stream read error");
    }
    EXPECT_EQ(FViewer->FileName(), "");
    EXPECT_EQ(FViewer->Data(), nullptr);
    EXPECT_FALSE(FViewer->HasData());
    EXPECT_EQ(FViewer->Size(), 0);
    EXPECT_EQ(FViewer->RowCount(), 0);
    EXPECT_TRUE(HasUpdate(Window())) << "the emptied view is not repainted";
    SCROLLINFO info{sizeof info, SIF_RANGE, 0, 0, 0, 0, 0};
    ASSERT_TRUE(::GetScrollInfo(Window(), SB_VERT, &info));
    EXPECT_EQ(info.nMax, 0);
}

TEST_F(HexViewerTest, FileGrowingWhileReadLoadsWhatItHeldWhenItsSizeWasTaken)
{
    // Large enough that the read takes a while as the file grows.
    const std::string name = FFolder.Write("growing.bin", PatternBytes(std::size_t{8} << 20));
    hexviewtest::TUnixAppender appender(FFolder, name);
    if (!appender.Failure().empty())
        GTEST_SKIP() << appender.Failure();
    const std::int64_t before = hexviewtest::FileSizeOf(name);
    ASSERT_NO_THROW(FViewer->SetFileName(name));
    appender.Stop();
    const std::vector<std::uint8_t> after = hexviewtest::ReadAllBytes(name);
    EXPECT_EQ(FViewer->FileName(), name);
    EXPECT_GE(FViewer->Size(), before);
    ASSERT_LE(FViewer->Size(), static_cast<std::int64_t>(after.size()));
    EXPECT_EQ(std::memcmp(FViewer->Data(), after.data(), static_cast<std::size_t>(FViewer->Size())), 0)
        << "not a prefix of the file";
    const std::int64_t n = FViewer->BytesPerRow();
    EXPECT_EQ(FViewer->RowCount(), (FViewer->Size() + n - 1) / n);
}

TEST_F(HexViewerTest, NamesTheSystemCannotLookUpChangeNothing)
{
    const std::string name = FFolder.Write("kept.bin", PatternBytes(300));
    FViewer->SetFileName(name);
    const std::uint8_t* data = FViewer->Data();
    // Real files: one beyond the path limit, and one a name of 64 KiB more
    // characters begins with (a 16-bit length would come back to it).
    const std::string beyondLimit = FFolder.WriteLongName(MAX_PATH + 40, PatternBytes(50, 3));
    const std::string wrapped = FFolder.Write("short.bin", PatternBytes(60, 4)) + std::string(65536, 'x');
    const std::string names[] = {beyondLimit, "\\\\?\\" + beyondLimit, FFolder.File(std::string(32800, 'n')), wrapped};
    for (const std::string& other : names) {
        SCOPED_TRACE(std::to_string(other.size()) + " characters");
        EXPECT_NO_THROW(FViewer->SetFileName(other));
        EXPECT_EQ(FViewer->FileName(), name);
        EXPECT_EQ(FViewer->Data(), data);
        EXPECT_EQ(FViewer->Size(), 300);
    }
}

TEST_F(HexViewerTest, NameOutsideTheAnsiCodePageAsTheShellHandsItOverChangesNothing)
{
    const std::string name = FFolder.Write("kept.bin", PatternBytes(300));
    FViewer->SetFileName(name);
    const std::uint8_t* data = FViewer->Data();
    const std::wstring wide =
        hexviewtest::TScratchFolder::LongPath(FFolder.Path().string()) + L"\\\u0416\u4E2D\u0101.bin";
    hexviewtest::TScratchFolder::WriteWide(wide, PatternBytes(70, 5));
    // Converted to the ANSI code page, as the open dialog and a drop give it.
    char ansi[MAX_PATH];
    BOOL lossy = FALSE;
    ASSERT_GT(::WideCharToMultiByte(CP_ACP, 0, wide.c_str() + 4, -1, ansi, sizeof ansi, nullptr, &lossy), 0);
    if (!lossy)
        GTEST_SKIP() << "the ANSI code page holds every character of the name";
    EXPECT_NO_THROW(FViewer->SetFileName(ansi)) << ansi;
    EXPECT_EQ(FViewer->FileName(), name);
    EXPECT_EQ(FViewer->Data(), data);
    EXPECT_EQ(FViewer->Size(), 300);
}

// --- painting --------------------------------------------------------------------

class HexViewerPaint : public HexViewerTest {
protected:
    void SetUp() override
    {
        HexViewerTest::SetUp();
        UseKnownFont();
        FViewer->SetAddressColor(0x800080);
        FViewer->SetAnsiCharColor(0x008000);
        SetClientSize(600, 260);
    }
};

TEST_F(HexViewerPaint, ScreenShowsRowsInTheThreeColoursAndBlankBelow)
{
    std::vector<std::uint8_t> bytes = PatternBytes(14 * 5 + 3);
    for (auto& b : bytes)
        b = static_cast<std::uint8_t>('A' + b % 26);
    FViewer->SetFileName(FFolder.Write("p.bin", bytes));
    Pump();
    TDibCanvas shot(600, 260);
    shot.CaptureClient(Window());
    const COLORREF back = ::GetSysColor(COLOR_WINDOW);
    const int h = FViewer->CellHeight();
    const int a = 10 * FViewer->CellWidth();
    const int charLeft = a + 3 * FViewer->CellWidth() * FViewer->BytesPerRow();
    for (int row = 0; row < FViewer->VisibleRows() && (row + 1) * h <= 260; ++row) {
        SCOPED_TRACE("row " + std::to_string(row));
        const int top = row * h, bottom = top + h;
        EXPECT_TRUE(shot.All(back, 0, top, 1, bottom));
        if (row < FViewer->RowCount()) {
            EXPECT_GT(shot.Count(RGB(0x80, 0, 0x80), 1, top, 1 + a, bottom), 0);
            EXPECT_GT(shot.Count(RGB(0, 0, 0), 1 + a, top, charLeft, bottom), 0);
            EXPECT_EQ(shot.Count(RGB(0, 0, 0), 1, top, 1 + a, bottom), 0);
            EXPECT_GT(shot.Count(RGB(0, 0x80, 0), charLeft, top, 600, bottom), 0);
            EXPECT_EQ(shot.Count(RGB(0, 0x80, 0), 0, top, charLeft, bottom), 0);
        } else {
            EXPECT_TRUE(shot.All(back, 0, top, 600, bottom));
        }
    }
}

TEST_F(HexViewerPaint, EmptyViewPaintsOnlyBackground)
{
    Pump();
    TDibCanvas shot(600, 260);
    shot.CaptureClient(Window());
    EXPECT_TRUE(shot.All(::GetSysColor(COLOR_WINDOW), 0, 0, 600, 260));
}

TEST_F(HexViewerPaint, MemoryAddressesFillTheSameNineCharacters)
{
    const auto bytes = PatternBytes(14 * 3);
    FViewer->SetFileName(FFolder.Write("m.bin", bytes));
    ASSERT_EQ(FViewer->BytesPerRow(), 14);
    FViewer->SetDisplayOffset(false);
    const std::string text = FViewer->GetAddressText(1);
    char expected[16];
    std::snprintf(expected, sizeof expected,
                  "%08X:", static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(FViewer->Data() + 14) & 0xFFFFFFFFu));
    EXPECT_EQ(text, expected);
    FViewer->SetDisplayOffset(true);
    EXPECT_EQ(FViewer->GetAddressText(1), "0000000E:");
    EXPECT_EQ(FViewer->GetHexText(2).size(), 3u * 14u);
}

}  // namespace
