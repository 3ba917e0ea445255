#include "logweave/operations.h"

#include "logweave/pane_texts.h"
#include "logweave/text.h"
#include "reading/log_reader.h"
#include "reading/reading_from.h"
#include "progress_meter.h"
#include "reporting_stops.h"
#include "side_by_side.h"
#include "writing/field_order.h"
#include "writing/streamed_text.h"
#include "writing/write_record.h"
#include "writing/write_records.h"

namespace logweave {
namespace {

std::string adifCodes(const FieldTable& fields, bool upperCase)
{
    std::string out;
    for (int i = 1; i <= fields.count(); ++i)
        out.append(outputFieldName(fields, i, upperCase)).append(kCrLf);
    out += kCrLf;
    for (int i = 1; i <= fields.count(); ++i)
        out.append(fields.sortedName(i)).append(kCrLf);
    return out;
}

// The first record whose date and time come before those of the record above it.
long long firstOutOfOrder(const LogStore& store)
{
    const int d = store.standardFields().qsoDate;
    const int t = store.standardFields().timeOn;
    for (long long r = 2; r <= store.openRecordCount(); ++r) {
        const auto date = store.fieldValue(d, r);
        const auto before = store.fieldValue(d, r - 1);
        if (date < before || (date == before && store.fieldValue(t, r) < store.fieldValue(t, r - 1)))
            return r;
    }
    return 0;
}

// The tidy copy and its field names, written but not yet in place.
std::unique_ptr<FileBatch> writeAdifFile(const Session& session, const OpenedLog& opened, const OutputForm& form)
{
    auto batch = session.files.writeFiles({session.programFolder / "Adif_File.adi",
                                           session.programFolder / "AdifCodes.txt"});
    StreamedText adif(batch->file(0));
    if (!opened.header.empty())
        writeHeaderLine(adif.text(), form, opened.header);
    ProgressMeter meter(session.ui, Phase::Writing, opened.log.size());
    const auto formatter = [&opened, &form]() -> RecordFormatter {
        return [&opened, &form, names = OutputNames(opened.fields, form.upperCaseNames)](
                   std::size_t r, std::span<std::string* const> texts) mutable {
            writeRecord(*texts[0], opened.log[r], names);
            writeRecordEnd(*texts[0], form);
            return std::size_t{0};
        };
    };
    StreamedText* const files[] = {&adif};
    writeRecords(files, opened.log.size(), piecesFor(opened.log.text().size(), session.threads), formatter,
                 [&meter](std::size_t written) { meter.advanceTo(written); });
    adif.finish();
    batch->file(1).write(adifCodes(opened.fields, form.upperCaseNames));
    stopIfCancelled(session.ui);
    return batch;
}

TextEnd readLog(LogStore& store, const Session& session, FileReader& reader, std::string_view path,
                const OutputForm& form, FieldTable fields, std::unique_ptr<FileBatch>* tidyCopy)
{
    LogFile file = readLogFile(session, reader, pane::fileRead(path), fields, form.endOfHeader);
    const TextEnd end = file.endsAfterARecord ? TextEnd::AfterARecord : TextEnd::InARecord;
    OpenedLog opened{std::move(file.log), std::move(fields), {}, file.header.value_or(""), std::string(path)};
    opened.standard = findStandardFields(opened.fields);
    auto written = writeAdifFile(session, opened, form);
    if (tidyCopy != nullptr)
        *tidyCopy = std::move(written);
    else
        written->commit();
    store.open(std::move(opened));
    if (const long long r = firstOutOfOrder(store); r != 0)
        session.ui.appendToPane(pane::outOfOrder(r));
    session.ui.appendToPane(pane::recordsProcessed(store.openRecordCount()));
    return end;
}

}  // namespace

std::optional<TextEnd> readOpenLogFrom(LogStore& store, const Session& session, FileReader& file, std::string_view path,
                                       const OutputForm& form, FieldTable fields, std::unique_ptr<FileBatch>* tidyCopy)
{
    // Nothing of an earlier log leaks into this one. A cancelled reading puts
    // it back; one that stops leaves no log open.
    LogStore earlier = store.takeForCancel();
    store.close(fields);
    auto end = reportingStops(session.ui, path, [&] { return readLog(store, session, file, path, form, std::move(fields), tidyCopy); });
    if (!end && session.ui.cancelRequested())
        store = std::move(earlier);
    return end;
}

Outcome readOpenLog(LogStore& store, const Session& session, std::string_view path, const OutputOptions& options)
{
    std::optional<FieldTable> listed;
    if (!options.fieldOrderFile.empty())
        listed = loadFieldOrder(session, options.fieldOrderFile);
    FieldTable fields = listed ? std::move(*listed) : store.fields();
    auto opened = reportingStops(session.ui, path, [&] { return session.files.openForReading(pathFromBytes(path)); });
    if (!opened) {
        store.close(std::move(fields));
        return Outcome::Stopped;
    }
    return readOpenLogFrom(store, session, **opened, path, OutputForm::of(options), std::move(fields))
        ? Outcome::Done
        : Outcome::Stopped;
}

}  // namespace logweave
