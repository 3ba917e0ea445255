#pragma once
// Reads the records of an ADIF text one at a time: a tag is "<" up to ">", its
// value runs to the next "<", a record ends at a tag named EOR in any letter
// case.

#include "reading/field_namer.h"
#include "logweave/log.h"
#include "logweave/record.h"
#include "logweave/user_interface.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace logweave {

// What the end of a text left: a contact cut short, completed as the last
// record, or text after the last record that was not read.
struct ScanEnd {
    bool cutShort = false;
    std::string_view unread;
};

// How an end tag is written, in the order a header's end is preferred:
// "<EOH>", "<eoh>", "<Eoh>", or in none of these ways.
enum class TagSpelling : std::uint8_t { Upper, Lower, Capitalised, None };

// End tags written "<EOR>", "<eor>" and "<Eor>".
using EndTagCounts = std::array<long long, 3>;

struct ScannedRecord {
    std::size_t begin = 0;           // its first "<"
    std::size_t length = 0;          // up to the "<" of its end tag
    std::vector<FieldValue> values;  // sorted by field, offsets from `begin`
};

// What a scan met besides the records: how the text ended, the end tags, and
// what tells whether the header ends where it was taken to.
struct ScanSummary {
    ScanEnd end;
    // By spelling; all those after the start when nothing is tangled.
    EndTagCounts endTags{};
    // A tag held a "<", which hides tags.
    bool tangled = false;
    // The most preferred spelling of the end-of-header tag met.
    TagSpelling endOfHeaderMet = TagSpelling::None;

    // Of a scan and the one of the text after it.
    ScanSummary& operator+=(const ScanSummary& later) noexcept;
};

class RecordScanner {
public:
    // Reads from the first "<" at or after `from`, the records that start before `until`.
    RecordScanner(std::string_view text, std::size_t from, FieldNamer& namer,
                  std::size_t until = std::string_view::npos);

    // The next record of the piece; false when it holds no further one.
    bool next(ScannedRecord& record);
    // Where the next record would start; npos after the text's end.
    std::size_t at() const noexcept { return next_; }
    // After the last record.
    const ScanSummary& summary() const noexcept { return summary_; }

private:
    bool endRecord(ScannedRecord& record, std::size_t start, std::size_t lt, std::size_t gt);
    void setValue(ScannedRecord& record, std::uint32_t field, std::size_t offset, std::size_t size);
    void noteEndOfHeader(std::size_t lt, std::size_t gt);
    bool stop(ScannedRecord& record, std::size_t start, std::size_t stop, bool atLoneTag);
    void keep(ScannedRecord& record, std::size_t start, std::size_t end);

    std::string_view text_;
    std::size_t next_;
    std::size_t until_;
    FieldNamer& namer_;
    std::vector<std::uint32_t> stamp_;  // by field: the record that last set it
    std::vector<std::uint32_t> slot_;   // by field: where in the record's values
    std::uint32_t generation_ = 0;

    ScanSummary summary_;
};

// What the end of the text left, said in the pane: a contact completed, or text not read.
// `log` holds the records read, with their fields in `fields`.
void reportScanEnd(UserInterface& ui, const ScanEnd& end, const Log& log, const FieldTable& fields);

// First "<EOH>", else "<eoh>", else "<Eoh>": the spellings that end a header.
std::size_t findEndOfHeader(std::string_view text) noexcept;
// Which of those stands at `at`.
TagSpelling endOfHeaderSpelling(std::string_view text, std::size_t at) noexcept;

// The end tags of those spellings in `text`, wherever they stand.
EndTagCounts countEndTags(std::string_view text) noexcept;

}  // namespace logweave
