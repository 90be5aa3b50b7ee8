#include "config/VxConfigText.h"

#include "framework/Exceptions.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

std::string DecodeError(std::string_view S)
{
    try {
        DecodeQuotedString(S);
    } catch (const EConvertError& E) {
        return E.Message();
    }
    return "no error";
}

std::string IsoError(std::string_view S)
{
    try {
        IsoTextToDateTime(S);
    } catch (const EConvertError& E) {
        return E.Message();
    }
    return "no error";
}

}  // namespace

TEST(QuotedString, EncodesControlQuoteEqualsAndPercent)
{
    EXPECT_EQ(EncodeQuotedString("a b\t"), "\"a b%09\"");
    EXPECT_EQ(EncodeQuotedString("50%"), "\"50%%\"");
    EXPECT_EQ(EncodeQuotedString("k=\"v\""), "\"k%3D%22v%22\"");
    EXPECT_EQ(EncodeQuotedString(std::string("\r\n\x1F\x7F\xE9", 5)), "\"%0D%0A%1F\x7F\xE9\"");
}

TEST(QuotedString, DecodesEscapesOfEitherCase)
{
    EXPECT_EQ(DecodeQuotedString(""), "");
    EXPECT_EQ(DecodeQuotedString("\"a b%09\""), "a b\t");
    EXPECT_EQ(DecodeQuotedString("\"%3d%3D%%\""), "==%");
    EXPECT_EQ(DecodeQuotedString("no quotes%41"), "no quotesA");
    EXPECT_EQ(DecodeQuotedString("\""), "\"");  // one quote is not a quoted form
    EXPECT_EQ(DecodeQuotedString("\"\""), "");
    EXPECT_EQ(DecodeQuotedString("\"a%00b\""), "ab");  // code 0 adds nothing
}

TEST(QuotedString, RoundTripsEveryByte)
{
    std::string All;
    for (int C = 1; C < 256; ++C)
        All += static_cast<char>(C);
    EXPECT_EQ(DecodeQuotedString(EncodeQuotedString(All)), All);
}

TEST(QuotedString, BadEscapesRaiseConversionErrors)
{
    EXPECT_EQ(DecodeError("\"abc%\""), "Badly formed quoted string");
    EXPECT_EQ(DecodeError("\"abc%4\""), "Badly formed quoted string");
    EXPECT_EQ(DecodeError("%"), "Badly formed quoted string");
    EXPECT_EQ(DecodeError("\"%zz\""), "'$zz' is not a valid integer value");
    EXPECT_EQ(DecodeError("\"%4g\""), "'$4g' is not a valid integer value");
}

TEST(IntegerText, ConvertsDecimalAndHexadecimalForms)
{
    struct Case {
        const char* Text;
        std::optional<std::int32_t> Expected;
    };
    const Case Cases[] = {
        {"0", 0},
        {"  42", 42},
        {"+7", 7},
        {"-2147483648", INT32_MIN},
        {"2147483647", INT32_MAX},
        {"2147483648", std::nullopt},
        {"$10", 16},
        {"x1f", 31},
        {"XFF", 255},
        {"$FFFFFFFF", -1},
        {"$80000000", INT32_MIN},
        {"$100000000", std::nullopt},
        {"-$10", -16},
        {"0x10", std::nullopt},  // the 0x form is the store's job
        {"", std::nullopt},
        {"-", std::nullopt},
        {"$", std::nullopt},
        {"12 ", std::nullopt},
        {"1e3", std::nullopt},
        {"99999999999999999999", std::nullopt},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(TextToInt32(C.Text), C.Expected) << C.Text;
}

TEST(FloatText, AcceptsEitherDecimalSeparatorAndRejectsNonFinite)
{
    EXPECT_EQ(TextToFloat("36526.5"), 36526.5);
    EXPECT_EQ(TextToFloat("36526,25"), 36526.25);
    EXPECT_EQ(TextToFloat(" -1.5"), -1.5);
    EXPECT_EQ(TextToFloat("+2"), 2.0);
    EXPECT_EQ(TextToFloat("inf"), std::nullopt);
    EXPECT_EQ(TextToFloat("nan"), std::nullopt);
    EXPECT_EQ(TextToFloat("1.5x"), std::nullopt);
    EXPECT_EQ(TextToFloat("++1"), std::nullopt);
    EXPECT_EQ(TextToFloat(""), std::nullopt);
}

TEST(DateTime, EncodesDaysFromTheEpoch)
{
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
    EXPECT_EQ(EncodeDate(2000, 2, 29), 36585.0);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593.0);
    EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
    EXPECT_THROW(EncodeDate(1900, 2, 29), EConvertError);  // not a leap year
    EXPECT_THROW(EncodeDate(2000, 13, 1), EConvertError);
    EXPECT_THROW(EncodeDate(0, 1, 1), EConvertError);
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 60, 0, 0), EConvertError);
}

TEST(IsoDateTime, RoundTripsExactly)
{
    const double Value = IsoTextToDateTime("19991231T235959");
    EXPECT_EQ(Value, EncodeDate(1999, 12, 31) + EncodeTime(23, 59, 59, 0));
    EXPECT_EQ(DateTimeToIsoText(Value), "19991231T235959");
    for (const char* Text : {"18991231T000001", "20000229T120000", "99991231T235959", "20261207T231554"})
        EXPECT_EQ(DateTimeToIsoText(IsoTextToDateTime(Text)), Text);
}

TEST(IsoDateTime, WritesEmptyBelowOneAndDropsTheFraction)
{
    EXPECT_EQ(DateTimeToIsoText(0.999), "");
    EXPECT_EQ(DateTimeToIsoText(-5), "");
    EXPECT_EQ(DateTimeToIsoText(1.0), "18991231T000000");
    EXPECT_EQ(DateTimeToIsoText(IsoTextToDateTime("00010101T000000")), "");
    EXPECT_EQ(DateTimeToIsoText(EncodeDate(2026, 12, 7) + EncodeTime(23, 15, 54, 999)), "20261207T231554");
    EXPECT_THROW(DateTimeToIsoText(3e6), EConvertError);  // year 10113
    EXPECT_THROW(DateTimeToIsoText(NAN), EConvertError);
    EXPECT_THROW(DateTimeToIsoText(INFINITY), EConvertError);
}

TEST(IsoDateTime, ReadsFieldsAndReportsBadOnes)
{
    EXPECT_EQ(IsoTextToDateTime(""), 0.0);
    EXPECT_EQ(IsoTextToDateTime("20000101X120000"), 36526.5);  // character 9 not examined
    EXPECT_EQ(IsoError("20000101T12000"), "Badly formed ISO date/time");
    EXPECT_EQ(IsoError("20000101T1200000"), "Badly formed ISO date/time");
    EXPECT_EQ(IsoError("20001301T000000"), "Invalid argument to date encode");
    EXPECT_EQ(IsoError("20000230T000000"), "Invalid argument to date encode");
    EXPECT_EQ(IsoError("20000101T240000"), "Invalid argument to time encode");
    EXPECT_EQ(IsoError("20000101T00ab00"), "no error");  // a non-number field is 0
    EXPECT_EQ(IsoError("abcd0101T000000"), "Invalid argument to date encode");  // year 0
}

TEST(IsoDateTime, NegativeDatesKeepTheTimeOfDay)
{
    const double Value = IsoTextToDateTime("18991229T060000");
    EXPECT_EQ(Value, -1.25);
    const TVxDateTimeParts Parts = DecodeDateTime(Value);
    EXPECT_EQ(Parts.Day, 29);
    EXPECT_EQ(Parts.Hour, 6);
}
