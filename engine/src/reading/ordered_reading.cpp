#include "reading/ordered_reading.h"

#include "logweave/sort_record_lines.h"
#include "prefetch.h"
#include "side_by_side.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace logweave {
namespace {

constexpr std::size_t kBlock = std::size_t{4} << 20;
constexpr std::size_t kMinimumBlock = std::size_t{64} << 10;
// A block is placed a part at a time by whichever thread is free: the one
// that reads the next block places parts of this one once it is done.
// Placing waits for memory, and took twice as long as reading: a log of a
// million records was read in order in 149-150 ms, where it took 185-215
// with one thread placing (the fastest of 7 runs each, alternated).
constexpr std::size_t kPart = std::size_t{256} << 10;
// A shuffled log's records go to places far apart: each place is asked for
// some records before it is written to. Reading a log of a million records
// in order took 130-140 ms where it took 149-150, and 245 where it took 308
// on one thread (the fastest of 7 runs each, alternated).
constexpr std::size_t kPlacesAhead = 16;

bool isBreak(char c) noexcept
{
    return c == '\n' || c == '\r';
}

// The collapsed text of a file, a block at a time. A block ends between two
// bytes that are no line break: no run of line breaks spans two blocks, so
// collapsing each block is collapsing the whole text. Two buffers take turns,
// so a block stays whole while the next one is read.
class CollapsedBlocks {
public:
    // Blocks of `block` bytes, more where a block holds only line breaks.
    CollapsedBlocks(FileReader& file, std::size_t block)
        : file_(file), buffers_{BigVector<char>(block), BigVector<char>(block)}
    {
        file_.rewind();
    }

    // The next block, valid until the call after next; empty at the end.
    std::string_view next()
    {
        const BigVector<char>& last = buffers_[current_];
        current_ = 1 - current_;
        BigVector<char>& buffer = buffers_[current_];
        std::copy(last.data() + handedOn_, last.data() + filled_, buffer.data());
        filled_ -= handedOn_;
        for (;;) {
            bool ended = fill(buffer);
            const std::size_t cut = ended ? filled_ : cutBefore(buffer, filled_);
            if (cut != 0 || ended) {
                handedOn_ = cut;
                return {buffer.data(), collapseBlankLines(buffer.data(), cut)};
            }
            buffer.resize(buffer.size() * 2);  // a block of line breaks only
        }
    }

private:
    // Fills the buffer; true at the end of the file.
    bool fill(BigVector<char>& buffer)
    {
        while (filled_ < buffer.size()) {
            const std::size_t n = file_.read(buffer.data() + filled_, buffer.size() - filled_);
            if (n == 0)
                return true;
            filled_ += n;
        }
        return false;
    }

    static std::size_t cutBefore(const BigVector<char>& buffer, std::size_t end)
    {
        for (std::size_t p = end - 1; p > 0; --p)
            if (!isBreak(buffer[p]) && !isBreak(buffer[p - 1]))
                return p;
        return 0;
    }

    FileReader& file_;
    BigVector<char> buffers_[2];
    std::size_t current_ = 0;
    std::size_t filled_ = 0;
    std::size_t handedOn_ = 0;
};

// Copies the collapsed text, piece by piece, to its place in the ordered text.
class Placement {
public:
    Placement(const RecordLines& lines, const BigVector<std::size_t>& order, Bytes& out)
        : lines_(lines), destination_(lines.ends.size()), out_(out)
    {
        std::size_t at = lines.regionStart;
        for (const std::size_t i : order) {
            destination_[i] = at;
            at += lines.ends[i] - lines.begin(i);
        }
    }

    // Copies `piece`, which stands at `at` in the collapsed text, to its
    // places; two threads may place pieces at once. False when it does not
    // fit the plan: the file changed.
    bool place(std::string_view piece, std::size_t at) const
    {
        std::size_t record = static_cast<std::size_t>(
            std::upper_bound(lines_.ends.begin(), lines_.ends.end(), at) - lines_.ends.begin());
        while (!piece.empty()) {
            const auto [to, size] = destinationOf(at, record, piece.size());
            if (to + size > out_.size())
                return false;
            std::memcpy(out_.data() + to, piece.data(), size);
            piece.remove_prefix(size);
            at += size;
            if (record == lines_.ends.size() || at != lines_.ends[record])
                continue;
            ++record;
            if (record + kPlacesAhead < lines_.ends.size())
                prefetchForWriting(out_.data() + destination_[record + kPlacesAhead]);
        }
        return true;
    }

private:
    // Where the bytes at `at`, in `record` or before or after every record,
    // go, and how many of them go there.
    std::pair<std::size_t, std::size_t> destinationOf(std::size_t at, std::size_t record, std::size_t available) const
    {
        if (at < lines_.regionStart)
            return {at, std::min(available, lines_.regionStart - at)};
        if (record == lines_.ends.size())
            return {at, available};  // the lines after the records stay last
        const std::size_t size = std::min(available, lines_.ends[record] - at);
        return {destination_[record] + (at - lines_.begin(record)), size};
    }

    const RecordLines& lines_;
    BigVector<std::size_t> destination_;
    Bytes& out_;
};

}  // namespace

bool readInOrder(FileReader& file, Bytes& text, const RecordLines& lines, const BigVector<std::size_t>& order,
                 unsigned threads, const std::function<void(std::size_t)>& placedSoFar)
{
    const Placement placement(lines, order, text);
    // A small log needs no buffers of a full block: they were most of its peak memory.
    CollapsedBlocks blocks(file, std::clamp<std::size_t>(text.size(), kMinimumBlock, kBlock));
    // A block is placed while the next one is read, by both threads once it is.
    std::size_t placed = 0;
    for (std::string_view block = blocks.next(); !block.empty();) {
        std::string_view following;
        std::atomic<std::size_t> nextPart = 0;
        std::atomic<bool> fits = true;
        const std::size_t parts = (block.size() + kPart - 1) / kPart;
        runBoth(threads, [&](std::size_t task) {
            if (task == 1)
                following = blocks.next();
            for (std::size_t p; (p = nextPart++) < parts;)
                if (!placement.place(block.substr(p * kPart, kPart), placed + p * kPart))
                    fits = false;
        });
        if (!fits)
            return false;
        placed += block.size();
        placedSoFar(placed);
        block = following;
    }
    return placed == text.size();
}

}  // namespace logweave
