#pragma once
// A log in memory: its text, and its records in the order the program keeps
// them, each a view into the text with its values. Nothing in it moves once
// stored, so records stay valid for the log's life.

#include "logweave/bytes.h"
#include "logweave/record.h"

#include <cstddef>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace logweave {

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
    void add(std::size_t begin, std::size_t length, std::span<const FieldValue> values);
    void reserve(std::size_t records);
    // The text stays; its records go.
    void clearRecords() noexcept;

private:
    std::span<FieldValue> keep(std::span<const FieldValue> values);

    Bytes text_;
    // Values in blocks that never move, so that records can point into them.
    std::vector<std::unique_ptr<FieldValue[]>> blocks_;
    std::size_t blockUsed_ = 0;
    std::size_t blockSize_ = 0;
    std::vector<Record> records_;
};

}  // namespace logweave
