#include "config/VXConfigFont.h"

#include <utility>

namespace {

constexpr std::pair<TVxFontStyle, TFontStyle> StylePairs[] = {
    {TVxFontStyle::fsBold, fsBold},
    {TVxFontStyle::fsItalic, fsItalic},
    {TVxFontStyle::fsUnderline, fsUnderline},
    {TVxFontStyle::fsStrikeOut, fsStrikeOut},
};

}  // namespace

TVxFontValues FontValuesOf(const TFont& Font)
{
    TVxFontValues Values;
    Values.Size = Font.Size();
    Values.Color = Font.Color();
    for (const auto& [Own, Framework] : StylePairs)
        if (Font.Style().Contains(Framework))
            Values.Style.Include(Own);
    Values.Charset = Font.Charset();
    Values.Name = Font.Name();
    return Values;
}

void TVxFontAdapter::SetSize(std::int32_t points)
{
    FFont.SetSize(points);
}

void TVxFontAdapter::SetColor(std::uint32_t color)
{
    FFont.SetColor(color);
}

void TVxFontAdapter::SetStyle(TVxFontStyles style)
{
    TFontStyles Styles;
    for (const auto& [Own, Framework] : StylePairs)
        if (style.Contains(Own))
            Styles.Include(Framework);
    FFont.SetStyle(Styles);
}

void TVxFontAdapter::SetCharset(std::uint8_t charset)
{
    FFont.SetCharset(charset);
}

void TVxFontAdapter::SetName(const std::string& name)
{
    FFont.SetName(name);
}

TVXFontConfig::TVXFontConfig(std::string Name, TFont& Font) : TVxBaseConfigItem(std::move(Name)), FFont(Font)
{}

void TVXFontConfig::Load(IVxConfigSection& Section)
{
    const std::string Text = Section.ReadString(FName, std::string());
    if (Text.empty())
        return;
    // Read into a copy, so whoever follows the font hears of the text once
    // rather than of each of its steps, and not at all when it changes
    // nothing; the steps before a damaged part still take effect.
    TFont Read;
    Read.Assign(FFont);
    TVxFontAdapter Target(Read);
    try {
        TextToFont(Target, Text);
    } catch (...) {
        AssignIfChanged(Read);
        throw;
    }
    AssignIfChanged(Read);
}

void TVXFontConfig::AssignIfChanged(const TFont& Read)
{
    if (Read.Name() != FFont.Name() || Read.Height() != FFont.Height() || Read.Style() != FFont.Style() ||
        Read.Charset() != FFont.Charset() || Read.Color() != FFont.Color() || Read.Pitch() != FFont.Pitch())
        FFont.Assign(Read);
}

void TVXFontConfig::Save(IVxConfigSection& Section)
{
    Section.WriteString(FName, FontToText(FontValuesOf(FFont)));
}
