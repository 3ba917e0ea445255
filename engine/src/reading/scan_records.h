#pragma once
// A log's records read from its text, in pieces side by side.

#include "reading/record_scanner.h"

#include <cstddef>
#include <functional>

namespace logweave {

// Reads the records of `log`'s text from `from` into `log`, their field
// names into `fields`, cut into at most `pieces` that `threads` read side by
// side: the records, the table and the summary are those of a reading in one
// piece. `scanned(n)` now and then on this thread, n about the bytes read.
// The pieces start from the field names of the records in the first
// `firstNames` bytes.
ScanSummary scanRecords(Log& log, FieldTable& fields, std::size_t from, std::size_t pieces, unsigned threads,
                        const std::function<void(std::size_t)>& scanned,
                        std::size_t firstNames = std::size_t{64} << 10);

}  // namespace logweave
