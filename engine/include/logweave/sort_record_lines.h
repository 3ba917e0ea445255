#pragma once
// The order of a log's records: QSO_DATE, then TIME_ON, stably.

#include "logweave/big_vector.h"
#include "logweave/bytes.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace logweave {

// The values of a record's first QSO_DATE and TIME_ON tags, typed or not;
// an absent tag gives an empty part.
struct SortKey {
    std::string_view date;
    std::string_view time;
    bool operator<(const SortKey& other) const noexcept
    {
        return date != other.date ? date < other.date : time < other.time;
    }
    bool operator==(const SortKey&) const = default;
};

// The indices of `keys` in order of date then time; equal keys keep their
// order. The keys are read in `pieces` side by side, to the same result.
BigVector<std::size_t> dateTimeOrder(const BigVector<SortKey>& keys, std::size_t pieces = 1);
// The same, by comparing the texts alone: what dateTimeOrder must always agree with.
BigVector<std::size_t> dateTimeOrderByText(const BigVector<SortKey>& keys);

// Tidies a log's text before it is read: runs of line breaks shortened, and
// the records put in order of QSO_DATE then TIME_ON, stably. A record is the
// run of lines up to the line that ends it, so a record written one field per
// line moves as a whole. CR LF and a lone LF both break lines; each keeps its own.
void sortRecordLines(std::string& text);

// Its first step alone, in place: of each run of line breaks, the breaks
// numbered 0, 4, 8... stay. The text is worked on in `pieces` side by side,
// to the same result. The second form returns the text's new size.
void collapseBlankLines(Bytes& text, std::size_t pieces = 1);
std::size_t collapseBlankLines(char* text, std::size_t size) noexcept;

}  // namespace logweave
