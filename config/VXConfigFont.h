#pragma once

// The font setting: a configuration item that loads a framework font from,
// and saves it to, one key of a section in the font's one-line text form.

#include "config/FontUtils.h"
#include "config/VXConfig.h"
#include "framework/Graphics.h"

#include <string>

// The attributes of a font that its text form carries.
TVxFontValues FontValuesOf(const TFont& Font);

// Writes text-form attributes into a framework font, one change at a time.
class TVxFontAdapter final : public IVxFontTarget {
public:
    explicit TVxFontAdapter(TFont& Font) : FFont(Font) {}
    void SetSize(std::int32_t points) override;
    void SetColor(std::uint32_t color) override;
    void SetStyle(TVxFontStyles style) override;
    void SetCharset(std::uint8_t charset) override;
    void SetName(const std::string& name) override;

private:
    TFont& FFont;
};

// The font is its creator's; the item only refers to it, so it must not
// outlive the font while it is loaded or saved.
class TVXFontConfig : public TVxBaseConfigItem {
public:
    TVXFontConfig(std::string Name, TFont& Font);

    // A stored text is applied step by step; a malformed one raises with the
    // earlier steps in effect. The font changes once, if at all.
    void Load(IVxConfigSection& Section) override;
    void Save(IVxConfigSection& Section) override;

    TFont& Font() const { return FFont; }

private:
    void AssignIfChanged(const TFont& Read);

    TFont& FFont;
};
