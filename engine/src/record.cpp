#include "logweave/record.h"

#include <algorithm>

namespace logweave {

Record::Record(std::string_view text, std::span<const FieldValue> values) noexcept
    : text_(text.data()), length_(static_cast<std::uint32_t>(text.size())),
      count_(static_cast<std::uint32_t>(values.size())), values_(values.data())
{
}

std::string_view Record::value(int field) const noexcept
{
    const auto all = values();
    const auto it = std::lower_bound(all.begin(), all.end(), field,
                                     [](const FieldValue& v, int f) { return static_cast<int>(v.field) < f; });
    if (it == all.end() || static_cast<int>(it->field) != field)
        return {};
    return valueOf(*it);
}

}  // namespace logweave
