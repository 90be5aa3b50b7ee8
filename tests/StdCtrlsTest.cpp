#include "framework/StdCtrls.h"

#include "framework/ExtCtrls.h"
#include "framework/FormReader.h"
#include "framework/FormWriter.h"

#include <gtest/gtest.h>

#include "tests/AboutTestSupport.h"
#include "tests/support/TestDriver.h"

namespace {

// Keys go to the focused window, which must be this test's own.
[[maybe_unused]] const bool OnOwnDesktop = TestDriver::UsePrivateDesktop();

using about_test::TCapture;

SIZE TextSize(TFont& font, const std::string& text)
{
    TWindowDC screen(nullptr);
    TSelectObject select(screen.Get(), font.Handle());
    SIZE size{};
    GetTextExtentPoint32A(screen.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

LONG ButtonType(TButton* b)
{
    return GetWindowLongA(b->Handle(), GWL_STYLE) & BS_TYPEMASK;
}

class Controls : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterStdControls();
        RegisterExtControls();
        Form = new TForm(nullptr);
        Form->SetBounds(50, 50, 400, 300);
    }
    void TearDown() override { delete Form; }

    template <class T>
    T* Add(int left, int top)
    {
        auto* c = new T(Form);
        c->SetParent(Form);
        c->SetLeft(left);
        c->SetTop(top);
        return c;
    }

    TForm* Form = nullptr;
};

TEST_F(Controls, LabelAutoSizeFitsCaptionKeepingTheAlignedEdge)
{
    auto* left = Add<TLabel>(10, 10);
    left->SetCaption("Hello there");
    const SIZE size = TextSize(left->Font(), "Hello there");
    EXPECT_EQ(left->Width(), size.cx);
    EXPECT_EQ(left->Height(), size.cy);
    EXPECT_EQ(left->Left(), 10);

    auto* right = Add<TLabel>(10, 40);
    right->SetAlignment(taRightJustify);
    right->SetWidth(200);
    const int rightEdge = right->Left() + right->Width();
    right->SetCaption("Hi");
    EXPECT_EQ(right->Width(), TextSize(right->Font(), "Hi").cx);
    EXPECT_EQ(right->Left() + right->Width(), rightEdge);

    auto* fixed = Add<TLabel>(10, 70);
    fixed->SetAutoSize(false);
    fixed->SetBounds(10, 70, 123, 13);
    fixed->SetCaption("A much longer caption than fits");
    EXPECT_EQ(fixed->Width(), 123);
}

TEST_F(Controls, LabelShowsAmpersandOnlyWithoutAccelChar)
{
    auto* label = Add<TLabel>(0, 0);
    label->SetCaption("A&B");
    const int withAccel = label->Width();
    label->SetShowAccelChar(false);
    EXPECT_EQ(label->Width(), TextSize(label->Font(), "A&B").cx);
    EXPECT_GT(label->Width(), withAccel);
}

TEST_F(Controls, LabelPaintsCaptionInFontColourOnParentColour)
{
    Form->SetColor(RGB(0, 128, 0));
    auto* label = Add<TLabel>(0, 0);
    label->Font().SetColor(RGB(255, 0, 0));
    label->SetCaption("WWW");
    label->Handle();
    {
        TCapture shot(*label);
        EXPECT_GT(shot.Count(RGB(255, 0, 0)), 10);
        EXPECT_EQ(shot.At(0, 0), RGB(0, 128, 0));
    }
    label->SetEnabled(false);
    TCapture grey(*label);
    EXPECT_EQ(grey.Count(RGB(255, 0, 0)), 0);
    EXPECT_GT(grey.Count(ColorToRGB(clGrayText)), 10);
}

TEST_F(Controls, LabelDoubleClickRunsDblClickWithoutSecondClick)
{
    auto* label = Add<TLabel>(0, 0);
    label->SetCaption("click me");
    int clicks = 0;
    int doubles = 0;
    std::vector<bool> doubleFlags;
    label->OnClick = [&](TComponent*) { ++clicks; };
    label->OnDblClick = [&](TComponent*) { ++doubles; };
    label->OnMouseDown = [&](TComponent*, int, TShiftState shift, int, int) {
        doubleFlags.push_back(shift.Contains(ssDouble));
    };
    HWND h = label->Handle();
    SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    SendMessageA(h, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(doubleFlags, (std::vector<bool>{false, true}));
}

TEST_F(Controls, ButtonIsNativeAndClickGivesFormItsModalResultBeforeOnClick)
{
    auto* button = Add<TButton>(10, 10);
    button->SetCaption("Go");
    button->SetModalResult(mrRetry);
    TModalResult seen = -1;
    int clicks = 0;
    button->OnClick = [&](TComponent*) {
        ++clicks;
        seen = Form->ModalResult();
    };
    HWND h = button->Handle();
    char text[32] = {};
    GetWindowTextA(h, text, sizeof text);
    EXPECT_STREQ(text, "Go");
    EXPECT_EQ(FindControl(h), button);
    EXPECT_EQ(SendMessageA(h, WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON, DLGC_UNDEFPUSHBUTTON);
    EXPECT_EQ(button->Width(), 75);
    EXPECT_EQ(button->Height(), 25);

    SendMessageA(h, BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(seen, mrRetry);

    // Window made again: still exactly one click per press.
    button->DestroyHandle();
    SendMessageA(button->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 2);
}

TEST_F(Controls, ActiveDefaultFollowsFocusAndSwitchesNativeFrame)
{
    auto* first = Add<TButton>(10, 10);
    auto* second = Add<TButton>(100, 10);
    second->SetDefault(true);
    auto* other = Add<TWinControl>(200, 10);
    other->SetBounds(200, 10, 50, 20);
    other->SetTabStop(true);
    Form->Show();
    other->SetFocus();
    EXPECT_TRUE(second->IsActiveDefault());
    EXPECT_EQ(ButtonType(second), BS_DEFPUSHBUTTON);
    EXPECT_EQ(ButtonType(first), BS_PUSHBUTTON);

    first->SetFocus();
    EXPECT_TRUE(first->IsActiveDefault());
    EXPECT_FALSE(second->IsActiveDefault());
    EXPECT_EQ(ButtonType(first), BS_DEFPUSHBUTTON);
    EXPECT_EQ(ButtonType(second), BS_PUSHBUTTON);

    other->SetFocus();
    EXPECT_FALSE(first->IsActiveDefault());
    EXPECT_TRUE(second->IsActiveDefault());
    EXPECT_EQ(ButtonType(second), BS_DEFPUSHBUTTON);

    second->SetDefault(false);
    EXPECT_FALSE(second->IsActiveDefault());
    EXPECT_EQ(ButtonType(second), BS_PUSHBUTTON);
}

TEST_F(Controls, EnterAndEscapePressDefaultAndCancelButtonsOfModalForm)
{
    auto* ok = Add<TButton>(10, 10);
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    auto* cancel = Add<TButton>(100, 10);
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    auto* edit = Add<TWinControl>(200, 10);
    edit->SetBounds(200, 10, 50, 20);
    edit->SetTabStop(true);
    Form->SetActiveControl(edit);
    {
        about_test::TModalScript script({[&] { edit->SetFocus(); }, [] { about_test::PostKey(VK_ESCAPE); }});
        EXPECT_EQ(Form->ShowModal(), mrCancel);
    }
    {
        about_test::TModalScript script({[&] { edit->SetFocus(); }, [] { about_test::PostKey(VK_RETURN); }});
        EXPECT_EQ(Form->ShowModal(), mrOk);
    }
}

TEST_F(Controls, ImageTakesIconSizeAndDrawsIt)
{
    auto* image = Add<TImage>(10, 10);
    image->SetAutoSize(true);
    image->Icon().SetHandle(CopyIcon(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION))));
    EXPECT_EQ(image->Width(), image->Icon().Width());
    EXPECT_EQ(image->Height(), image->Icon().Height());
    EXPECT_GT(image->Width(), 0);

    image->SetAutoSize(false);
    image->SetBounds(10, 10, 100, 60);
    image->SetCenter(true);
    const RECT centred = image->DestRect();
    EXPECT_EQ(centred.left, (100 - image->Icon().Width()) / 2);
    EXPECT_EQ(centred.top, (60 - image->Icon().Height()) / 2);
    image->SetStretch(true);
    const RECT stretched = image->DestRect();
    EXPECT_EQ(stretched.right - stretched.left, 100);
    EXPECT_EQ(stretched.bottom - stretched.top, 60);
    image->Handle();
    Form->SetColor(RGB(1, 2, 3));
    TCapture shot(*image);
    EXPECT_LT(shot.Count(RGB(1, 2, 3)), 100 * 60);
}

TEST_F(Controls, BevelBoxCoversOnlyItsEdges)
{
    auto* bevel = Add<TBevel>(4, 4);
    bevel->SetBounds(4, 4, 48, 48);
    auto* inside = Add<TWinControl>(12, 12);
    inside->SetBounds(12, 12, 32, 32);
    Form->Show();
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(bevel->Handle(), region), ERROR);
    EXPECT_TRUE(PtInRegion(region, 0, 0));
    EXPECT_TRUE(PtInRegion(region, 47, 20));
    EXPECT_FALSE(PtInRegion(region, 24, 24));
    DeleteObject(region);
    // The control inside the box is hit, not the bevel.
    POINT p{24, 24};
    ClientToScreen(bevel->Handle(), &p);
    EXPECT_EQ(WindowFromPoint(p), inside->Handle());

    bevel->SetShape(bsTopLine);
    HRGN line = CreateRectRgn(0, 0, 0, 0);
    GetWindowRgn(bevel->Handle(), line);
    EXPECT_TRUE(PtInRegion(line, 20, 1));
    EXPECT_FALSE(PtInRegion(line, 20, 2));
    DeleteObject(line);
}

TEST_F(Controls, FormWithLabelAndButtonWritesAndReadsBack)
{
    Form->SetName("Sample");
    Form->SetHelpContext(77);
    auto* label = Add<TLabel>(5, 6);
    label->SetName("Title");
    label->SetCaption("Name & address");
    label->SetAlignment(taCenter);
    label->Font().SetStyle(TFontStyles{fsBold});
    auto* button = Add<TButton>(30, 40);
    button->SetName("Go");
    button->SetCaption("&Go");
    button->SetDefault(true);
    button->SetModalResult(mrYes);
    const TFormNode written = WriteComponentTree(Form);
    ASSERT_EQ(written.Children.size(), 2u);
    const std::string text = WriteFormDescription(written);

    TForm copy(nullptr);
    ReadComponentDescription(&copy, text);
    auto* readLabel = dynamic_cast<TLabel*>(copy.FindComponent("Title"));
    auto* readButton = dynamic_cast<TButton*>(copy.FindComponent("Go"));
    ASSERT_NE(readLabel, nullptr);
    ASSERT_NE(readButton, nullptr);
    EXPECT_EQ(readLabel->Parent(), &copy);
    EXPECT_EQ(readLabel->Caption(), "Name & address");
    EXPECT_EQ(readLabel->Alignment(), taCenter);
    EXPECT_TRUE(readLabel->Font().Style().Contains(fsBold));
    EXPECT_FALSE(readLabel->ParentFont());
    EXPECT_TRUE(readButton->Default());
    EXPECT_EQ(readButton->ModalResult(), mrYes);
    EXPECT_EQ(copy.HelpContext(), 77);
    EXPECT_EQ(WriteComponentTree(&copy), written) << text;
}

}  // namespace
