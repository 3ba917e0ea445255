#pragma once
// Reads the records of an ADIF text one at a time: a tag is "<" up to ">", its
// value runs to the next "<", a record ends at a tag named EOR in any letter
// case. It also notes what the order of the records rests on.

#include "field_namer.h"
#include "logweave/log.h"
#include "logweave/record.h"
#include "logweave/sort_record_lines.h"
#include "logweave/user_interface.h"

#include <string>
#include <string_view>
#include <vector>

namespace logweave {

struct ScannedRecord {
    std::size_t begin = 0;  // its first "<"
    std::size_t length = 0;  // up to the "<" of its end tag
    std::vector<FieldValue> values;  // sorted by field, offsets from `begin`
    SortKey key;
    bool endsItsLine = true;  // nothing but layout after its end tag, on that line
    bool pinned = false;      // ends on the text's last line, or is cut short: stays last
};

class RecordScanner {
public:
    RecordScanner(std::string_view text, std::size_t from, FieldNamer& namer);

    // The next record; false when the text holds no further one.
    bool next(ScannedRecord& record);

    // After the last record: whether it was a contact cut short by the end of
    // the text (and which), or which text was left unread.
    bool lastWasCutShort() const noexcept { return cutShort_; }
    long long recordsRead() const noexcept { return records_; }
    std::string_view unreadText() const noexcept { return unread_; }

    // A "<" inside a tag, or a typed end tag: the text's lines do not show its records.
    bool tangled() const noexcept { return tangled_; }
    std::size_t firstTag() const noexcept { return firstTag_; }
    std::size_t firstEndOfHeaderTag() const noexcept { return firstEndOfHeaderTag_; }

private:
    bool endRecord(ScannedRecord& record, std::size_t start, std::size_t lt, std::size_t gt);
    void setValue(ScannedRecord& record, std::uint32_t field, std::size_t offset, std::size_t size);
    void noteKey(ScannedRecord& record, std::uint32_t field, std::size_t tag, std::string_view value);
    bool finish(ScannedRecord& record, std::size_t start, std::size_t stop, bool atLoneTag);
    void keep(ScannedRecord& record, std::size_t start, std::size_t end);

    std::string_view text_;
    std::size_t next_;
    FieldNamer& namer_;
    std::vector<std::uint32_t> stamp_;  // by field: the record that last set it
    std::vector<std::uint32_t> slot_;   // by field: where in the record's values
    std::uint32_t generation_ = 0;
    bool haveDate_ = false;
    bool haveTime_ = false;

    long long records_ = 0;
    bool cutShort_ = false;
    std::string_view unread_;
    bool tangled_ = false;
    std::size_t firstTag_;
    std::size_t firstEndOfHeaderTag_ = std::string_view::npos;
};

// What the end of the text left, said in the pane: a contact completed, or text not read.
// `log` holds the records read, with their fields entered into `fields`.
void reportScanEnd(UserInterface& ui, const RecordScanner& scanner, const Log& log, const FieldTable& fields);

// First "<EOH>", else "<eoh>", else "<Eoh>": the spellings that end a header.
std::size_t findEndOfHeader(std::string_view text) noexcept;

}  // namespace logweave
