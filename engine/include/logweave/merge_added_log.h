#pragma once

#include "logweave/outcome.h"
#include "logweave/session.h"
#include "logweave/write_record.h"

#include <map>
#include <string>
#include <string_view>

namespace logweave {

struct MergeCounts {
    long long processed = 0;
    long long added = 0;
    long long identical = 0;
    long long different = 0;
};

// Fields whose conflicts the user chose to settle the same way until the end
// of the merge, and how many were so settled.
struct SameChoices {
    std::map<int, ConflictSide> side;
    std::map<int, long long> settled;
};

// Merges the log at `path` into the open log, contact by contact (a contact
// is its QSO_DATE and TIME_ON), asking the user where two records of one
// contact hold different values. Writes "Logweave.adi" and the contact list
// "Logweave.log"; the merged log becomes the open log. A merge that stops
// leaves both files and the store as they were.
Outcome MergeAddedLog(Session& session, std::string_view path);

// The fields of record 0 merged with those of `openRecord`, in field-table order.
void WriteMergedRecord(Session& session, std::string& out, OutputNames& names, int openRecord, SameChoices& same);

// One line of the contact list: 13 comma-separated columns.
void WriteContactLine(std::string& out, const LogStore& store, int record);

}  // namespace logweave
