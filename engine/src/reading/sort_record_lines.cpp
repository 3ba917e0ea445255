#include "logweave/sort_record_lines.h"

#include "bytes_equal.h"
#include "logweave/text.h"
#include "reading/record_lines.h"
#include "side_by_side.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>
#include <utility>
#include <string_view>
#include <vector>

namespace logweave {
namespace {

constexpr auto npos = std::string_view::npos;

std::size_t breakLengthAt(std::string_view text, std::size_t i) noexcept
{
    if (i < text.size() && text[i] == '\n')
        return 1;
    if (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n')
        return 2;
    return 0;
}

// The first "\n" from `from` that another line break follows; npos for none.
std::size_t nextBreakBeforeABreak(std::string_view text, std::size_t from) noexcept
{
    std::size_t at = from;
#if defined(__SSE2__)
    // 64 bytes at a time, not a line: most logs have no blank line, and a
    // log of a million records written one field a line has 15 million lines.
    // Finding none there took 73-76 ms, where it took 170-184 line by line (2
    // rounds of 2 runs each); in a log of a record a line, as long as before.
    for (; text.size() - at > 64; at += 64) {
        const std::uint64_t lf = bytesEqualIn64(text.data() + at, '\n');
        if (lf == 0)
            continue;
        const char after = text[at + 64];
        const std::uint64_t breaks = lf | bytesEqualIn64(text.data() + at, '\r');
        const std::uint64_t breakFollows = breaks >> 1 | std::uint64_t{after == '\n' || after == '\r'} << 63;
        // A "\r" that no "\n" follows is no break: each candidate is checked.
        for (std::uint64_t candidates = lf & breakFollows; candidates != 0; candidates &= candidates - 1) {
            const std::size_t nl = at + static_cast<std::size_t>(std::countr_zero(candidates));
            if (breakLengthAt(text, nl + 1) != 0)
                return nl;
        }
    }
#endif
    for (std::size_t nl = text.find('\n', at); nl != npos; nl = text.find('\n', nl + 1)) {
        if (breakLengthAt(text, nl + 1) != 0)
            return nl;
    }
    return npos;
}

// Where the first run of two line breaks or more from `from` starts; the
// text's size when there is none.
std::size_t nextRunOfBreaks(std::string_view text, std::size_t from) noexcept
{
    const std::size_t nl = nextBreakBeforeABreak(text, from);
    if (nl == npos)
        return text.size();
    return nl > from && text[nl - 1] == '\r' ? nl - 1 : nl;
}

// Where the date has eight digits and the time at most six, the text order of
// keys is the order of one number: the date, the time padded with zeros, and
// the time's length (so that 1234 comes before 123400, as in text). Sorting
// numbers instead of texts makes opening an unsorted log of a million records
// take two thirds of the time.
std::optional<std::uint64_t> packed(const SortKey& key) noexcept
{
    if (key.date.size() != 8 || key.time.size() > 6 || !allDigits(key.date) || !allDigits(key.time))
        return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : key.date)
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    for (std::size_t i = 0; i < 6; ++i)
        value = value * 10 + (i < key.time.size() ? static_cast<std::uint64_t>(key.time[i] - '0') : 0);
    return value * 8 + key.time.size();
}

struct Number {
    std::uint64_t value;
    std::size_t index;
};

// By value, ties in the order they come: a radix sort, a digit of 11 bits a
// pass, over the bits where the values differ. On a million records, 75-86
// ms on one thread, where sorting pieces on two and merging them took
// 122-130. Each pass is shared out in `pieces` instead: each counts its own
// digits, then moves its numbers after those of the pieces before it, so
// ties keep their order. Putting a million records in order then took 55-59
// ms on two threads, 71-122 on one; opening them, 0.975 of the time (25
// paired runs).
void sortByValue(BigVector<Number>& numbers, std::size_t pieces)
{
    if (numbers.size() < 2)
        return;
    const auto [least, most] = std::minmax_element(numbers.begin(), numbers.end(),
                                                   [](const Number& a, const Number& b) { return a.value < b.value; });
    const std::uint64_t lowest = least->value;
    const int bits = std::bit_width(most->value - lowest);
    constexpr int kDigitBits = 11;
    constexpr std::size_t kDigits = std::size_t{1} << kDigitBits;
    pieces = std::clamp<std::size_t>(pieces, 1, numbers.size());
    const auto pieceStart = [&](std::size_t piece) { return numbers.size() * piece / pieces; };
    BigVector<Number> sorted(numbers.size());
    std::vector<std::vector<std::size_t>> next(pieces, std::vector<std::size_t>(kDigits));
    for (int shift = 0; shift < bits; shift += kDigitBits) {
        const auto digit = [&](const Number& n) { return ((n.value - lowest) >> shift) & (kDigits - 1); };
        runSideBySide(pieces, [&](std::size_t piece) {
            std::fill(next[piece].begin(), next[piece].end(), 0);
            for (std::size_t i = pieceStart(piece); i < pieceStart(piece + 1); ++i)
                ++next[piece][digit(numbers[i])];
        });
        // Where each piece's numbers of each digit go: after the smaller digits, then the pieces before.
        for (std::size_t d = 0, at = 0; d < kDigits; ++d)
            for (std::size_t piece = 0; piece < pieces; ++piece)
                at += std::exchange(next[piece][d], at);
        runSideBySide(pieces, [&](std::size_t piece) {
            for (std::size_t i = pieceStart(piece); i < pieceStart(piece + 1); ++i)
                sorted[next[piece][digit(numbers[i])]++] = numbers[i];
        });
        numbers.swap(sorted);
    }
}

}  // namespace

BigVector<std::size_t> dateTimeOrder(const BigVector<SortKey>& keys, std::size_t pieces)
{
    pieces = std::clamp<std::size_t>(pieces, 1, std::max<std::size_t>(keys.size(), 1));
    const auto pieceStart = [&](std::size_t piece) { return keys.size() * piece / pieces; };
    BigVector<Number> numbers(keys.size());
    std::vector<char> allPacked(pieces, 1);
    runSideBySide(pieces, [&](std::size_t piece) {
        for (std::size_t i = pieceStart(piece); i < pieceStart(piece + 1); ++i) {
            if (i + kKeysAhead < keys.size())
                prefetchKey(keys[i + kKeysAhead]);
            const auto number = packed(keys[i]);
            if (!number) {
                allPacked[piece] = 0;
                return;
            }
            numbers[i] = {*number, i};
        }
    });
    if (std::find(allPacked.begin(), allPacked.end(), 0) != allPacked.end())
        return dateTimeOrderByText(keys);
    sortByValue(numbers, pieces);
    BigVector<std::size_t> order(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i)
        order[i] = numbers[i].index;
    return order;
}

BigVector<std::size_t> dateTimeOrderByText(const BigVector<SortKey>& keys)
{
    BigVector<std::size_t> order(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    return order;
}

// Each piece starts where no line break stands, so no run of them is cut
// in two. Reading the text is what takes the time: on two threads, a log of
// a million records took 34-42 ms where it took 70-82 on one; opening it,
// 0.950 of the time (15 paired runs).
void collapseBlankLines(Bytes& text, std::size_t pieces)
{
    const std::string_view in = text.view();
    std::vector<std::size_t> starts{0};
    for (std::size_t i = 1; i < pieces; ++i) {
        std::size_t start = std::max(starts.back(), in.size() / pieces * i);
        while (start < in.size() && (in[start] == '\n' || in[start] == '\r'))
            ++start;
        starts.push_back(start);
    }
    starts.push_back(in.size());
    std::vector<std::size_t> kept(starts.size() - 1);
    runSideBySide(kept.size(), [&](std::size_t i) {
        kept[i] = collapseBlankLines(text.data() + starts[i], starts[i + 1] - starts[i]);
    });
    std::size_t size = kept[0];
    for (std::size_t i = 1; i < kept.size(); ++i) {
        if (size != starts[i])
            std::memmove(text.data() + size, text.data() + starts[i], kept[i]);
        size += kept[i];
    }
    text.shrink(size);
}

// The breaks of a run numbered 0, 4, 8... stay: two passes of "every second
// pair of breaks goes" give that. Done in place: the text only shrinks.
std::size_t collapseBlankLines(char* text, std::size_t size) noexcept
{
    const std::string_view in(text, size);
    std::size_t out = 0;
    std::size_t i = 0;
    while (i < size) {
        const std::size_t runStart = nextRunOfBreaks(in, i);
        // The lines up to it at once, not a call a line: a log of a million
        // records written one field a line opened in 0.91 times the time.
        if (out != i)
            std::memmove(text + out, text + i, runStart - i);  // the text shrinks in place
        out += runStart - i;
        std::size_t j = runStart;
        for (int k = 0; const std::size_t len = breakLengthAt(in, j); ++k) {
            if (k % 4 == 0) {
                std::memmove(text + out, text + j, len);
                out += len;
            }
            j += len;
        }
        i = j;
    }
    return out;
}

void sortRecordLines(std::string& text)
{
    text.resize(collapseBlankLines(text.data(), text.size()));
    const auto lines = recordLines(text);
    if (lines && !lines->inOrder())
        text = orderedText(text, *lines);
}

}  // namespace logweave
