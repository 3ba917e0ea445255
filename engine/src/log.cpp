#include "logweave/log.h"

#include <algorithm>
#include <iterator>

namespace logweave {
namespace {

// 6 MiB: large enough to hold huge pages, small enough to waste little.
constexpr std::size_t kBlockValues = std::size_t{1} << 19;

}  // namespace

std::span<FieldValue> LogRecords::keep(std::span<const FieldValue> values)
{
    if (blocks_.empty() || blocks_.back().size() - blockUsed_ < values.size()) {
        blocks_.emplace_back(std::max(kBlockValues, values.size()));
        blockUsed_ = 0;
    }
    FieldValue* at = blocks_.back().data() + blockUsed_;
    std::copy(values.begin(), values.end(), at);
    blockUsed_ += values.size();
    return {at, values.size()};
}

void LogRecords::add(std::string_view text, std::span<const FieldValue> values)
{
    records_.emplace_back(text, keep(values));
}

void LogRecords::reserve(std::size_t records)
{
    records_.reserve(records);
}

void LogRecords::clear() noexcept
{
    records_.clear();
    records_.shrink_to_fit();
    blocks_.clear();
    blocks_.shrink_to_fit();
    blockUsed_ = 0;
}

void LogRecords::append(LogRecords&& later)
{
    records_.insert(records_.end(), later.records_.begin(), later.records_.end());
    // The last block stays the one to fill: values added after go there.
    blocks_.insert(blocks_.begin(), std::make_move_iterator(later.blocks_.begin()),
                   std::make_move_iterator(later.blocks_.end()));
    later.clear();
}

void LogRecords::renumberFields(std::span<const std::uint32_t> number)
{
    const auto byField = [](const FieldValue& a, const FieldValue& b) { return a.field < b.field; };
    for (const Record& record : records_) {
        // The values are this list's own, kept in its blocks: written here alone.
        const std::span<const FieldValue> kept = record.values();
        const std::span values(const_cast<FieldValue*>(kept.data()), kept.size());
        for (FieldValue& value : values)
            value.field = number[value.field];
        if (!std::is_sorted(values.begin(), values.end(), byField))
            std::sort(values.begin(), values.end(), byField);
    }
}

}  // namespace logweave
