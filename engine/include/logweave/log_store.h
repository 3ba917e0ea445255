#pragma once
// The one log the program holds, and the strings its operations share.
// The application owns exactly one; every operation works on it.

#include "logweave/field_table.h"
#include "logweave/log.h"
#include "logweave/standard_fields.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace logweave {

class LogStore {
public:
    // The open log is records 1 to openRecordCount(); any other number is a
    // programming error.
    const Record& record(long long r) const;
    std::string_view fieldValue(int field, long long r) const { return record(r).value(field); }
    std::string_view recordText(long long r) const { return record(r).text(); }
    long long openRecordCount() const noexcept { return static_cast<long long>(log_.size()); }
    const Log& openLog() const noexcept { return log_; }

    // Makes `log` the open log; returns the one it held.
    Log replaceLog(Log log);

    FieldTable fields;
    StandardFields standard;

    // Output strings, set when the options are applied.
    std::string EorTag;
    std::string EohTag;
    std::string LineSpacer;
    std::string ProgramHeader;

    std::string OpenHeader;
    std::string AddedHeader;

    std::string OpenLogPath;
    std::string AddedLogPath;
    std::string logToUpdate;
    std::string logToMerge;

    // Where the program's own files are read and written.
    std::filesystem::path programFolder;

private:
    Log log_;
};

}  // namespace logweave
