#include "config/VxConfigText.h"

#include "framework/Exceptions.h"

#include <charconv>
#include <cmath>

namespace {

constexpr long long MSecsPerDay = 86400000;
// Day 0 of the date-time scale, 30 December 1899, counted from 1 January 1970.
constexpr long long DateDelta = 25569;

bool IsHexDigit(char C)
{
    return (C >= '0' && C <= '9') || (C >= 'A' && C <= 'F') || (C >= 'a' && C <= 'f');
}

int HexValue(char C)
{
    if (C >= '0' && C <= '9')
        return C - '0';
    if (C >= 'a' && C <= 'f')
        return C - 'a' + 10;
    return C - 'A' + 10;
}

bool IsDigit(char C)
{
    return C >= '0' && C <= '9';
}

// Days from 1 January 1970 of a proleptic Gregorian date.
long long DaysFromCivil(long long Y, int M, int D)
{
    Y -= M <= 2 ? 1 : 0;
    const long long Era = (Y >= 0 ? Y : Y - 399) / 400;
    const long long Yoe = Y - Era * 400;
    const long long Doy = (153 * (M > 2 ? M - 3 : M + 9) + 2) / 5 + D - 1;
    const long long Doe = Yoe * 365 + Yoe / 4 - Yoe / 100 + Doy;
    return Era * 146097 + Doe - 719468;
}

void CivilFromDays(long long Z, long long& Y, int& M, int& D)
{
    Z += 719468;
    const long long Era = (Z >= 0 ? Z : Z - 146096) / 146097;
    const long long Doe = Z - Era * 146097;
    const long long Yoe = (Doe - Doe / 1460 + Doe / 36524 - Doe / 146096) / 365;
    const long long Doy = Doe - (365 * Yoe + Yoe / 4 - Yoe / 100);
    const long long Mp = (5 * Doy + 2) / 153;
    D = static_cast<int>(Doy - (153 * Mp + 2) / 5 + 1);
    M = static_cast<int>(Mp < 10 ? Mp + 3 : Mp - 9);
    Y = Yoe + Era * 400 + (M <= 2 ? 1 : 0);
}

bool IsLeapYear(int Year)
{
    return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0);
}

int DaysInMonth(int Year, int Month)
{
    static constexpr int Days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return Month == 2 && IsLeapYear(Year) ? 29 : Days[Month - 1];
}

// Steps over leading blanks and one sign; true for a minus.
bool SkipBlanksAndSign(std::string_view S, std::size_t& I)
{
    I = 0;
    while (I < S.size() && S[I] == ' ')
        ++I;
    const bool Negative = I < S.size() && S[I] == '-';
    if (I < S.size() && (S[I] == '-' || S[I] == '+'))
        ++I;
    return Negative;
}

// One field of the ISO form: optional blanks and sign, then decimal digits;
// anything else counts as 0.
int IsoField(std::string_view S)
{
    std::size_t I = 0;
    const bool Negative = SkipBlanksAndSign(S, I);
    if (I == S.size())
        return 0;
    int Value = 0;
    for (; I < S.size(); ++I) {
        if (!IsDigit(S[I]))
            return 0;
        Value = Value * 10 + (S[I] - '0');
    }
    return Negative ? -Value : Value;
}

void AppendDigits(std::string& Out, int Value, int Width)
{
    char Buffer[12];
    const auto Result = std::to_chars(Buffer, Buffer + sizeof Buffer, Value);
    const auto Length = static_cast<int>(Result.ptr - Buffer);
    Out.append(static_cast<std::size_t>(Width > Length ? Width - Length : 0), '0');
    Out.append(Buffer, Result.ptr);
}

}  // namespace

bool HasAnyChar(std::string_view S, std::string_view Set)
{
    return S.find_first_of(Set) != std::string_view::npos;
}

std::string EncodeQuotedString(std::string_view S)
{
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string Result;
    Result.reserve(S.size() + 2);
    Result += '"';
    for (const char C : S) {
        const auto Code = static_cast<unsigned char>(C);
        if (Code < 32 || C == '"' || C == '=') {
            Result += '%';
            Result += Hex[Code >> 4];
            Result += Hex[Code & 15];
        } else if (C == '%') {
            Result += "%%";
        } else {
            Result += C;
        }
    }
    Result += '"';
    return Result;
}

std::string DecodeQuotedString(std::string_view S)
{
    if (S.size() > 1 && S.front() == '"' && S.back() == '"')
        S = S.substr(1, S.size() - 2);
    std::string Result;
    Result.reserve(S.size());
    for (std::size_t I = 0; I < S.size(); ++I) {
        if (S[I] != '%') {
            Result += S[I];
            continue;
        }
        if (I + 1 < S.size() && S[I + 1] == '%') {
            Result += '%';
            ++I;
            continue;
        }
        if (I + 2 >= S.size())
            throw EConvertError("Badly formed quoted string");
        const char High = S[I + 1];
        const char Low = S[I + 2];
        if (!IsHexDigit(High) || !IsHexDigit(Low))
            throw EConvertError("'$" + std::string{High, Low} + "' is not a valid integer value");
        const int Code = HexValue(High) * 16 + HexValue(Low);
        if (Code != 0)
            Result += static_cast<char>(Code);
        I += 2;
    }
    return Result;
}

