#include "framework/Exceptions.h"

#include <gtest/gtest.h>

TEST(ErrorReport, FullStopOnlyAfterCharactersSortingAfterIt)
{
    EXPECT_EQ(ErrorReportText("Syntax error"), "Syntax error.");
    EXPECT_EQ(ErrorReportText("Done."), "Done.");
    EXPECT_EQ(ErrorReportText("Why?"), "Why?.");  // '?' sorts after '.'
    EXPECT_EQ(ErrorReportText("Bang!"), "Bang!");  // '!' sorts before '.'
    EXPECT_EQ(ErrorReportText("Code: 5"), "Code: 5.");
    EXPECT_EQ(ErrorReportText("line\r\n"), "line\r\n");
    EXPECT_EQ(ErrorReportText(""), "");
    EXPECT_EQ(ErrorReportText("caf\xE9"), "caf\xE9.");  // high bytes count as above
}

TEST(Assertion, NamesModuleAndLine)
{
    try {
        VX_ASSERT(1 + 1 == 3);
        FAIL() << "no exception";
    } catch (const EAssertionFailed& e) {
        EXPECT_EQ(e.Message(), Format("Assertion failure (ExceptionsTest.cpp, line %d)", __LINE__ - 3));
    }
    EXPECT_NO_THROW(VX_ASSERT(true));
}

TEST(Format, FormatsLongTexts)
{
    const std::string longText(5000, 'x');
    EXPECT_EQ(Format("Cannot open file \"%s\". %s", longText.c_str(), "Denied"),
              "Cannot open file \"" + longText + "\". Denied");
    EXPECT_EQ(Format("%s", ""), "");
}
