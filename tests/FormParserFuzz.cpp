// Fuzzes the form description parser: any text either parses or raises
// EReadError, and what parses writes back to text that parses the same.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "framework/FormParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    TFormNode node;
    try {
        node = ParseFormDescription(text);
    } catch (const EReadError&) {
        return 0;
    }
    if (!(ParseFormDescription(WriteFormDescription(node)) == node))
        std::abort();
    return 0;
}
