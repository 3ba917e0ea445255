#pragma once

#include <string>

namespace logweave {

// Tidies a log's text before it is read: runs of line breaks shortened, and
// the records put in order of QSO_DATE then TIME_ON, stably. A record is the
// run of lines up to the line that ends it, so a record written one field per
// line moves as a whole. CR LF and a lone LF both break lines; each keeps its own.
void SortRecordLines(std::string& text);

}  // namespace logweave
