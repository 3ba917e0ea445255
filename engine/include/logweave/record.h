#pragma once
// One record of a log: its text as it stood in its file and its field values.
// Values are pieces of that text, so a record costs little more than its text.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace logweave {

struct FieldValue {
    std::int16_t field;
    std::uint32_t offset;  // into the record's text
    std::uint32_t size;
};

class Record {
public:
    Record() = default;
    // `values` are sorted by field, non-empty, and lie inside `text`.
    Record(std::string text, std::vector<FieldValue> values);

    std::string_view text() const noexcept { return text_; }
    // Empty when the record has no value for the field.
    std::string_view value(int field) const noexcept;
    std::span<const FieldValue> values() const noexcept { return values_; }
    std::string_view valueOf(const FieldValue& v) const noexcept
    {
        return std::string_view(text_).substr(v.offset, v.size);
    }
    bool operator==(const Record&) const = default;

    // Empties the values; the text stays.
    void ClearRecord() noexcept { values_.clear(); }

private:
    std::string text_;
    std::vector<FieldValue> values_;
};

}  // namespace logweave
