#pragma once
// The one log the program holds: the open log with its field table, its
// header and where it was read, and the header of the log added last. The
// application owns exactly one. Operations read it through the calls below
// and change it only whole, once they have succeeded.

#include "logweave/field_table.h"
#include "logweave/log.h"
#include "logweave/standard_fields.h"

#include <string>
#include <string_view>

namespace logweave {

// A log an operation made the open log: its records, the table its field
// indices belong to, and what it was read from.
struct OpenedLog {
    Log log;
    FieldTable fields;
    StandardFields standard;
    // Its header, ended by the end-of-header tag written when it was read; empty without one.
    std::string header;
    std::string path;
};

class LogStore {
public:
    const Log& openLog() const noexcept { return opened_.log; }
    long long openRecordCount() const noexcept { return static_cast<long long>(opened_.log.size()); }
    // Records 1 to openRecordCount(); any other number is a programming error.
    const Record& record(long long r) const;
    std::string_view fieldValue(int field, long long r) const { return record(r).value(field); }
    std::string_view recordText(long long r) const { return record(r).text(); }

    // The names met so far: those of the open log, and of the logs read before it.
    const FieldTable& fields() const noexcept { return opened_.fields; }
    const StandardFields& standardFields() const noexcept { return opened_.standard; }
    const std::string& openHeader() const noexcept { return opened_.header; }
    const std::string& openLogPath() const noexcept { return opened_.path; }
    // The header of the log added last, which merged and filtered files may take.
    const std::string& addedHeader() const noexcept { return addedHeader_; }

    void open(OpenedLog opened) { opened_ = std::move(opened); }
    // No log is open; the names met stay known.
    void close(FieldTable fields);
    // Takes the open log and all else out, for putting back when an
    // operation is cancelled; the store is left as close() leaves it.
    LogStore takeForCancel();
    void keepAddedHeader(std::string header) { addedHeader_ = std::move(header); }

private:
    OpenedLog opened_;
    std::string addedHeader_;
};

}  // namespace logweave
