#include "config/FontUtils.h"

#include "framework/Exceptions.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace {

// The character at a 1-based position, or NUL past either end.
char CharAt(std::string_view text, std::size_t pos)
{
    return pos >= 1 && pos <= text.size() ? text[pos - 1] : '\0';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

int HexDigitValue(char c)
{
    if (IsDigit(c))
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

[[noreturn]] void RaiseSyntaxError()
{
    throw EConvertError("Syntax error");
}

[[noreturn]] void RaiseNumberExpected()
{
    throw EConvertError("Number expected");
}

[[noreturn]] void RaiseInvalidInteger(std::string_view text)
{
    throw EConvertError(Format("'%s' is not a valid integer value", std::string(text).c_str()));
}

// Fails unless a comma stands at pos with at least one character after it.
void ExpectComma(std::string_view text, std::size_t pos)
{
    if (pos >= text.size() || CharAt(text, pos) != ',')
        RaiseSyntaxError();
}

}  // namespace

void SkipBlanks(std::string_view text, std::size_t& pos)
{
    for (char c = CharAt(text, pos); (c >= 9 && c <= 13) || c == ' '; c = CharAt(text, pos))
        ++pos;
}

std::int32_t ParseInteger(std::string_view text, std::size_t& pos)
{
    SkipBlanks(text, pos);
    const std::size_t start = pos;
    if (CharAt(text, pos) == '+' || CharAt(text, pos) == '-')
        ++pos;
    while (IsDigit(CharAt(text, pos)))
        ++pos;
    if (pos == start)
        RaiseNumberExpected();
    const std::string_view number = text.substr(start - 1, pos - start);
    const bool negative = number[0] == '-';
    const std::size_t firstDigit = (number[0] == '+' || negative) ? 1 : 0;
    if (firstDigit == number.size())
        RaiseInvalidInteger(number);
    // Accumulated as a magnitude, so the most negative value fits too.
    const std::uint64_t limit = negative ? std::uint64_t{1} << 31 : (std::uint64_t{1} << 31) - 1;
    std::uint64_t magnitude = 0;
    for (const char c : number.substr(firstDigit)) {
        magnitude = magnitude * 10 + static_cast<std::uint64_t>(c - '0');
        if (magnitude > limit)
            RaiseInvalidInteger(number);
    }
    return negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude))
                    : static_cast<std::int32_t>(magnitude);
}

std::int32_t ParseHex(std::string_view text, std::size_t& pos)
{
    SkipBlanks(text, pos);
    if (CharAt(text, pos) == '$')
        ++pos;
    const std::size_t start = pos;
    while (pos - start < 8 && HexDigitValue(CharAt(text, pos)) >= 0)
        ++pos;
    if (pos == start)
        RaiseNumberExpected();
    return HexToInt(text.substr(start - 1, pos - start));
}

std::int32_t HexToInt(std::string_view digits)
{
    std::uint32_t result = 0;
    for (const char c : digits) {
        const int value = HexDigitValue(c);
        if (value < 0)
            RaiseInvalidInteger(digits);
        result = result * 16 + static_cast<std::uint32_t>(value);
    }
    return static_cast<std::int32_t>(result);
}

std::string FontToText(const TVxFontValues& font)
{
    constexpr std::pair<TVxFontStyle, char> Letters[] = {
        {TVxFontStyle::fsBold, 'B'},
        {TVxFontStyle::fsItalic, 'I'},
        {TVxFontStyle::fsUnderline, 'U'},
        {TVxFontStyle::fsStrikeOut, 'S'},
    };
    char styles[std::size(Letters) + 1] = {};
    std::size_t count = 0;
    for (const auto& [style, letter] : Letters)
        if (font.Style.Contains(style))
            styles[count++] = letter;
    if (count == 0)
        styles[0] = 'N';
    std::string text = Format("%d,%X,%s%u,", static_cast<int>(font.Size), static_cast<unsigned>(font.Color), styles,
                              static_cast<unsigned>(font.Charset));
    text.append(font.Name);
    return text;
}

void TextToFont(IVxFontTarget& font, std::string_view text)
{
    if (text.empty())
        return;
    std::size_t pos = 1;
    font.SetSize(ParseInteger(text, pos));
    font.SetCharset(0);
    ExpectComma(text, pos);
    ++pos;
    font.SetColor(static_cast<std::uint32_t>(ParseHex(text, pos)));
    ExpectComma(text, pos);
    ++pos;

    TVxFontStyles style;
    font.SetStyle(style);
    // Character sets above 255 are not valid; such a number leaves the set
    // at 0. Saturating keeps long digit runs from overflowing.
    constexpr std::uint32_t NoCharset = 256;
    std::uint32_t number = 0;
    for (; pos < text.size() && CharAt(text, pos) != ','; ++pos) {
        const char c = CharAt(text, pos);
        if (IsDigit(c)) {
            number = std::min<std::uint32_t>(number * 10 + static_cast<std::uint32_t>(c - '0'), NoCharset);
            continue;
        }
        switch (c) {
        case 'B':
        case 'b': style.Include(TVxFontStyle::fsBold); break;
        case 'I':
        case 'i': style.Include(TVxFontStyle::fsItalic); break;
        case 'U':
        case 'u': style.Include(TVxFontStyle::fsUnderline); break;
        case 'S':
        case 's': style.Include(TVxFontStyle::fsStrikeOut); break;
        default: continue;
        }
        font.SetStyle(style);
    }
    ExpectComma(text, pos);
    font.SetName(std::string(text.substr(pos)));
    if (number > 0 && number < NoCharset)
        font.SetCharset(static_cast<std::uint8_t>(number));
}
