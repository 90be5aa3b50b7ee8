#pragma once

// Text codecs of the configuration file: quoted values, integer text and the
// ISO basic date-time form. Date-times are day counts from 30 December 1899
// with the time of day as the fraction, in local time.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Characters that make a written value need the quoted form.
inline constexpr std::string_view VxBlankChars{"\t\n\v\f\r ", 6};

bool HasAnyChar(std::string_view S, std::string_view Set);

// Quoted form: '"' + S with codes 0-31, '"' and '=' as %XX and '%' as %% + '"'.
std::string EncodeQuotedString(std::string_view S);

// Inverse of EncodeQuotedString; the surrounding quotes are optional. Raises
// EConvertError on a truncated or non-hexadecimal escape.
std::string DecodeQuotedString(std::string_view S);

// Optional leading blanks and sign, then decimal digits or hexadecimal digits
// after '$', 'x' or 'X', the whole text and within 32 bits; else nothing.
std::optional<std::int32_t> TextToInt32(std::string_view S);
std::int32_t StrToIntDef(std::string_view S, std::int32_t Default);

// A finite floating-point number; '.' or ',' as the decimal separator.
std::optional<double> TextToFloat(std::string_view S);

// Raise EConvertError "Invalid argument to date encode" / "... time encode".
double EncodeDate(int Year, int Month, int Day);
double EncodeTime(int Hour, int Minute, int Second, int MSec);

struct TVxDateTimeParts {
    int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0, MSec = 0;
};

// Splits a date-time of year 1 to 9999, rounded to the millisecond; raises
// EConvertError outside that range.
TVxDateTimeParts DecodeDateTime(double Value);

// "yyyymmddThhnnss"; the empty text below 1.0.
std::string DateTimeToIsoText(double Value);

// 0 for the empty text; EConvertError "Badly formed ISO date/time" for any
// length but 15, else the encode errors for an invalid date or time.
double IsoTextToDateTime(std::string_view S);
