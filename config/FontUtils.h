#pragma once

// The one-line text form of a font, "size,colour,styles charset,face name",
// and the small number parsers it is read with. Window-free: the font is
// reached through IVxFontTarget, so any font object can be adapted to it.

#include "framework/Sets.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// In the order of the framework's font styles.
enum class TVxFontStyle : std::uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TVxFontStyles = TSet<TVxFontStyle>;

// What a font's text form holds.
struct TVxFontValues {
    std::int32_t Size = 0;  // points
    std::uint32_t Color = 0;
    TVxFontStyles Style;
    std::uint8_t Charset = 0;
    std::string Name;

    friend bool operator==(const TVxFontValues&, const TVxFontValues&) = default;
};

// The font that TextToFont writes to, one attribute at a time.
class IVxFontTarget {
public:
    virtual void SetSize(std::int32_t points) = 0;
    virtual void SetColor(std::uint32_t color) = 0;
    virtual void SetStyle(TVxFontStyles style) = 0;
    virtual void SetCharset(std::uint8_t charset) = 0;
    virtual void SetName(const std::string& name) = 0;

protected:
    ~IVxFontTarget() = default;
};

// A target that only keeps the values.
class TVxPlainFont : public IVxFontTarget {
public:
    TVxPlainFont() = default;
    explicit TVxPlainFont(TVxFontValues values) : Values(std::move(values)) {}
    void SetSize(std::int32_t points) override { Values.Size = points; }
    void SetColor(std::uint32_t color) override { Values.Color = color; }
    void SetStyle(TVxFontStyles style) override { Values.Style = style; }
    void SetCharset(std::uint8_t charset) override { Values.Charset = charset; }
    void SetName(const std::string& name) override { Values.Name = name; }

    TVxFontValues Values;
};

std::string FontToText(const TVxFontValues& font);

// Applies text to font attribute by attribute, so a malformed text raises
// EConvertError with what came before it already applied. The empty text
// changes nothing.
void TextToFont(IVxFontTarget& font, std::string_view text);

// Positions are 1-based and advanced past what was read.
void SkipBlanks(std::string_view text, std::size_t& pos);
// Blanks, an optional sign and decimal digits, within 32 bits.
std::int32_t ParseInteger(std::string_view text, std::size_t& pos);
// Blanks, an optional '$' and at most eight hexadecimal digits.
std::int32_t ParseHex(std::string_view text, std::size_t& pos);
// Hexadecimal digits in 32-bit arithmetic that wraps.
std::int32_t HexToInt(std::string_view digits);
