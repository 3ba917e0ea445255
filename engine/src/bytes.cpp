#include "logweave/bytes.h"

#include <algorithm>

namespace logweave {

Bytes::Bytes(std::size_t size) : data_(size), size_(size) {}

Bytes::Bytes(std::string_view text) : Bytes(text.size())
{
    std::copy(text.begin(), text.end(), data_.data());
}

void Bytes::shrink(std::size_t size) noexcept
{
    size_ = std::min(size, size_);
}

}  // namespace logweave
