#pragma once
// "Logweave_Changes.csv": what a merge did to the open log, one row a change,
// in RFC 4180 form (CR LF line ends, a field quoted only when it has to be).
// It is written as the merge goes, as one file of the merge's batch.

#include "logweave/change_list.h"
#include "logweave/file_system.h"
#include "writing/streamed_text.h"

#include <string_view>

namespace logweave {

// The contact a row is about, its values as its record holds them.
struct ChangedContact {
    std::string_view qsoDate;
    std::string_view timeOn;
    std::string_view call;
    std::string_view band;
    std::string_view mode;
};

class ChangesFile {
public:
    // Starts with the header row.
    explicit ChangesFile(FileWriter& file);

    // A record the open log did not have.
    void added(const ChangedContact& contact);
    // A field whose two values differ, and the value the merged record got.
    void differs(const ChangedContact& contact, std::string_view field, std::string_view openValue,
                 std::string_view addedValue, std::string_view keptValue);
    // Hands the last rows to the file: before the batch is committed.
    void finish();

private:
    void startRow(std::string_view change, const ChangedContact& contact);
    void endRow();

    StreamedText text_;
};

}  // namespace logweave
