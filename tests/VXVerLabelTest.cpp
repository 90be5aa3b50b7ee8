#include "components/VXVerLabel.h"

#include "framework/Application.h"
#include "framework/FormReader.h"
#include "framework/FormWriter.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// This program's own version resource: 1.7.0.22, no "Comments" value.
class VersionLabel : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterVersionLabel();
        // Any label's destruction closes the shared reader: start closed.
        delete new TVXVersionLabel(nullptr);
        Form = std::make_unique<TForm>(nullptr);
    }

    TVXVersionLabel* Add()
    {
        auto* label = new TVXVersionLabel(Form.get());
        label->SetParent(Form.get());
        return label;
    }

    std::unique_ptr<TForm> Form;
};

struct ItemCase {
    TVersionResources Item;
    const char* Text;
};

TEST_F(VersionLabel, EachItemReadsItsValueAndFileVersionComesFromFixedBlock)
{
    const TVxFileVersionInfo info(Application->ExeName());
    const ItemCase cases[] = {
        {vrCompanyName, "Talmore"},
        {vrFileDescription, "Dialog component test"},
        {vrFileVersion, "1.7.0 (22)"},
        {vrInternalName, "AboutTest"},
        {vrLegalCopyright, "Copyright (C) 2024 Talmore"},
        {vrOriginalFilename, "AboutTest.exe"},
        {vrProductName, "Quorvel"},
        {vrProductVersion, "1.7"},
        {vrComments, ""},
    };
    for (const ItemCase& c : cases) {
        EXPECT_EQ(VersionItemText(info, c.Item), c.Text) << static_cast<int>(c.Item);
        auto* label = Add();
        label->SetPrefix("> ");
        label->SetVersionResource(c.Item);
        EXPECT_EQ(label->Caption(), std::string("> ") + c.Text);
    }
}

TEST_F(VersionLabel, BuiltInCodeShowsNothingUntilAPropertyIsSet)
{
    auto* label = Add();
    EXPECT_EQ(label->Caption(), "");
    EXPECT_EQ(label->VersionResource(), vrFileVersion);
    EXPECT_FALSE(VersionLabelReaderOpen());
    label->SetPrefix("Version ");
    EXPECT_EQ(label->Caption(), "Version 1.7.0 (22)");
}

TEST_F(VersionLabel, MissingValueLeavesThePrefixAlone)
{
    auto* label = Add();
    label->SetVersionResource(vrComments);
    EXPECT_EQ(label->Caption(), "");
    label->SetPrefix("Note: ");
    EXPECT_EQ(label->Caption(), "Note: ");
}

TEST_F(VersionLabel, AssigningTheCurrentValueRecomputes)
{
    auto* label = Add();
    label->SetPrefix("v");
    label->SetCaption("stale");
    label->SetVersionResource(label->VersionResource());
    EXPECT_EQ(label->Caption(), "v1.7.0 (22)");
    label->SetCaption("stale");
    label->SetPrefix(label->Prefix());
    EXPECT_EQ(label->Caption(), "v1.7.0 (22)");
}

TEST_F(VersionLabel, DesignStateShowsUndefinedWithoutReadingTheResource)
{
    Form->SetDesigning(true);
    auto* label = Add();
    label->SetPrefix("P ");
    label->SetVersionResource(vrProductName);
    EXPECT_EQ(label->Caption(), "P *UNDEFINED*");
    EXPECT_FALSE(VersionLabelReaderOpen());
}

TEST_F(VersionLabel, AnyDestroyedLabelReleasesTheSharedReaderAndItIsOpenedAgain)
{
    auto* first = Add();
    auto* second = Add();
    first->SetVersionResource(vrProductName);
    second->SetVersionResource(vrCompanyName);
    EXPECT_TRUE(VersionLabelReaderOpen());
    delete first;
    EXPECT_FALSE(VersionLabelReaderOpen());
    second->SetPrefix("By ");
    EXPECT_TRUE(VersionLabelReaderOpen());
    EXPECT_EQ(second->Caption(), "By Talmore");
}

TEST_F(VersionLabel, DescriptionComputesCaptionAndNeverHoldsIt)
{
    ReadComponentDescription(Form.get(), R"(TForm F {
        TVXVersionLabel A { Prefix = "Version " AutoSize = false }
        TVXVersionLabel B { VersionResource = vrProductName }
    })");
    auto* a = dynamic_cast<TVXVersionLabel*>(Form->FindComponent("A"));
    auto* b = dynamic_cast<TVXVersionLabel*>(Form->FindComponent("B"));
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->Caption(), "Version 1.7.0 (22)");
    EXPECT_EQ(b->Caption(), "Quorvel");

    const TFormNode written = WriteComponentTree(Form.get());
    ASSERT_EQ(written.Children.size(), 2u);
    for (const TFormNode& child : written.Children)
        for (const TFormProperty& p : child.Properties)
            EXPECT_NE(p.Path, "Caption");

    TForm other(nullptr);
    EXPECT_THROW(ReadComponentDescription(&other, R"(TForm G { TVXVersionLabel C { Caption = "typed" } })"),
                 EReadError);
}

}  // namespace
