#include "merging/merged_output.h"

namespace logweave {
namespace {

// A few MiB of text: a hand-off costs little beside it.
constexpr std::size_t kBatch = 8192;

std::vector<std::filesystem::path> mergeFiles(const Session& session)
{
    return {session.programFolder / "Logweave.adi", session.programFolder / "Logweave.log",
            session.programFolder / kChangesFileName};
}

}  // namespace

MergedOutput::MergedOutput(const Session& session, const FieldTable& fields, const StandardFields& standard,
                           const OutputForm& form, std::string_view header, std::uint64_t records)
    : fields_(fields), form_(form), contact_(fields), contactLines_(standard),
      files_(session.files.writeFiles(mergeFiles(session))), adif_(files_->file(0)), contacts_(files_->file(1)),
      changes_(files_->file(2)), names_(fields, form.upperCaseNames), meter_(session.ui, Phase::Merging, records),
      handOff_(session.threads, [this](std::size_t batch) { format(batches_[batch]); })
{
    writeHeaderLine(adif_.text(), form_, header);
    for (Batch& batch : batches_)
        batch.items.reserve(kBatch);
}

void MergedOutput::writeOpen(const Record& record)
{
    add(Batch::Kind::Open, record);
    meter_.advanceTo(++recordsDone_);
}

void MergedOutput::writeAdded(const Record& record)
{
    add(Batch::Kind::Added, record);
    ++addedRows_;
    meter_.advanceTo(++recordsDone_);
}

void MergedOutput::writeMerged(const Record& open, MergedFields&& merged)
{
    recordsDone_ += 2;
    meter_.advanceTo(recordsDone_);
    if (merged.changes.empty()) {
        add(Batch::Kind::Open, open);
        return;
    }
    changedValues_ += static_cast<long long>(merged.changes.size());
    Batch& batch = batches_[handOff_.filling()];
    if (batch.mergedCount == batch.merged.size())
        batch.merged.emplace_back();
    // A swap: what the batch held before goes back, to be cleared.
    std::swap(batch.merged[batch.mergedCount++], merged);
    add(Batch::Kind::Merged, open);
}

void MergedOutput::add(Batch::Kind kind, const Record& record)
{
    Batch& batch = batches_[handOff_.filling()];
    batch.items.push_back({kind, &record});
    if (batch.items.size() == kBatch)
        handOff_.handOff();
}

void MergedOutput::format(Batch& batch)
{
    std::size_t m = 0;
    for (const Batch::Item& item : batch.items) {
        const Record& record = *item.record;
        switch (item.kind) {
        case Batch::Kind::Open:
            writeLines(record);
            break;
        case Batch::Kind::Added:
            writeLines(record);
            changes_.added(contact_.columnsOf(record));
            break;
        case Batch::Kind::Merged:
            writeMergedLines(record, batch.merged[m++]);
            break;
        }
    }
    batch.items.clear();
    batch.mergedCount = 0;
}

// A record is written from its own values, not a copy of them: most records
// of a merge are written as they stand.
template <typename Fields>
void MergedOutput::writeLines(const Fields& fields)
{
    writeRecord(adif_.text(), fields, names_);
    writeRecordEnd(adif_.text(), form_);
    adif_.recordDone();
    contactLines_.write(contacts_.text(), fields);
    contacts_.recordDone();
}

void MergedOutput::writeMergedLines(const Record& open, const MergedFields& merged)
{
    writeLines(std::span<const FieldText>(merged.fields));
    const ChangedContact contact = contact_.columnsOf(open);
    for (const FieldChange& change : merged.changes)
        changes_.differs(contact, outputFieldName(fields_, change.field, form_.upperCaseNames), change.open,
                         change.added, change.kept);
}

void MergedOutput::commit()
{
    handOff_.handOff();
    handOff_.finish();
    adif_.finish();
    contacts_.finish();
    changes_.finish();
    files_->commit();
}

}  // namespace logweave
