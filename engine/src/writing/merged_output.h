#pragma once
// The two files a merge writes as it goes: the merged log "Logweave.adi" and
// its contact list "Logweave.log", put in place together when the merge ends.

#include "logweave/session.h"
#include "logweave/standard_fields.h"
#include "writing/streamed_text.h"
#include "writing/write_record.h"

#include <memory>
#include <span>

namespace logweave {

class MergedOutput {
public:
    // Files of `fields`, whose standard ones are `standard`, written in `form` under `header`.
    MergedOutput(const Session& session, const FieldTable& fields, const StandardFields& standard,
                 const OutputForm& form, std::string_view header);

    void write(const Record& record);
    void write(std::span<const FieldText> fields);
    // Both files in place, or neither changed.
    void commit();

private:
    template <typename Fields>
    void writeLines(const Fields& fields);

    const StandardFields& standard_;
    const OutputForm& form_;
    std::unique_ptr<FileBatch> files_;
    StreamedText adif_;
    StreamedText contacts_;
    OutputNames names_;
};

}  // namespace logweave
