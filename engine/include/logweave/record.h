#pragma once
// One record of a log: its text as it stood in its file and its field values.
// The text is a piece of the log's text, which the records share, and values
// are pieces of the text: a log in memory is little more than its file.

#include <cstdint>
#include <memory>
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
    // `values` are sorted by field, non-empty, and lie inside the text.
    Record(std::string text, std::vector<FieldValue> values);
    Record(std::shared_ptr<const std::string> source, std::size_t begin, std::size_t length,
           std::vector<FieldValue> values);

    std::string_view text() const noexcept
    {
        return source_ ? std::string_view(*source_).substr(begin_, length_) : std::string_view{};
    }
    // Empty when the record has no value for the field.
    std::string_view value(int field) const noexcept;
    std::span<const FieldValue> values() const noexcept { return values_; }
    std::string_view valueOf(const FieldValue& v) const noexcept { return text().substr(v.offset, v.size); }

    // Empties the values; the text stays.
    void ClearRecord() noexcept { values_.clear(); }

private:
    std::shared_ptr<const std::string> source_;
    std::size_t begin_ = 0;
    std::size_t length_ = 0;
    std::vector<FieldValue> values_;
};

}  // namespace logweave
