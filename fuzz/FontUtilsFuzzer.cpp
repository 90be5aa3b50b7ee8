// Any text either applies to a font or fails with a conversion error; what
// it applied must survive a round trip through the text form.
#include "config/FontUtils.h"

#include "framework/Exceptions.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    TVxPlainFont font;
    try {
        TextToFont(font, text);
    } catch (const EConvertError&) {
        return 0;
    }
    if (text.empty())
        return 0;
    TVxPlainFont again;
    TextToFont(again, FontToText(font.Values));
    if (!(again.Values == font.Values))
        std::abort();
    return 0;
}
