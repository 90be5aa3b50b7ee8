#include "components/VxDropConst.h"

#include <gtest/gtest.h>

TEST(VxDropMessageTable, TargetMessageUnderItsCode)
{
    EXPECT_EQ(SVxDropTargetNotWinControl, 122);
    EXPECT_EQ(VxDropMessage(122), "Drop target must be a TWinControl descendant");
}

TEST(VxDropMessageTable, UnknownCodesGiveEmptyText)
{
    for (const std::int32_t code : {0, 1, 121, 123, -122, -1, 2147483647})
        EXPECT_EQ(VxDropMessage(code), "") << code;
}
