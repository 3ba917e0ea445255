#include "logweave/log.h"

#include <algorithm>
#include <iterator>

namespace logweave {
namespace {

// 6 MiB: large enough to hold huge pages, small enough to waste little.
constexpr std::size_t kBlockWords = std::size_t{3} << 19;

}  // namespace

const std::uint32_t* LogRecords::keep(std::span<const FieldValue> values, std::uint32_t stride)
{
    const std::size_t words = values.size() * stride;
    if (blocks_.empty() || blocks_.back().size() - blockUsed_ < words) {
        blocks_.emplace_back(std::max(kBlockWords, words));
        blockUsed_ = 0;
    }
    std::uint32_t* const at = blocks_.back().data() + blockUsed_;
    FieldValues::encode(values, stride, at);
    blockUsed_ += words;
    return at;
}

void LogRecords::add(std::string_view text, std::span<const FieldValue> values)
{
    const std::uint32_t* kept = keep(values, FieldValues::strideFor(text.size()));
    records_.emplace_back(text, kept, static_cast<std::uint32_t>(values.size()));
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
    std::vector<FieldValue> values;
    for (const Record& record : records_) {
        const FieldValues kept = record.values();
        values.assign(kept.begin(), kept.end());
        for (FieldValue& value : values)
            value.field = number[value.field];
        if (!std::is_sorted(values.begin(), values.end(), byField))
            std::sort(values.begin(), values.end(), byField);
        // The values are this list's own, kept in its blocks: written here alone.
        FieldValues::encode(values, kept.stride(), const_cast<std::uint32_t*>(kept.words()));
    }
}

}  // namespace logweave
