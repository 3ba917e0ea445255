#pragma once
// A log in memory: its text, and its records in the order the program keeps
// them, each a view into the text with its values. Nothing in it moves once
// stored, so records stay valid for the log's life.

#include "logweave/big_vector.h"
#include "logweave/bytes.h"
#include "logweave/record.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace logweave {

// Records and their values, the values in blocks that never move so that
// records can point into them, each written as FieldValues keeps it. Read
// apart from their log, on a thread of their own, they join it whole.
class LogRecords {
public:
    std::size_t size() const noexcept { return records_.size(); }
    bool empty() const noexcept { return records_.empty(); }
    const Record& operator[](std::size_t index) const { return records_[index]; }
    auto begin() const noexcept { return records_.begin(); }
    auto end() const noexcept { return records_.end(); }

    // `values` sorted by field and relative to the start of `text`.
    void add(std::string_view text, std::span<const FieldValue> values);
    void reserve(std::size_t records);
    void clear() noexcept;
    // Their records after these; their values stay where they are.
    void append(LogRecords&& later);
    // Field f becomes field number[f], the values of each record sorted again.
    void renumberFields(std::span<const std::uint32_t> number);

private:
    const std::uint32_t* keep(std::span<const FieldValue> values, std::uint32_t stride);

    std::vector<BigVector<std::uint32_t>> blocks_;
    std::size_t blockUsed_ = 0;
    BigVector<Record> records_;
};

class Log {
public:
    Log() = default;
    explicit Log(Bytes text) : text_(std::move(text)) {}

    std::string_view text() const noexcept { return text_.view(); }
    std::size_t size() const noexcept { return records_.size(); }
    bool empty() const noexcept { return records_.empty(); }
    // 0-based; past the end is a programming error.
    const Record& operator[](std::size_t index) const { return records_[index]; }
    auto begin() const noexcept { return records_.begin(); }
    auto end() const noexcept { return records_.end(); }

    // A record of this log's text, `values` sorted by field and relative to `begin`.
    void add(std::size_t begin, std::size_t length, std::span<const FieldValue> values)
    {
        records_.add(text().substr(begin, length), values);
    }
    void reserve(std::size_t records) { records_.reserve(records); }
    // Records of this log's text read apart, after those it holds.
    void append(LogRecords&& later) { records_.append(std::move(later)); }
    // The text stays; its records go.
    void clearRecords() noexcept { records_.clear(); }

private:
    Bytes text_;
    LogRecords records_;
};

}  // namespace logweave
