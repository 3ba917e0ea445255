#pragma once
// The two files a merge writes as it goes: the merged log "Logweave.adi" and
// its contact list "Logweave.log", put in place together when the merge ends.

#include "logweave/session.h"
#include "logweave/write_record.h"
#include "writing/streamed_text.h"

#include <memory>
#include <span>

namespace logweave {

class MergedOutput {
public:
    MergedOutput(Session& session, std::string_view header);

    void write(const Record& record);
    void write(std::span<const FieldText> fields);
    // Both files in place, or neither changed.
    void commit();

private:
    template <typename Fields>
    void writeLines(const Fields& fields);

    LogStore& store_;
    std::unique_ptr<FileBatch> files_;
    StreamedText adif_;
    StreamedText contacts_;
    OutputNames names_;
};

// One line of the contact list: 13 comma-separated columns.
void writeContactLine(std::string& out, const StandardFields& idx, std::span<const FieldText> fields);
void writeContactLine(std::string& out, const StandardFields& idx, const Record& record);

}  // namespace logweave
