#pragma once
// The files a merge writes as it goes: the merged log "Logweave.adi", its
// contact list "Logweave.log" and the list of what changed
// "Logweave_Changes.csv", put in place together when the merge ends. Given
// two threads, the files are written on the second while the merge goes on:
// adding a log of a million records to another took 0.84 times as long.

#include "batch_hand_off.h"
#include "logweave/session.h"
#include "logweave/standard_fields.h"
#include "merging/changes_file.h"
#include "merging/contact_identity.h"
#include "merging/record_merger.h"
#include "progress_meter.h"
#include "writing/contact_line.h"
#include "writing/streamed_text.h"
#include "writing/write_record.h"

#include <memory>

namespace logweave {

class MergedOutput {
public:
    // Files of `fields`, whose standard ones are `standard`, written in `form`
    // under `header`, from `records` open and added records.
    MergedOutput(const Session& session, const FieldTable& fields, const StandardFields& standard,
                 const OutputForm& form, std::string_view header, std::uint64_t records);

    // An open record, as it stands.
    void writeOpen(const Record& record);
    // A contact the open log did not have.
    void writeAdded(const Record& record);
    // Two records of one contact: the open one where nothing changed, else
    // the merged fields, which are taken; `merged` is then to be cleared.
    void writeMerged(const Record& open, MergedFields&& merged);
    // Every file in place, or none changed.
    void commit();

    long long addedRows() const noexcept { return addedRows_; }
    long long changedValues() const noexcept { return changedValues_; }

private:
    // Records to write, in order; a merged one's fields are the next of `merged`.
    struct Batch {
        enum class Kind : std::uint8_t { Open, Added, Merged };
        struct Item {
            Kind kind;
            const Record* record;  // the open one of a merged record
        };
        std::vector<Item> items;
        std::vector<MergedFields> merged;  // kept for reuse: only the first `mergedCount` are the batch's
        std::size_t mergedCount = 0;
    };

    void add(Batch::Kind kind, const Record& record);
    void format(Batch& batch);
    template <typename Fields>
    void writeLines(const Fields& fields);
    void writeMergedLines(const Record& open, const MergedFields& merged);

    const FieldTable& fields_;
    const OutputForm& form_;
    ContactFields contact_;
    ContactLineWriter contactLines_;
    std::unique_ptr<FileBatch> files_;
    StreamedText adif_;
    StreamedText contacts_;
    ChangesFile changes_;
    OutputNames names_;
    ProgressMeter meter_;
    std::uint64_t recordsDone_ = 0;
    long long addedRows_ = 0;
    long long changedValues_ = 0;
    Batch batches_[2];
    BatchHandOff handOff_;  // last: its thread works on all the above
};

}  // namespace logweave