std::optional<std::int32_t> TextToInt32(std::string_view S)
{
    std::size_t I = 0;
    const bool Negative = SkipBlanksAndSign(S, I);
    const bool Hex = I < S.size() && (S[I] == '$' || S[I] == 'x' || S[I] == 'X');
    if (Hex)
        ++I;
    if (I == S.size())
        return std::nullopt;
    // 64 bits hold any 32-bit value with room to detect overflow per digit.
    std::uint64_t Value = 0;
    const std::uint64_t Limit = Hex ? 0xFFFFFFFFu : (Negative ? 0x80000000u : 0x7FFFFFFFu);
    for (; I < S.size(); ++I) {
        const char C = S[I];
        if (Hex ? !IsHexDigit(C) : !IsDigit(C))
            return std::nullopt;
        Value = Value * (Hex ? 16 : 10) + static_cast<std::uint64_t>(Hex ? HexValue(C) : C - '0');
        if (Value > Limit)
            return std::nullopt;
    }
    // Hexadecimal keeps the bits (FFFFFFFF is -1); a sign then negates them.
    auto Bits = static_cast<std::uint32_t>(Value);
    if (Negative)
        Bits = 0u - Bits;
    return static_cast<std::int32_t>(Bits);
}

std::int32_t StrToIntDef(std::string_view S, std::int32_t Default)
{
    return TextToInt32(S).value_or(Default);
}

std::optional<double> TextToFloat(std::string_view S)
{
    while (!S.empty() && S.front() == ' ')
        S.remove_prefix(1);
    std::string Text{S};
    if (!Text.empty() && Text.front() == '+')
        Text.erase(0, 1);
    if (Text.empty() || Text.front() == '+')
        return std::nullopt;
    if (const auto Comma = Text.find(','); Comma != std::string::npos && Text.find('.') == std::string::npos)
        Text[Comma] = '.';
    double Value = 0;
    const char* End = Text.data() + Text.size();
    const auto Result = std::from_chars(Text.data(), End, Value, std::chars_format::general);
    if (Result.ec != std::errc{} || Result.ptr != End || !std::isfinite(Value))
        return std::nullopt;
    return Value;
}

double EncodeDate(int Year, int Month, int Day)
{
    if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 || Day > DaysInMonth(Year, Month))
        throw EConvertError("Invalid argument to date encode");
    return static_cast<double>(DaysFromCivil(Year, Month, Day) + DateDelta);
}

double EncodeTime(int Hour, int Minute, int Second, int MSec)
{
    if (Hour < 0 || Hour > 23 || Minute < 0 || Minute > 59 || Second < 0 || Second > 59 || MSec < 0 || MSec > 999)
        throw EConvertError("Invalid argument to time encode");
    const long long Millis = ((Hour * 60LL + Minute) * 60 + Second) * 1000 + MSec;
    return static_cast<double>(Millis) / static_cast<double>(MSecsPerDay);
}

TVxDateTimeParts DecodeDateTime(double Value)
{
    // Past these the millisecond count leaves 64 bits long before the year
    // leaves 1..9999, which the range test below catches.
    if (!std::isfinite(Value) || std::fabs(Value) > 1e9)
        throw EConvertError(Format("%g is not a valid date and time", Value));
    // A negative value counts whole days back from day 0, its fraction is
    // still the time of day.
    const long long Millis = std::llround(std::fabs(Value) * static_cast<double>(MSecsPerDay));
    const long long Days = Value < 0 ? -(Millis / MSecsPerDay) : Millis / MSecsPerDay;
    long long TimeOfDay = Millis % MSecsPerDay;
    TVxDateTimeParts Parts;
    long long Year = 0;
    CivilFromDays(Days - DateDelta, Year, Parts.Month, Parts.Day);
    if (Year < 1 || Year > 9999)
        throw EConvertError(Format("%g is not a valid date and time", Value));
    Parts.Year = static_cast<int>(Year);
    Parts.MSec = static_cast<int>(TimeOfDay % 1000);
    TimeOfDay /= 1000;
    Parts.Second = static_cast<int>(TimeOfDay % 60);
    TimeOfDay /= 60;
    Parts.Minute = static_cast<int>(TimeOfDay % 60);
    Parts.Hour = static_cast<int>(TimeOfDay / 60);
    return Parts;
}

std::string DateTimeToIsoText(double Value)
{
    if (Value < 1.0)
        return {};
    const TVxDateTimeParts Parts = DecodeDateTime(Value);
    std::string Text;
    Text.reserve(15);
    AppendDigits(Text, Parts.Year, 4);
    AppendDigits(Text, Parts.Month, 2);
    AppendDigits(Text, Parts.Day, 2);
    Text += 'T';
    AppendDigits(Text, Parts.Hour, 2);
    AppendDigits(Text, Parts.Minute, 2);
    AppendDigits(Text, Parts.Second, 2);
    return Text;
}

double IsoTextToDateTime(std::string_view S)
{
    if (S.empty())
        return 0;
    if (S.size() != 15)
        throw EConvertError("Badly formed ISO date/time");
    // Character 9 (the 'T') is not examined.
    const double Date = EncodeDate(IsoField(S.substr(0, 4)), IsoField(S.substr(4, 2)), IsoField(S.substr(6, 2)));
    const double Time = EncodeTime(IsoField(S.substr(9, 2)), IsoField(S.substr(11, 2)), IsoField(S.substr(13, 2)), 0);
    return Date < 0 ? Date - Time : Date + Time;
}
