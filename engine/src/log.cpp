#include "logweave/log.h"

#include <algorithm>

namespace logweave {
namespace {

constexpr std::size_t kBlockValues = std::size_t{1} << 16;

bool byField(const FieldValue& a, const FieldValue& b) noexcept
{
    return a.field < b.field;
}

}  // namespace

std::span<FieldValue> Log::keep(std::span<const FieldValue> values)
{
    if (blocks_.empty() || blockSize_ - blockUsed_ < values.size()) {
        blockSize_ = std::max(kBlockValues, values.size());
        blocks_.push_back(std::make_unique_for_overwrite<FieldValue[]>(blockSize_));
        blockUsed_ = 0;
    }
    FieldValue* at = blocks_.back().get() + blockUsed_;
    std::copy(values.begin(), values.end(), at);
    blockUsed_ += values.size();
    return {at, values.size()};
}

void Log::add(std::size_t begin, std::size_t length, std::span<const FieldValue> values)
{
    records_.emplace_back(text().substr(begin, length), keep(values));
}

void Log::reorder(const std::vector<std::size_t>& order)
{
    std::vector<Record> ordered;
    ordered.reserve(order.size());
    for (const std::size_t i : order)
        ordered.push_back(records_[i]);
    records_ = std::move(ordered);
}

void Log::renumberFields(const std::vector<std::uint32_t>& renumber)
{
    for (Record& record : records_) {
        const auto values = record.values();
        // The values are the log's own: only their numbers change here.
        auto* first = const_cast<FieldValue*>(values.data());
        auto* last = first + values.size();
        for (FieldValue* v = first; v != last; ++v)
            v->field = renumber[v->field];
        if (!std::is_sorted(first, last, byField))
            std::sort(first, last, byField);
    }
}

}  // namespace logweave
