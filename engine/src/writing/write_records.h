#pragma once
// Files' records formatted in order, the work shared among threads.

#include "writing/streamed_text.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace logweave {

// Appends record `index`, formatted, to the text of one of the files, and
// says which. Each thread has one of its own.
using RecordFormatter = std::function<std::size_t(std::size_t index, std::span<std::string* const> texts)>;

// Writes records 0 to count - 1 after what `files` hold, each to the file its
// formatter chose, sharing the work among `threads` formatters that
// `formatter()` makes; `written(n)` after each record on one thread, after
// each stretch on more, n the records written so far. Returns how many
// records each file received.
std::vector<std::uint64_t> writeRecords(std::span<StreamedText* const> files, std::size_t count, std::size_t threads,
                                        const std::function<RecordFormatter()>& formatter,
                                        const std::function<void(std::size_t)>& written);

}  // namespace logweave
