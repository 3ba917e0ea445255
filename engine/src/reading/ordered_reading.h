#pragma once
// A log's text with its records in order of date and time, made without
// holding the text twice: the records' places are planned on the text as
// read, then the file is read again, a block at a time, each piece copied to
// its place in the ordered text, over the text planned on.

#include "logweave/file_system.h"
#include "reading/record_lines.h"

#include <functional>

namespace logweave {

// False when the file no longer gives the text that was planned on; `text`
// is then lost. With more than one of `threads`, a block is read while the
// one before is placed, and then helps place it. `placedSoFar` hears the
// bytes placed, a block at a time.
bool readInOrder(FileReader& file, Bytes& text, const RecordLines& lines, const BigVector<std::size_t>& order,
                 unsigned threads, const std::function<void(std::size_t)>& placedSoFar);

}  // namespace logweave
