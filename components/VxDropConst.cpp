#include "components/VxDropConst.h"

#include <array>
#include <string_view>

namespace {

struct TVxDropMessageEntry {
    std::int32_t Code;
    std::string_view Text;
};

constexpr std::array<TVxDropMessageEntry, 1> MessageTable{{
    {SVxDropTargetNotWinControl, "Drop target must be a TWinControl descendant"},
}};

}  // namespace

std::string VxDropMessage(std::int32_t Code)
{
    for (const auto& entry : MessageTable)
        if (entry.Code == Code)
            return std::string(entry.Text);
    return {};
}
