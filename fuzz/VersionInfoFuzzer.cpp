// Any byte block either walks into a reader or fails with the reader's own
// error; the sanitizers catch reads outside the block.
#include "components/VxFileUtils.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const TVxFileVersionInfo info(std::vector<std::uint8_t>(data, data + size));
        TVxFixedFileInfo block{};
        info.FixedBlock(block);
        if (block.dwSignature != 0xFEEF04BD)
            std::abort();
        for (int key = 1; key <= 12; ++key)
            (void)info.StandardKeyValue(key);
        if (info.LanguageItems().size() > info.AllItems().size())
            std::abort();
        for (const auto& item : info.LanguageItems())
            if (item.Text.find('=') == std::string::npos || item.Tag != info.StringTableLanguages().at(0))
                std::abort();
    } catch (const EVxFileVersionInfoError&) {}
    return 0;
}
