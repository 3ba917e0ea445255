#pragma once
// A log's text with its records in order of date and time, made without
// holding the text twice: the records' places are planned on the text as
// read, then the file is read again, a block at a time, each piece copied to
// its place in the ordered text, over the text planned on.

#include "logweave/file_system.h"
#include "reading/record_lines.h"

namespace logweave {

// False when the file no longer gives the text that was planned on; `text`
// is then lost.
bool readInOrder(FileReader& file, Bytes& text, const RecordLines& lines, const std::vector<std::size_t>& order);

}  // namespace logweave
