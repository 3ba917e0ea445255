#pragma once
// One record of a log: its text as it stood in its file and its field
// values, which are pieces of that text. A record is a view: the log it
// belongs to owns the text and the values.

#include <cstdint>
#include <span>
#include <string_view>

namespace logweave {

struct FieldValue {
    std::uint32_t field;   // field-table index
    std::uint32_t offset;  // into the record's text
    std::uint32_t size;
};

// A field and its value, wherever the value lives.
struct FieldText {
    int field;
    std::string_view value;
};

class Record {
public:
    Record() = default;
    // `values` are sorted by field, not empty, and lie inside `text`.
    Record(std::string_view text, std::span<const FieldValue> values) noexcept;

    std::string_view text() const noexcept { return {text_, length_}; }
    // Empty when the record has no value for the field.
    std::string_view value(int field) const noexcept;
    std::span<const FieldValue> values() const noexcept { return {values_, count_}; }
    std::string_view valueOf(const FieldValue& v) const noexcept { return {text_ + v.offset, v.size}; }

private:
    const char* text_ = nullptr;
    std::uint32_t length_ = 0;
    std::uint32_t count_ = 0;
    const FieldValue* values_ = nullptr;
};

}  // namespace logweave
