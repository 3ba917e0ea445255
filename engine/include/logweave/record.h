#pragma once
// One record of a log: its text as it stood in its file and its field
// values, which are pieces of that text. A record is a view: the log it
// belongs to owns the text and the values.

#include "logweave/field_values.h"

#include <cstdint>
#include <string_view>

namespace logweave {

// A field and its value, wherever the value lives.
struct FieldText {
    int field;
    std::string_view value;
};

class Record {
public:
    Record() = default;
    // `values` are sorted by field, not empty, lie inside `text` and are
    // written as FieldValues keeps them for a record of its length.
    Record(std::string_view text, const std::uint32_t* values, std::uint32_t count) noexcept
        : text_(text.data()), length_(static_cast<std::uint32_t>(text.size())), count_(count), values_(values)
    {
    }

    std::string_view text() const noexcept { return {text_, length_}; }
    // Empty when the record has no value for the field.
    std::string_view value(int field) const noexcept;
    FieldValues values() const noexcept { return {values_, count_, length_}; }
    std::string_view valueOf(const FieldValue& v) const noexcept { return {text_ + v.offset, v.size}; }

private:
    const char* text_ = nullptr;
    std::uint32_t length_ = 0;
    std::uint32_t count_ = 0;
    const std::uint32_t* values_ = nullptr;
};

}  // namespace logweave
