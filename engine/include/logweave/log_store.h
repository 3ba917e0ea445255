#pragma once
// The one log the program holds, and the strings its operations share.
// The application owns exactly one; every operation works on it.

#include "logweave/field_table.h"
#include "logweave/record.h"
#include "logweave/standard_fields.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace logweave {

inline constexpr int kMaxRecords = 20000;

struct LogStore {
    // Record 0 is the merge's scratch record; the log is records 1 to OpenRecordCount.
    const Record& record(int r) const noexcept;
    std::string_view FieldValues(int field, int r) const noexcept { return record(r).value(field); }
    std::string_view RecordText(int r) const noexcept { return record(r).text(); }
    void setScratch(Record r);
    // Replaces the open log by `log` (records 1 and up); returns the one it held.
    std::vector<Record> replaceLog(std::vector<Record> log);
    void ClearRecord(int r);

    FieldTable fields;
    StandardFields standard;
    int CurrentRecord = 0;
    int OpenRecordCount = 0;

    // Output strings, set when the options are applied.
    std::string EorTag;
    std::string EohTag;
    std::string LineSpacer;
    std::string ProgramHeader;

    std::string OpenHeader;
    std::string AddedHeader;

    std::string DialogFileName;
    std::string OpenLogPath;
    std::string AddedLogPath;
    std::string FicToUpdate;
    std::string FicToMerge;

    // Hand-over between the merge and whoever settles a conflict.
    int ConflictField = 0;
    int ConflictRecord = 0;
    std::string ChosenValue;

    // Where the program's own files are read and written.
    std::filesystem::path programFolder;

private:
    std::vector<Record> records_{Record{}};
};

}  // namespace logweave
