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
    TVxFontAdapter Target(FFont);
    TextToFont(Target, Text);
}

void TVXFontConfig::Save(IVxConfigSection& Section)
{
    Section.WriteString(FName, FontToText(FontValuesOf(FFont)));
}
