#pragma once
// A file's bytes in memory. They are not set before the file is read into
// them: a log can be the largest thing the program holds, and clearing it
// first makes opening a log of a million records about 5% slower.

#include "logweave/big_vector.h"

#include <cstddef>
#include <string_view>

namespace logweave {

class Bytes {
public:
    Bytes() = default;
    explicit Bytes(std::size_t size);
    explicit Bytes(std::string_view text);

    char* data() noexcept { return data_.data(); }
    const char* data() const noexcept { return data_.data(); }
    std::size_t size() const noexcept { return size_; }
    bool empty() const noexcept { return size_ == 0; }
    std::string_view view() const noexcept { return {data_.data(), size_}; }

    // Drops the bytes from `size` on; the memory stays.
    void shrink(std::size_t size) noexcept;

private:
    BigVector<char> data_;
    std::size_t size_ = 0;
};

}  // namespace logweave
