// The configuration's text codecs on any bytes: quoted-form decoding, integer
// and ISO date-time text. Only conversion errors may be raised; encoding
// then decoding gives the text back.

#include "config/VxConfigText.h"
#include "framework/Exceptions.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    const std::string Text(reinterpret_cast<const char*>(Data), Size);
    try {
        DecodeQuotedString(Text);
    } catch (const EConvertError&) {}
    try {
        const double Value = IsoTextToDateTime(Text);
        if (Value >= 1.0 && DateTimeToIsoText(Value).size() != 15)
            std::abort();
    } catch (const EConvertError&) {}
    TextToInt32(Text);
    TextToFloat(Text);

    std::string WithoutNul;
    for (const char C : Text)
        if (C != '\0')
            WithoutNul += C;
    if (DecodeQuotedString(EncodeQuotedString(Text)) != WithoutNul)
        std::abort();
    return 0;
}
