#include "writing/merged_output.h"

#include "writing/contact_line.h"

namespace logweave {
namespace {

std::vector<std::filesystem::path> mergeFiles(const Session& session)
{
    return {session.programFolder / "Logweave.adi", session.programFolder / "Logweave.log"};
}

}  // namespace

MergedOutput::MergedOutput(const Session& session, const FieldTable& fields, const StandardFields& standard,
                           const OutputForm& form, std::string_view header)
    : standard_(standard), form_(form), files_(session.files.writeFiles(mergeFiles(session))),
      adif_(files_->file(0)), contacts_(files_->file(1)), names_(fields, form.upperCaseNames)
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

void MergedOutput::write(const Record& record)
{
    writeLines(record);
}

void MergedOutput::write(std::span<const FieldText> fields)
{
    writeLines(fields);
}

void MergedOutput::commit()
{
    adif_.finish();
    contacts_.finish();
    files_->commit();
}

}  // namespace logweave
