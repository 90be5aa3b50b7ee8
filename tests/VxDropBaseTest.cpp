#include "components/VxDropBase.h"

#include <gtest/gtest.h>

TEST(VxDropException, TakesMessageFromTableByCode)
{
    const EVxDropException known(122);
    EXPECT_EQ(known.Code, 122);
    EXPECT_EQ(known.Message(), "Drop target must be a TWinControl descendant");
    EXPECT_STREQ(known.what(), "Drop target must be a TWinControl descendant");

    const EVxDropException unknown(7);
    EXPECT_EQ(unknown.Code, 7);
    EXPECT_EQ(unknown.Message(), "");
}

TEST(VxDropException, FilesErrorIsCaughtAsLibraryAndBaseError)
{
    try {
        throw EVxDropFilesError(122);
    } catch (const EVxDropException& e) {
        EXPECT_EQ(e.Code, 122);
        EXPECT_NE(dynamic_cast<const EVxDropFilesError*>(&e), nullptr);
        EXPECT_NE(dynamic_cast<const Exception*>(&e), nullptr);
    }
}

TEST(VxDropComponent, VersionIsFixed)
{
    TComponent owner(nullptr);
    auto* component = new TVxDropComponent(&owner);
    EXPECT_EQ(component->Version(), "1.02");
    component->SetVersion("2.00");
    EXPECT_EQ(component->Version(), "1.02");
}
