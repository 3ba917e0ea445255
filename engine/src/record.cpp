#include "logweave/record.h"

#include <algorithm>

namespace logweave {

Record::Record(std::string text, std::vector<FieldValue> values)
    : text_(std::move(text)), values_(std::move(values))
{
}

std::string_view Record::value(int field) const noexcept
{
    const auto it = std::lower_bound(values_.begin(), values_.end(), field,
                                     [](const FieldValue& v, int f) { return v.field < f; });
    if (it == values_.end() || it->field != field)
        return {};
    return valueOf(*it);
}

}  // namespace logweave
