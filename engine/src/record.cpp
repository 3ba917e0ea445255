#include "logweave/record.h"

#include <algorithm>

namespace logweave {

Record::Record(std::string text, std::vector<FieldValue> values)
    : length_(text.size()), values_(std::move(values))
{
    source_ = std::make_shared<const std::string>(std::move(text));
}

Record::Record(std::shared_ptr<const std::string> source, std::size_t begin, std::size_t length,
               std::vector<FieldValue> values)
    : source_(std::move(source)), begin_(begin), length_(length), values_(std::move(values))
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
