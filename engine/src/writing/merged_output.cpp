#include "writing/merged_output.h"

namespace logweave {
namespace {

std::vector<std::filesystem::path> mergeFiles(const LogStore& store)
{
    return {store.programFolder / "Logweave.adi", store.programFolder / "Logweave.log"};
}

}  // namespace

MergedOutput::MergedOutput(Session& session, std::string_view header)
    : store_(session.store), files_(session.files.writeFiles(mergeFiles(session.store))),
      adif_(files_->file(0)), contacts_(files_->file(1)),
      names_(session.store.fields, session.ui.outputOptions().upperCaseNames)
{
    writeHeaderLine(adif_.text(), store_, header);
}

// A record is written from its own values, not a copy of them: most records
// of a merge are written as they stand.
template <typename Fields>
void MergedOutput::writeLines(const Fields& fields)
{
    writeRecord(adif_.text(), fields, names_);
    writeRecordEnd(adif_.text(), store_);
    adif_.recordDone();
    writeContactLine(contacts_.text(), store_.standard, fields);
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
