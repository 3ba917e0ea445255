#include "reading/ordered_reading.h"

#include "logweave/sort_record_lines.h"

#include <algorithm>
#include <cstring>

namespace logweave {
namespace {

constexpr std::size_t kBlock = std::size_t{4} << 20;

bool isBreak(char c) noexcept
{
    return c == '\n' || c == '\r';
}

// The collapsed text of a file, a block at a time. A block ends between two
// bytes that are no line break: no run of line breaks spans two blocks, so
// collapsing each block is collapsing the whole text.
class CollapsedBlocks {
public:
    explicit CollapsedBlocks(FileReader& file) : file_(file), buffer_(kBlock) { file_.rewind(); }

    // The next block; empty at the end.
    std::string_view next()
    {
        std::copy(buffer_.data() + handedOn_, buffer_.data() + filled_, buffer_.data());
        filled_ -= handedOn_;
        for (;;) {
            bool ended = fill();
            const std::size_t cut = ended ? filled_ : cutBefore(filled_);
            if (cut != 0 || ended) {
                handedOn_ = cut;
                return {buffer_.data(), collapseBlankLines(buffer_.data(), cut)};
            }
            buffer_.resize(buffer_.size() * 2);  // a block of line breaks only
        }
    }

private:
    // Fills the buffer; true at the end of the file.
    bool fill()
    {
        while (filled_ < buffer_.size()) {
            const std::size_t n = file_.read(buffer_.data() + filled_, buffer_.size() - filled_);
            if (n == 0)
                return true;
            filled_ += n;
        }
        return false;
    }

    std::size_t cutBefore(std::size_t end) const
    {
        for (std::size_t p = end - 1; p > 0; --p)
            if (!isBreak(buffer_[p]) && !isBreak(buffer_[p - 1]))
                return p;
        return 0;
    }

    FileReader& file_;
    std::vector<char> buffer_;
    std::size_t filled_ = 0;
    std::size_t handedOn_ = 0;
};

// Copies the collapsed text, piece by piece, to its place in the ordered text.
class Placement {
public:
    Placement(const RecordLines& lines, const std::vector<std::size_t>& order, Bytes& out)
        : lines_(lines), destination_(lines.ends.size()), out_(out)
    {
        std::size_t at = lines.regionStart;
        for (const std::size_t i : order) {
            destination_[i] = at;
            at += lines.ends[i] - lines.begin(i);
        }
    }

    // False when the block does not fit the plan: the file changed.
    bool place(std::string_view block)
    {
        while (!block.empty()) {
            const auto [to, size] = nextPiece(block.size());
            if (to + size > out_.size())
                return false;
            std::memcpy(out_.data() + to, block.data(), size);
            block.remove_prefix(size);
            at_ += size;
        }
        return true;
    }

    std::size_t placed() const noexcept { return at_; }

private:
    // Where the bytes at at_ go, and how many of them go there.
    std::pair<std::size_t, std::size_t> nextPiece(std::size_t available)
    {
        if (at_ < lines_.regionStart)
            return {at_, std::min(available, lines_.regionStart - at_)};
        if (record_ == lines_.ends.size())
            return {at_, available};  // the lines after the records stay last
        const std::size_t begin = lines_.begin(record_);
        const std::size_t size = std::min(available, lines_.ends[record_] - at_);
        const std::size_t to = destination_[record_] + (at_ - begin);
        if (at_ + size == lines_.ends[record_])
            ++record_;
        return {to, size};
    }

    const RecordLines& lines_;
    std::vector<std::size_t> destination_;
    Bytes& out_;
    std::size_t at_ = 0;
    std::size_t record_ = 0;
};

}  // namespace

bool readInOrder(FileReader& file, Bytes& text, const RecordLines& lines, const std::vector<std::size_t>& order,
                 const std::function<void(std::size_t)>& placedSoFar)
{
    Placement placement(lines, order, text);
    CollapsedBlocks blocks(file);
    for (std::string_view block = blocks.next(); !block.empty(); block = blocks.next()) {
        if (!placement.place(block))
            return false;
        placedSoFar(placement.placed());
    }
    return placement.placed() == text.size();
}

}  // namespace logweave
