#include "logweave/record.h"

namespace logweave {

std::string_view Record::value(int field) const noexcept
{
    const FieldValues all = values();
    const auto wanted = static_cast<std::uint32_t>(field);
    std::size_t low = 0;
    std::size_t high = all.size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (all.fieldAt(middle) < wanted)
            low = middle + 1;
        else
            high = middle;
    }
    if (low == all.size() || all.fieldAt(low) != wanted)
        return {};
    return valueOf(all[low]);
}

}  // namespace logweave
