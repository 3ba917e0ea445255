#include "merging/merged_output.h"

#include "writing/contact_line.h"

namespace logweave {
namespace {

std::vector<std::filesystem::path> mergeFiles(const Session& session)
{
    return {session.programFolder / "Logweave.adi", session.programFolder / "Logweave.log",
            session.programFolder / kChangesFileName};
}

}  // namespace

MergedOutput::MergedOutput(const Session& session, const FieldTable& fields, const StandardFields& standard,
                           const OutputForm& form, std::string_view header, std::uint64_t records)
    : fields_(fields), standard_(standard), form_(form), contact_(fields),
      files_(session.files.writeFiles(mergeFiles(session))), adif_(files_->file(0)), contacts_(files_->file(1)),
      changes_(files_->file(2)), names_(fields, form.upperCaseNames), meter_(session.ui, Phase::Merging, records)
{
    writeHeaderLine(adif_.text(), form_, header);
}

// A record is written from its own values, not a copy of them: most records
// of a merge are written as they stand.
template <typename Fields>
void MergedOutput::writeLines(const Fields& fields)
{
    writeRecord(adif_.text(), fields, names_);
    writeRecordEnd(adif_.text(), form_);
    adif_.recordDone();
    writeContactLine(contacts_.text(), standard_, fields);
    contacts_.recordDone();
}

void MergedOutput::writeOpen(const Record& record)
{
    writeLines(record);
    meter_.advanceTo(++recordsDone_);
}

void MergedOutput::writeAdded(const Record& record)
{
    writeLines(record);
    changes_.added(contact_.columnsOf(record));
    ++addedRows_;
    meter_.advanceTo(++recordsDone_);
}

void MergedOutput::writeMerged(const Record& open, const MergedFields& merged)
{
    recordsDone_ += 2;
    meter_.advanceTo(recordsDone_);
    if (merged.changes.empty()) {
        writeLines(open);
        return;
    }
    writeLines(std::span<const FieldText>(merged.fields));
    const ChangedContact contact = contact_.columnsOf(open);
    for (const FieldChange& change : merged.changes)
        changes_.differs(contact, outputFieldName(fields_, change.field, form_.upperCaseNames), change.open,
                         change.added, change.kept);
    changedValues_ += static_cast<long long>(merged.changes.size());
}

void MergedOutput::commit()
{
    adif_.finish();
    contacts_.finish();
    changes_.finish();
    files_->commit();
}

}  // namespace logweave
