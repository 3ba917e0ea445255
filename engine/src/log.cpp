#include "logweave/log.h"

#include "huge_pages.h"

#include <algorithm>

namespace logweave {
namespace {

// 6 MiB: large enough to hold huge pages, small enough to waste little.
constexpr std::size_t kBlockValues = std::size_t{1} << 19;

}  // namespace

std::span<FieldValue> Log::keep(std::span<const FieldValue> values)
{
    if (blocks_.empty() || blockSize_ - blockUsed_ < values.size()) {
        blockSize_ = std::max(kBlockValues, values.size());
        blocks_.push_back(std::make_unique_for_overwrite<FieldValue[]>(blockSize_));
        preferHugePages(blocks_.back().get(), blockSize_ * sizeof(FieldValue));
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

void Log::reserve(std::size_t records)
{
    records_.reserve(records);
    preferHugePages(records_.data(), records_.capacity() * sizeof(Record));
}

void Log::clearRecords() noexcept
{
    records_.clear();
    records_.shrink_to_fit();
    blocks_.clear();
    blocks_.shrink_to_fit();
    blockUsed_ = blockSize_ = 0;
}

}  // namespace logweave
